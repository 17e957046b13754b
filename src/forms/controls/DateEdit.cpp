#include "forms/controls/DateEdit.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorlu::controls {

DateEdit::DateEdit(QWidget* parent)
    : MaskEdit(parent)
    , dateMask_(DateMask::fromLocale(QLocale()))
    , button_(new QToolButton(this))
    , popup_(new QFrame(this, Qt::Popup))
    , calendar_(new QCalendarWidget(popup_))
{
    setEditMask(dateMask_.editMask());

    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    connect(button_, &QToolButton::clicked, this, &DateEdit::showCalendar);

    popup_->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(popup_);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(calendar_);
    calendar_->setLocale(QLocale());
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // A click on a day or Enter on it chooses it; moving with the arrow keys only points.
    connect(calendar_, &QCalendarWidget::clicked, this, &DateEdit::chooseDate);
    connect(calendar_, &QCalendarWidget::activated, this, &DateEdit::chooseDate);
    placeButton();
}

data::DateTime DateEdit::date() const
{
    const QDate date = dateMask_.parse(text());
    return date.isValid() ? dateTimeFromDate(date) : 0.0;
}

void DateEdit::setDate(data::DateTime value)
{
    setText(dateMask_.format(dateFromDateTime(value)));
}

void DateEdit::showCalendar()
{
    if (isReadOnly() || !isEnabled())
        return;
    const QDate shown = dateMask_.parse(text());
    calendar_->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    popup_->adjustSize();
    QPoint place = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (place.y() + popup_->height() > area.bottom())
            place.setY(mapToGlobal(QPoint(0, 0)).y() - popup_->height());
        place.setX(qBound(area.left(), place.x(), area.right() - popup_->width()));
    }
    popup_->move(place);
    popup_->show();
    calendar_->setFocus(Qt::PopupFocusReason);
}

bool DateEdit::isCalendarVisible() const
{
    return popup_->isVisible();
}

void DateEdit::chooseDate(QDate date)
{
    popup_->hide();
    replaceByUser(dateMask_.format(date));
}

bool DateEdit::editKey(QKeyEvent& key)
{
    const bool altArrow = (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up)
        && (key.modifiers() & Qt::AltModifier);
    if (key.key() == Qt::Key_F4 || altArrow) {
        showCalendar();
        return true;
    }
    return MaskEdit::editKey(key);
}

void DateEdit::placeButton()
{
    const int side = qMax(height() - 4, 12);
    button_->setGeometry(width() - side - 2, 2, side, height() - 4);
    setTextMargins(0, 0, side + 2, 0);
}

void DateEdit::resizeEvent(QResizeEvent* event)
{
    MaskEdit::resizeEvent(event);
    placeButton();
}

void DateEdit::changeEvent(QEvent* event)
{
    MaskEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange || event->type() == QEvent::EnabledChange)
        button_->setEnabled(isEnabled() && !isReadOnly());
}

} // namespace vorlu::controls
