// LeRegistro and GravaRegistro on the Windows registry itself.
#include "startup/Registro.h"

#include "WineRegistry.h"

#include <gtest/gtest.h>

namespace vorlu::startup {
namespace {

using namespace vorlu::wintest;

const std::wstring kVorluKey = L"SOFTWARE\\Vorlu";
const std::wstring kKey = L"SOFTWARE\\Vorlu\\Vorlu10";

using namespace std::string_view_literals;

// The bytes of exactly these characters: a zero is there only when written out.
std::vector<std::uint8_t> bytesOf(std::wstring_view text)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return std::vector<std::uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

std::string readError(std::string_view valueName)
{
    try {
        LeRegistro(kSettingsKey, valueName);
    } catch (const platform::RegistryTypeError& error) {
        return error.what();
    }
    return "no error";
}

// Each test starts on a user hive without the program's keys and leaves none behind.
class RegistryOnWindows : public ::testing::Test {
protected:
    void SetUp() override { deleteTree(HKEY_CURRENT_USER, kVorluKey); }
    void TearDown() override { deleteTree(HKEY_CURRENT_USER, kVorluKey); }
};

TEST_F(RegistryOnWindows, AMissingKeyReadsEmptyAndIsNotCreated)
{
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "");
    EXPECT_EQ(LeRegistro(kSettingsKey, "Empresa"), "");
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kVorluKey));
}

TEST_F(RegistryOnWindows, AMissingValueInAnExistingKeyReadsEmpty)
{
    setString(HKEY_CURRENT_USER, kKey, L"Empresa", L"Clínica");
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "");
}

TEST_F(RegistryOnWindows, WritingCreatesTheWholePathAndAPlainStringWithItsZeroCounted)
{
    setDatabaseLocation("  servidor:C:\\Dados\\VORLU.FDB ");

    const auto wide = queryWide(HKEY_CURRENT_USER, kKey, L"CaminhoBD");
    ASSERT_TRUE(wide) << "the key path was not created";
    EXPECT_EQ(wide->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(wide->data, bytesOf(L"  servidor:C:\\Dados\\VORLU.FDB \0"sv));
    const auto ansi = queryAnsi(HKEY_CURRENT_USER, "SOFTWARE\\Vorlu\\Vorlu10", "CaminhoBD");
    ASSERT_TRUE(ansi);
    EXPECT_EQ(ansi->data.size(), 31u) << "30 characters and the zero";
    EXPECT_EQ(ansi->data.back(), 0);

    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "  servidor:C:\\Dados\\VORLU.FDB ") << "blanks kept";
}

TEST_F(RegistryOnWindows, TextOutsideTheCodePageTravelsWhole)
{
    GravaRegistro(kSettingsKey, true, "CaminhoBD", "C:\\Nutrição\\Ωmega €.FDB");
    const auto wide = queryWide(HKEY_CURRENT_USER, kKey, L"CaminhoBD");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->data, bytesOf(L"C:\\Nutri\u00e7\u00e3o\\\u03a9mega \u20ac.FDB\0"sv));
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "C:\\Nutrição\\Ωmega €.FDB");

    setString(HKEY_CURRENT_USER, kKey, L"Empresa", L"Clínica São João");
    EXPECT_EQ(LeRegistro(kSettingsKey, "Empresa"), "Clínica São João");
}

TEST_F(RegistryOnWindows, AWriteReplacesTheEarlierValueOfAnyType)
{
    setDword(HKEY_CURRENT_USER, kKey, L"CaminhoBD", 7);
    GravaRegistro(kSettingsKey, false, "CaminhoBD", "novo");
    EXPECT_EQ(queryWide(HKEY_CURRENT_USER, kKey, L"CaminhoBD")->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "novo");
}

TEST_F(RegistryOnWindows, WritingWithoutCreateToAMissingKeyFailsAndCreatesNothing)
{
    try {
        GravaRegistro(kSettingsKey, false, "CaminhoBD", "x");
        FAIL() << "no error";
    } catch (const platform::RegistryWriteError& error) {
        EXPECT_STREQ(error.what(), "Falha ao definir dados para 'CaminhoBD'");
    }
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kVorluKey));
}

TEST_F(RegistryOnWindows, ALongValueIsReadWhole)
{
    const std::string location = "servidor:C:\\" + std::string(3000, 'd') + "\\VORLU.FDB";
    GravaRegistro(kSettingsKey, true, "CaminhoBD", location);
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), location);
}

// Values stored by another program, as the registry holds them, and what reading them gives.
struct StoredValue {
    const char* name;
    DWORD type;
    std::vector<std::uint8_t> data;
    const char* expected; // nullptr: the invalid-type error
};

class StoredValueRead : public RegistryOnWindows, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(StoredValueRead, GivesTheTextOrTheInvalidTypeError)
{
    const StoredValue& row = GetParam();
    setRaw(HKEY_CURRENT_USER, kKey, L"CaminhoBD", row.type, row.data);
    if (row.expected)
        EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), row.expected);
    else
        EXPECT_EQ(readError("CaminhoBD"), "Tipo de dados inválido para 'CaminhoBD'");
}

INSTANTIATE_TEST_SUITE_P(
    RegistryOnWindows, StoredValueRead,
    ::testing::Values(
        StoredValue{"Number", REG_DWORD, {1, 0, 0, 0}, nullptr},
        StoredValue{"QuadNumber", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, nullptr},
        StoredValue{"Bytes", REG_BINARY, {'C', 0, ':', 0}, nullptr},
        StoredValue{"StringList", REG_MULTI_SZ, bytesOf(L"a\0b\0\0"sv), nullptr},
        StoredValue{"EmptyBytes", REG_BINARY, {}, ""},
        StoredValue{"EmptyString", REG_SZ, {}, ""},
        StoredValue{"OnlyTheZero", REG_SZ, bytesOf(L"\0"sv), ""},
        StoredValue{"ExpandableNotExpanded", REG_EXPAND_SZ, bytesOf(L"%SystemRoot%\\VORLU.FDB\0"sv),
                    "%SystemRoot%\\VORLU.FDB"},
        StoredValue{"CutAtTheFirstZero", REG_SZ, bytesOf(L"C:\\A.FDB\0C:\\B.FDB\0"sv), "C:\\A.FDB"},
        StoredValue{"WithoutItsZero", REG_SZ, bytesOf(L"C:\\A.FDB"sv), "C:\\A.FDB"},
        StoredValue{"HalfACharacterAtTheEnd", REG_SZ, {'A', 0, 'B'}, "A"}),
    [](const ::testing::TestParamInfo<StoredValue>& info) { return info.param.name; });

} // namespace
} // namespace vorlu::startup
