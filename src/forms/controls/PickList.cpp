#include "forms/controls/PickList.h"

#include "forms/controls/Beep.h"
#include "forms/controls/LineField.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace vorlu::controls {

namespace {
// Marks the extra item that holds a foreign value.
constexpr int kForeignRole = Qt::UserRole + 1;

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}
} // namespace

PickList::PickList(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    // The city list is long; the width comes from the screen's layout, not from the items.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(1);
}

void PickList::setItems(const QStringList& items)
{
    clear();
    addItems(items);
    setCurrentIndex(-1);
    typed_.clear();
}

QStringList PickList::items() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i) {
        if (!itemData(i, kForeignRole).toBool())
            list << itemText(i);
    }
    return list;
}

QString PickList::text() const
{
    return currentIndex() < 0 ? QString() : currentText();
}

int PickList::foreignIndex() const
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, kForeignRole).toBool())
            return i;
    }
    return -1;
}

bool PickList::holdsForeignValue() const
{
    return currentIndex() >= 0 && currentIndex() == foreignIndex();
}

void PickList::setText(const QString& value)
{
    typed_.clear();
    if (const int old = foreignIndex(); old >= 0)
        removeItem(old);
    int index = findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = findText(withoutTrailingBlanks(value), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && withoutTrailingBlanks(value).isEmpty()) {
        setCurrentIndex(-1); // a list without an empty item: no item at all
        return;
    }
    if (index < 0) {
        insertItem(0, value);
        setItemData(0, true, kForeignRole);
        index = 0;
    }
    setCurrentIndex(index);
}

void PickList::setAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

int PickList::firstStartingWith(const QString& prefix) const
{
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void PickList::choose(int index)
{
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    emit activated(index);
    emit textActivated(itemText(index));
}

void PickList::typeAhead(const QString& typed)
{
    for (QChar ch : typed) {
        int index = firstStartingWith(typed_ + ch);
        if (index >= 0) {
            typed_ += ch;
        } else if (index = firstStartingWith(QString(ch)); index >= 0) {
            typed_ = QString(ch);
        } else {
            beep();
            continue;
        }
        choose(index);
    }
}

void PickList::showPopup()
{
    if (readOnly_)
        return;
    typed_.clear(); // a choice from the list starts the typing over
    QComboBox::showPopup();
}

void PickList::keyPressEvent(QKeyEvent* event)
{
    if (readOnly_) {
        event->ignore();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool shortcut = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    if (!shortcut && isTypedText(event->text())) {
        typeAhead(event->text());
        return;
    }
    if (event->key() == Qt::Key_Backspace && !shortcut) {
        if (!typed_.isEmpty()) {
            typed_.chop(1);
            if (!typed_.isEmpty())
                choose(firstStartingWith(typed_));
        }
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: typed_.clear(); break;
    default: break;
    }
    QComboBox::keyPressEvent(event);
}

void PickList::wheelEvent(QWheelEvent* event)
{
    if (readOnly_) {
        event->ignore();
        return;
    }
    typed_.clear();
    QComboBox::wheelEvent(event);
}

void PickList::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    if (focus_.enter(*event)) {
        typed_.clear();
        emit entered();
    }
}

void PickList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (focus_.leaving(*event, *this)) {
        focus_.left();
        emit exited();
    }
}

void PickList::paintEvent(QPaintEvent* event)
{
    if ((alignment_ & Qt::AlignHorizontal_Mask) == Qt::AlignLeft) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QString shown = fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
    style()->drawItemText(&painter, field, int(alignment_ | Qt::AlignVCenter), option.palette, isEnabled(), shown,
                          QPalette::ButtonText);
}

} // namespace vorlu::controls
