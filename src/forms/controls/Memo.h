#pragma once

#include "forms/controls/CharCase.h"
#include "forms/controls/FieldFocus.h"

#include <QPlainTextEdit>

#include <optional>

namespace vorlu::controls {

// A multi-line field: a vertical scroll bar, lines wrapped to the width, Enter starting a new
// line and Tab moving on to the next field. With a `CharCase` other than Normal the letters the
// user types (or pastes) are converted as typed; text set by the program is shown as it is.
//
// text() reads the lines joined with CR LF, the line break the other modules of the system store;
// until the user edits the memo it gives back exactly the text the program set.
class Memo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Memo(QWidget* parent = nullptr);

    void setCharCase(CharCase charCase) { charCase_ = charCase; }
    CharCase charCase() const { return charCase_; }

    QString text() const;
    // Takes CR LF, LF or CR as the line break.
    void setText(const QString& text);
    // Whether the user changed the text since the program last set it.
    bool isModified() const;

    bool isInside() const { return focus_.inside(); }

signals:
    void entered();
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CharCase charCase_ = CharCase::Normal;
    std::optional<QString> programText_;
    FieldFocus focus_;
};

} // namespace vorlu::controls
