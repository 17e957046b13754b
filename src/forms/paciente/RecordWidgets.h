#pragma once

#include <QColor>
#include <QWidget>

namespace vorlu::forms::paciente {

// A hidden component that only holds a colour (`CorAtiva1`, `CorAtiva2`, `CorInaAtiva`): never
// shown, never focused; the screen reads its selected colour.
class ColorHolder final : public QWidget {
    Q_OBJECT
public:
    ColorHolder(const QString& name, const QColor& colour, QWidget* parent);

    QColor SelectedColor() const { return colour_; }
    void setSelectedColor(const QColor& colour) { colour_ = colour; }

private:
    QColor colour_;
};

// Read-only for every kind of field on the screen (line fields, pick lists, memos).
void setFieldReadOnly(QWidget* field, bool on);
bool isFieldReadOnly(const QWidget* field);

// A rectangle shape with a 2-pixel black frame along the inside of its edges.
class FrameShape final : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vorlu::forms::paciente
