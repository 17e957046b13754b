#pragma once

#include "data/DateTime.h"
#include "forms/controls/DateMask.h"
#include "forms/controls/MaskEdit.h"

class QCalendarWidget;
class QFrame;
class QToolButton;

namespace vorlu::controls {

// A date field: a masked text in the order of the locale's short date format with a four-digit
// year (Brazilian "DD/MM/YYYY"), and a button, Alt+Down or F4 dropping down a calendar. Its date
// is its text read with that layout: an empty, incomplete or impossible date reads as 0, the
// null date; setting 0 shows the empty field. Leaving the field does not check the date. In a
// read-only field the calendar does not drop down.
class DateEdit : public MaskEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    data::DateTime date() const;
    void setDate(data::DateTime value);

    const DateMask& dateMask() const { return dateMask_; }

    // Drops the calendar down on the field's date (today when it has none). Choosing a day puts
    // it into the field as the user's change and closes the calendar; Esc closes it unchanged.
    void showCalendar();
    bool isCalendarVisible() const;
    // The calendar and its button, created with the field.
    QCalendarWidget* calendar() const { return calendar_; }
    QToolButton* calendarButton() const { return button_; }

protected:
    bool editKey(QKeyEvent& key) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void chooseDate(QDate date);
    void placeButton();

    DateMask dateMask_;
    QToolButton* button_;
    QFrame* popup_;
    QCalendarWidget* calendar_;
};

} // namespace vorlu::controls
