#pragma once

#include <string>
#include <string_view>

namespace vorlu::data {

// Text travels to and from the database as single-byte Windows-1252, the encoding the other
// modules of the system read and write. The program itself works in UTF-8.

// Converts UTF-8 to Windows-1252. A character Windows-1252 cannot hold raises DataError
// (never a silent question mark); so does malformed UTF-8.
std::string toWin1252(std::string_view utf8);

// Converts Windows-1252 to UTF-8. The five bytes Windows-1252 leaves undefined come back as
// the C1 control characters of the same code, so no byte is ever lost.
std::string fromWin1252(std::string_view win1252);

} // namespace vorlu::data
