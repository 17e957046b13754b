#include "SearchStatement.h"

#include <algorithm>

namespace vorlu::forms {

bool isBlankSearch(std::string_view text)
{
    // Blanks and control characters are the bytes up to the blank; UTF-8 sequences are above it.
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string doubledApostrophes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

std::vector<std::string> searchStatement(std::string_view text)
{
    std::vector<std::string> lines;
    lines.emplace_back("SELECT PAC_COD__, PAC_NOM__ FROM PACIENTES");
    if (!isBlankSearch(text)) {
        const std::string pattern = doubledApostrophes(text);
        lines.push_back("WHERE PAC_NOM__ LIKE '%" + pattern + "%' OR");
        // The server compares the code as ASCII text and fails on any other character in the
        // pattern ("Malformed string") as soon as one name does not match, so a search for an
        // accented name would fail. Such a text can never be a code's digits: compared as text of
        // the connection instead, the code gives the same rows without failing.
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        lines.push_back(std::string(ascii ? "PAC_COD__" : "CAST(PAC_COD__ AS VARCHAR(11))") + " LIKE '" + pattern + "'");
    }
    lines.emplace_back("ORDER BY PAC_NOM__");
    return lines;
}

} // namespace vorlu::forms
