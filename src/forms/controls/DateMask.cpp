#include "forms/controls/DateMask.h"

#include <cmath>

namespace vorlu::controls {

namespace {
const QDate kDayZero(1899, 12, 30);
}

DateMask DateMask::fromFormat(const QString& format)
{
    DateMask mask;
    bool seen[3] = {false, false, false};
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format[i];
        if (ch == u'\'') {
            if (i + 1 < format.size() && format[i + 1] == u'\'') {
                mask.layout_ += u'\'';
                ++i;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        if (quoted || (ch != u'd' && ch != u'M' && ch != u'y')) {
            mask.layout_ += ch;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == ch)
            ++run;
        i += run - 1;
        const int slot = ch == u'd' ? 0 : ch == u'M' ? 1 : 2;
        if (seen[slot] || (ch == u'd' && run > 2)) // a second field or a weekday name
            return fromFormat(QStringLiteral("dd/MM/yyyy"));
        seen[slot] = true;
        const int width = ch == u'y' ? 4 : 2;
        mask.parts_.append({char(ch.unicode()), int(mask.layout_.size()), width});
        mask.layout_ += QString(width, u'#');
    }
    if (!(seen[0] && seen[1] && seen[2]))
        return fromFormat(QStringLiteral("dd/MM/yyyy"));
    return mask;
}

DateMask DateMask::fromLocale(const QLocale& locale)
{
    return fromFormat(locale.dateFormat(QLocale::ShortFormat));
}

QString DateMask::editMask() const
{
    QString mask;
    for (QChar ch : layout_) {
        if (ch == u'#') {
            mask += u'9';
        } else {
            mask += u'\\';
            mask += ch;
        }
    }
    return mask + QStringLiteral(";1;_");
}

QString DateMask::format(QDate date) const
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return QString();
    QString text = layout_;
    for (const Part& part : parts_) {
        const int value = part.field == 'd' ? date.day() : part.field == 'M' ? date.month() : date.year();
        text.replace(part.start, part.width, QStringLiteral("%1").arg(value, part.width, 10, QChar(u'0')));
    }
    return text;
}

QDate DateMask::parse(const QString& text) const
{
    if (text.size() != layout_.size())
        return QDate();
    int values[3] = {0, 0, 0};
    for (const Part& part : parts_) {
        const QString digits = text.mid(part.start, part.width);
        int value = 0;
        for (QChar ch : digits) {
            if (ch < u'0' || ch > u'9')
                return QDate(); // a position left blank
            value = value * 10 + (ch.unicode() - u'0');
        }
        values[part.field == 'd' ? 0 : part.field == 'M' ? 1 : 2] = value;
    }
    // QDate refuses the year 0, the 31st of February and the 13th month alike.
    return QDate(values[2], values[1], values[0]);
}

data::DateTime dateTimeFromDate(QDate date)
{
    return date.isValid() ? static_cast<data::DateTime>(kDayZero.daysTo(date)) : 0.0;
}

QDate dateFromDateTime(data::DateTime value)
{
    if (value == 0 || !std::isfinite(value) || std::fabs(value) > 4e6)
        return QDate();
    // The date part of a negative date-time is its integral part too (-1.5 is noon of
    // 29 December 1899), so truncation serves both sides.
    return kDayZero.addDays(static_cast<qint64>(value));
}

} // namespace vorlu::controls
