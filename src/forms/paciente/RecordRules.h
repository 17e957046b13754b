#pragma once

#include "data/DateTime.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlu::data {
class DatabaseError;
}

namespace vorlu::forms::paciente {

// Whole years from the birth date to the reference date, by calendar month and day (times of
// day play no part); 0 for a birth date of exactly 0. A birth after the reference is negative.
std::int32_t ageInWholeYears(data::DateTime birth, data::DateTime reference);

// The calendar date of a date-time's day part.
struct CalendarDate {
    int year;
    int month;
    int day;
};
CalendarDate calendarDate(data::DateTime value);

// A text that is not a whole number where one is required.
class IntegerConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The code field's text as a 32-bit whole number: leading blanks and one sign allowed.
// Anything else fails with "'<text>' não é um valor Inteiro válido".
std::int32_t StrToInt(std::string_view text);

// A number as the server reads it back exactly: a full stop for the decimals, the shortest
// digits that give the same double.
std::string numberParameterText(double value);

// A text the database cannot take: too long for its column, or with a character that
// Windows-1252 cannot hold. The text names the field, so the user knows what to correct.
class FieldTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why the text cannot be stored in a column `width` characters wide (0: no limit), or nothing
// when it can. `fieldName` is the field's label as the user sees it.
std::optional<std::string> columnTextProblem(std::string_view utf8, int width, std::string_view fieldName);

// The failures that mean the server or the network is gone: the connection's transaction died
// with it at the server, and nothing this workstation held pending survives.
bool isConnectionLoss(const data::DatabaseError& error);

} // namespace vorlu::forms::paciente
