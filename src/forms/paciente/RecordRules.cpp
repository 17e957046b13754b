#include "forms/paciente/RecordRules.h"

#include "data/DatabaseError.h"
#include "data/Win1252.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vorlu::forms::paciente {

CalendarDate calendarDate(data::DateTime value)
{
    // Days since 30 December 1899 to days since 1 March of year 0 (civil calendar).
    const long long days = static_cast<long long>(value) - 25569 + 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

std::int32_t ageInWholeYears(data::DateTime birth, data::DateTime reference)
{
    if (birth == 0)
        return 0;
    const CalendarDate born = calendarDate(birth);
    const CalendarDate now = calendarDate(reference);
    const std::int32_t years = now.year - born.year;
    if (now.month > born.month)
        return years;
    if (now.month < born.month)
        return years - 1;
    return now.day >= born.day ? years : years - 1;
}

std::int32_t StrToInt(std::string_view text)
{
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ')
        digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw IntegerConversionError("'" + std::string(text) + "' não é um valor Inteiro válido");
    return value;
}

std::string numberParameterText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

// The length in bytes of the UTF-8 sequence that starts with `lead`.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

std::optional<std::string> columnTextProblem(std::string_view utf8, int width, std::string_view fieldName)
{
    const std::string field(fieldName);
    std::size_t characters = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = std::min(sequenceLength(static_cast<unsigned char>(utf8[at])), utf8.size() - at);
        const std::string_view character = utf8.substr(at, length);
        if (length > 1) {
            try {
                (void)data::toWin1252(character);
            } catch (const data::DataError&) {
                return "O caractere \"" + std::string(character) + "\" do campo " + field
                    + " não pode ser gravado no Banco de Dados; apague-o ou troque-o por outro";
            }
        }
        ++characters;
        at += length;
    }
    // Windows-1252 holds one character in one byte, so the column's width counts characters.
    if (width > 0 && characters > static_cast<std::size_t>(width))
        return "O campo " + field + " aceita no máximo " + std::to_string(width) + " caracteres e o texto informado tem "
            + std::to_string(characters) + "; encurte-o para gravar";
    return std::nullopt;
}

bool isConnectionLoss(const data::DatabaseError& error)
{
    constexpr std::intptr_t kLost[] = {
        335544721, // isc_network_error
        335544726, // isc_net_read_err
        335544727, // isc_net_write_err
        335544741, // isc_lost_db_connection
        335544648, // isc_conn_lost
        335544528, // isc_shutdown
        335544856, // isc_att_shutdown
    };
    for (std::intptr_t code : kLost) {
        if (error.hasGdsCode(code))
            return true;
    }
    return false;
}

} // namespace vorlu::forms::paciente
