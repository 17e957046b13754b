#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlu::platform {

// Text in a registry export is UTF-16LE; the program works in UTF-8. A lone surrogate, which
// Windows lets a value hold, is carried in its three-byte UTF-8 form so nothing is lost on the
// way back.

// nullopt for an odd number of bytes.
std::optional<std::string> utf16leToUtf8(std::span<const std::uint8_t> bytes);

// nullopt for malformed UTF-8 (overlong forms, code points above U+10FFFF, cut sequences).
std::optional<std::vector<std::uint8_t>> utf8ToUtf16le(std::string_view text);

} // namespace vorlu::platform
