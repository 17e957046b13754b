#pragma once
// Text at the edge of the wide Windows functions: the program works in UTF-8, Windows in UTF-16.
// The ANSI functions would hand the text through the machine's code page and garble every
// character outside it, so the Windows units call the wide ones and convert here.
#ifdef _WIN32

#include "platform/Utf16.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlu::platform::win32 {

// nullopt for malformed UTF-8.
inline std::optional<std::wstring> toWide(std::string_view text)
{
    const auto bytes = utf8ToUtf16le(text);
    if (!bytes)
        return std::nullopt;
    std::wstring wide(bytes->size() / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>((*bytes)[2 * i] | ((*bytes)[2 * i + 1] << 8));
    return wide;
}

// UTF-16LE bytes to UTF-8; a last odd byte (half a character) is dropped.
inline std::string bytesToUtf8(std::span<const std::uint8_t> bytes)
{
    return *utf16leToUtf8(bytes.first(bytes.size() & ~std::size_t{1}));
}

inline std::string toUtf8(std::wstring_view wide)
{
    std::vector<std::uint8_t> bytes(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>((wide[i] >> 8) & 0xFF);
    }
    return bytesToUtf8(bytes);
}

} // namespace vorlu::platform::win32

#endif
