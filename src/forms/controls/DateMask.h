#pragma once

#include "data/DateTime.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

namespace vorlu::controls {

// The layout of a date field: the day, month and year in the order of a date format, with its
// separators, the day and month in two digits and the year in four.
class DateMask {
public:
    // From a Qt date format ("dd/MM/yyyy", "M/d/yy", "dd.MM.yy"). A format that does not name a
    // day, a month and a year once each gives the Brazilian layout.
    static DateMask fromFormat(const QString& format);
    // From the locale's short date format.
    static DateMask fromLocale(const QLocale& locale = QLocale());

    // The edit mask: optional digits, so that leaving a half-typed date is not refused.
    QString editMask() const;
    // "15/03/2024"; the empty text for a date the layout cannot show (years outside 1 to 9999).
    QString format(QDate date) const;
    // The date a field's text names: invalid when a digit is missing or the date is impossible.
    QDate parse(const QString& text) const;

private:
    struct Part {
        char field; // 'd', 'M' or 'y'
        int start;
        int width;
    };
    QString layout_; // separators in place, '#' where a digit goes
    QList<Part> parts_;
};

// The program's date-time and calendar dates: days since 30 December 1899.
data::DateTime dateTimeFromDate(QDate date);
// The calendar date of a date-time (its time of day dropped); invalid for 0, the null date.
QDate dateFromDateTime(data::DateTime value);

} // namespace vorlu::controls
