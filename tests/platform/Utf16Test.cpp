#include "platform/Utf16.h"

#include <gtest/gtest.h>

namespace vorlu::platform {
namespace {

TEST(Utf16, ConvertsBothWaysWithoutLoss)
{
    // ASCII, Latin-1, beyond the BMP (a surrogate pair), and a lone surrogate Windows allows.
    const std::vector<std::uint8_t> units = {0x41, 0x00, 0xE7, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, 0x42, 0x00};
    const auto text = utf16leToUtf8(units);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "Aç\xF0\x9F\x98\x80\xED\xA0\x80" "B");
    EXPECT_EQ(utf8ToUtf16le(*text), units);
}

TEST(Utf16, RefusesWhatIsNotText)
{
    EXPECT_FALSE(utf16leToUtf8(std::vector<std::uint8_t>{0x41}));
    for (std::string_view bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xF4\x90\x80\x80", "\xFF", "a\x80"})
        EXPECT_FALSE(utf8ToUtf16le(bad)) << ::testing::PrintToString(std::string(bad));
}

} // namespace
} // namespace vorlu::platform
