#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlu::forms {

// The statement the search dialog's list opens when the dialog is created: it lists the patients
// with code 0, normally none.
inline constexpr const char* kEmptySearchStatement = "SELECT * FROM PACIENTES WHERE PAC_COD__ = 0;";

// Whether the search text holds nothing but blanks and control characters; such a text lists
// every patient.
bool isBlankSearch(std::string_view text);

// The text with every apostrophe doubled, so that it stays inside a quoted pattern. Nothing else
// changes: % and _ keep their meaning as wildcards.
std::string doubledApostrophes(std::string_view text);

// The search statement for the text of the search box (UTF-8, exactly as typed): two lines for a
// blank text, otherwise four, with the untrimmed text spliced into the name pattern (a name
// containing it) and the code pattern (a code whose digits are the whole text). A text with a
// character beyond ASCII compares the code cast to text, which the server can compare with it.
std::vector<std::string> searchStatement(std::string_view text);

} // namespace vorlu::forms
