#pragma once

#include <string_view>

namespace vorlu::platform {

// The text without the blanks, tabs and carriage returns at either end, as the settings
// files and the system's own description files write them.
inline std::string_view trimBlanks(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace vorlu::platform
