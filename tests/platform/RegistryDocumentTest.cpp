#include "platform/RegistryDocument.h"
#include "platform/Utf16.h"

#include <gtest/gtest.h>

namespace vorlu::platform {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\n";

std::vector<std::uint8_t> bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

const RegistryValue& valueIn(const RegistryDocument& document, std::string_view path, std::string_view name)
{
    const auto* key = document.find(RegistryRoot::CurrentUser, path);
    if (!key)
        throw std::runtime_error("key missing: " + std::string(path));
    const auto* value = key->find(name);
    if (!value)
        throw std::runtime_error("value missing: " + std::string(name));
    return *value;
}

struct TypeCase {
    const char* what;
    RegistryValue value;
    const char* line; // how the export writes it
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
    *os << c.what;
}

class RegistryValueLines : public ::testing::TestWithParam<TypeCase> {};

TEST_P(RegistryValueLines, AreWrittenInExportFormAndReadBack)
{
    const TypeCase& c = GetParam();
    RegistryDocument document;
    document.create(RegistryRoot::CurrentUser, "SOFTWARE\\Vorlu\\Vorlu10").set("V", c.value);

    const std::string text = document.serialize();
    EXPECT_NE(text.find(std::string(c.line) + "\n"), std::string::npos) << text;

    const RegistryDocument back = RegistryDocument::parse(text, "registry.reg");
    EXPECT_EQ(valueIn(back, "SOFTWARE\\Vorlu\\Vorlu10", "V"), c.value) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Types, RegistryValueLines,
    ::testing::Values(
        TypeCase{"plain string", RegistryValue::string("C:\\Dados\\VORLU.FDB"), R"("V"="C:\\Dados\\VORLU.FDB")"},
        TypeCase{"quotes and non-ASCII", RegistryValue::string("Clínica \"Sã\""), R"("V"="Clínica \"Sã\"")"},
        TypeCase{"empty string", RegistryValue::string(""), R"("V"="")"},
        TypeCase{"number", RegistryValue::dword(0x2A), R"("V"=dword:0000002a)"},
        TypeCase{"expandable string is UTF-16LE", RegistryValue::string("%T%", RegistryType::ExpandString),
                 R"("V"=hex(2):25,00,54,00,25,00,00,00)"},
        TypeCase{"list of strings", RegistryValue::multiString({"a", "é"}),
                 R"("V"=hex(7):61,00,00,00,e9,00,00,00,00,00)"},
        TypeCase{"binary", RegistryValue::binary({0x00, 0xFF, 0x10}), R"("V"=hex:00,ff,10)"},
        TypeCase{"empty binary", RegistryValue::binary({}), R"("V"=hex:)"},
        TypeCase{"number of size zero", RegistryValue::binary({}, RegistryType::DWord), R"("V"=hex(4):)"},
        TypeCase{"64-bit number", RegistryValue::binary({1, 0, 0, 0, 0, 0, 0, 0}, RegistryType::QWord),
                 R"("V"=hex(b):01,00,00,00,00,00,00,00)"},
        TypeCase{"string with a zero inside", RegistryValue::binary(bytes(std::string_view("ab\0c\0", 5)), RegistryType::String),
                 R"("V"=hex(1):61,00,62,00,00,00,63,00,00,00)"},
        TypeCase{"string with a line break", RegistryValue::string("a\nb"), R"("V"=hex(1):61,00,0a,00,62,00,00,00)"},
        TypeCase{"string without its terminating zero", RegistryValue::binary(bytes("ab"), RegistryType::String),
                 R"("V"=hex(1):61,00,62,00)"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(RegistryDocument, ReadsAnExportAsTheRegistryEditorWritesIt)
{
    // Long values wrap with a trailing backslash; names and paths ignore case; "@" is the
    // default value; comments and blank lines are skipped.
    const std::string text = std::string(kHeader) +
                             "\n"
                             "; exported\n"
                             "[HKEY_CURRENT_USER\\Software\\Vorlu\\Vorlu10]\n"
                             "@=\"default\"\n"
                             "\"Lista\"=hex(7):61,00,62,00,63,00,64,00,65,00,66,00,67,00,68,00,69,00,6a,00,6b,00,\\\n"
                             "  6c,00,00,00,00,00\n"
                             "\n"
                             "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Windows]\n"
                             "\"CSDVersion\"=\"Service Pack 3\"\n";
    const RegistryDocument document = RegistryDocument::parse(text, "registry.reg");

    EXPECT_EQ(valueIn(document, "SOFTWARE\\VORLU\\vorlu10", ""), RegistryValue::string("default"));
    EXPECT_EQ(valueIn(document, "software\\vorlu\\VORLU10", "lista"), RegistryValue::multiString({"abcdefghijkl"}));
    EXPECT_NE(document.find(RegistryRoot::CurrentUser, "Software\\Vorlu"), nullptr) << "parent keys exist";
    EXPECT_EQ(document.find(RegistryRoot::CurrentUser, "SYSTEM\\CurrentControlSet"), nullptr) << "roots are apart";
    const auto* windows = document.find(RegistryRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Windows");
    ASSERT_NE(windows, nullptr);
    EXPECT_EQ(*windows->find("CSDVersion"), RegistryValue::string("Service Pack 3"));
}

TEST(RegistryDocument, ReadsAUtf16ExportWithItsByteOrderMark)
{
    const std::string utf8 = std::string(kHeader) + "\n[HKEY_CURRENT_USER\\A]\n\"Nome\"=\"Clínica\"\n";
    std::string utf16 = "\xFF\xFE";
    const auto units = utf8ToUtf16le(utf8);
    for (std::uint8_t unit : *units)
        utf16 += static_cast<char>(unit);
    EXPECT_EQ(valueIn(RegistryDocument::parse(utf16, "r"), "A", "Nome"), RegistryValue::string("Clínica"));
}

TEST(RegistryDocument, WrapsLongByteListsBelowEightyColumns)
{
    RegistryDocument document;
    document.create(RegistryRoot::CurrentUser, "A").set("Dados", RegistryValue::binary(std::vector<std::uint8_t>(100, 0xAB)));
    const std::string text = document.serialize();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        EXPECT_LT(end - start, 80u) << text.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_EQ(valueIn(RegistryDocument::parse(text, "r"), "A", "Dados").data.size(), 100u);
}

TEST(RegistryDocument, LaterValuesOfTheSameNameReplaceEarlierOnes)
{
    const std::string text = std::string(kHeader) + "[HKEY_CURRENT_USER\\A]\n\"X\"=\"1\"\n[HKEY_CURRENT_USER\\a]\n\"x\"=\"2\"\n";
    const RegistryDocument document = RegistryDocument::parse(text, "r");
    EXPECT_EQ(valueIn(document, "A", "X"), RegistryValue::string("2"));
    EXPECT_EQ(document.find(RegistryRoot::CurrentUser, "A")->values.size(), 1u);
}

struct BadFile {
    const char* what;
    std::string text;
    int line;
};

void PrintTo(const BadFile& c, std::ostream* os)
{
    *os << c.what;
}

class UnreadableExports : public ::testing::TestWithParam<BadFile> {};

TEST_P(UnreadableExports, AreRefusedNamingTheFileAndLine)
{
    const BadFile& c = GetParam();
    try {
        RegistryDocument::parse(c.text, "/home/u/.config/Vorlu/registry.reg");
        FAIL() << c.what << " was accepted";
    } catch (const RegistryFileError& error) {
        EXPECT_EQ(std::string(error.what()), "Arquivo de configurações inválido: /home/u/.config/Vorlu/registry.reg (linha " +
                                                 std::to_string(c.line) + ")")
            << c.what;
    }
}

const std::string kKey = "[HKEY_CURRENT_USER\\A]\n";

INSTANTIATE_TEST_SUITE_P(
    Failures, UnreadableExports,
    ::testing::Values(
        BadFile{"empty file", "", 1},
        BadFile{"older header", "REGEDIT4\n" + kKey, 1},
        BadFile{"value before any key", std::string(kHeader) + "\"X\"=\"1\"\n", 2},
        BadFile{"unknown root", std::string(kHeader) + "[HKEY_USERS\\A]\n", 2},
        BadFile{"key deletion", std::string(kHeader) + "[-HKEY_CURRENT_USER\\A]\n", 2},
        BadFile{"empty key name", std::string(kHeader) + "[HKEY_CURRENT_USER\\A\\\\B]\n", 2},
        BadFile{"value deletion", std::string(kHeader) + kKey + "\"X\"=-\n", 3},
        BadFile{"unterminated text", std::string(kHeader) + kKey + "\"X\"=\"abc\n", 3},
        BadFile{"text after the value", std::string(kHeader) + kKey + "\"X\"=\"abc\" x\n", 3},
        BadFile{"number too long", std::string(kHeader) + kKey + "\"X\"=dword:123456789\n", 3},
        BadFile{"number not hex", std::string(kHeader) + kKey + "\"X\"=dword:12g4\n", 3},
        BadFile{"bad byte", std::string(kHeader) + kKey + "\"X\"=hex:01,zz\n", 3},
        BadFile{"dangling comma", std::string(kHeader) + kKey + "\"X\"=hex:01,\n", 3},
        BadFile{"odd UTF-16 text", std::string(kHeader) + kKey + "\"X\"=hex(2):41\n", 3},
        BadFile{"continuation at the end", std::string(kHeader) + kKey + "\"X\"=hex:01,\\\n", 4},
        BadFile{"no equals sign", std::string(kHeader) + kKey + "\"X\" \"1\"\n", 3}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

} // namespace
} // namespace vorlu::platform
