#pragma once

namespace vorlu::data {

// The program's date-time: days since 30 December 1899 at midnight, the fraction being the
// time of day. 0 means "no date".
using DateTime = double;

// Firebird's calendar: ISC_DATE counts days since 17 November 1858; ISC_TIME counts
// ten-thousandths of a second since midnight.
inline constexpr int kIscDateOf18991230 = 15018;
inline constexpr double kIscTimeUnitsPerDay = 86400.0 * 10000.0;

inline int iscDateFromDateTime(DateTime value)
{
    // Only the calendar date is sent. The date part of a negative date-time is also its
    // integral part (-1.5 is noon of 29 December 1899), so truncation is right on both sides.
    return static_cast<int>(static_cast<long long>(value)) + kIscDateOf18991230;
}

inline DateTime dateTimeFromIsc(int iscDate, unsigned iscTime = 0)
{
    return static_cast<double>(iscDate - kIscDateOf18991230) + iscTime / kIscTimeUnitsPerDay;
}

} // namespace vorlu::data
