#pragma once

#include "forms/controls/FieldFocus.h"

#include <QComboBox>
#include <QStringList>

namespace vorlu::controls {

// A pick list in drop-down-list style: the field only ever shows one of its items, nothing can
// be typed freely. Typing letters selects the first item that starts with the letters typed so
// far (without regard to case); a letter that no item continues starts over from that letter;
// Backspace takes the last letter back. The list drops down on request (a click, Alt+Down, F4).
//
// A value the program sets that is none of the items (another module wrote it) is shown and
// read back unchanged, as an extra item at the top of the list until the next value is set; a
// value that is an item padded with trailing blanks (a CHAR column) shows as that item.
class PickList : public QComboBox {
    Q_OBJECT
public:
    explicit PickList(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    // The list's own items (without a foreign value).
    QStringList items() const;

    // The value shown: the current item, or the empty text when none is.
    QString text() const;
    // The program's value (see above); the empty text clears the field: the empty item where the
    // list has one, otherwise no item.
    void setText(const QString& value);
    // Whether the value shown is a foreign one, kept as the program set it.
    bool holdsForeignValue() const;

    // A read-only field takes no keys, wheel turns or drop-downs.
    void setReadOnly(bool on) { readOnly_ = on; }
    bool isReadOnly() const { return readOnly_; }

    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return alignment_; }

    // The letters typed so far.
    QString typedPrefix() const { return typed_; }
    bool isInside() const { return focus_.inside(); }

    void showPopup() override;

signals:
    void entered();
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void typeAhead(const QString& typed);
    int firstStartingWith(const QString& prefix) const;
    void choose(int index);
    int foreignIndex() const;

    bool readOnly_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QString typed_;
    FieldFocus focus_;
};

} // namespace vorlu::controls
