#include "startup/Registro.h"

#include "platform/FileRegistry.h"
#include "../platform/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace vorlu::startup {
namespace {

using platform::RegistryFileError;
using platform::RegistryTypeError;
using platform::RegistryWriteError;
using vorlu::testing::readFile;
using vorlu::testing::TempFolder;
using vorlu::testing::writeFile;

const std::string kKeyLine = "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu\\Vorlu10]\n";

// The settings store of the running system, pointed at a temporary folder.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

    void storeValueLine(const std::string& line)
    {
        writeFile(file, "Windows Registry Editor Version 5.00\n\n" + kKeyLine + line + "\n");
    }

    TempFolder folder;
    std::filesystem::path file = folder / "Vorlu/registry.reg";
};

TEST_F(SettingsStoreTest, AMissingKeyReadsEmptyAndLeavesTheStoreUntouched)
{
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "");
    EXPECT_EQ(LeRegistro(kSettingsKey, "Empresa"), "");
    EXPECT_FALSE(std::filesystem::exists(folder / "Vorlu"));
}

TEST_F(SettingsStoreTest, WritingCreatesTheWholeKeyPathAndReadsBackAsTyped)
{
    GravaRegistro(kSettingsKey, true, "CaminhoBD", "  servidor:/dados/VORLU.FDB ");

    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "  servidor:/dados/VORLU.FDB ");
    EXPECT_EQ(readFile(file), "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu]\n\n" +
                                  kKeyLine + "\"CaminhoBD\"=\"  servidor:/dados/VORLU.FDB \"\n\n");
}

TEST_F(SettingsStoreTest, TheValueIsAPlainStringWithItsZeroCounted)
{
    setDatabaseLocation("C:\\Dados\\VORLU.FDB");
    platform::FileRegistry registry(file);
    const auto key = registry.openKey(platform::RegistryRoot::CurrentUser, kSettingsKey,
                                      platform::RegistryAccess::ReadOnly, false);
    ASSERT_NE(key, nullptr);
    const auto value = key->readValue("CaminhoBD");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::RegistryType::String);
    EXPECT_EQ(value->data.size(), std::string("C:\\Dados\\VORLU.FDB").size() + 1);
}

TEST_F(SettingsStoreTest, AWriteReplacesTheEarlierValueOfAnyType)
{
    storeValueLine("\"CaminhoBD\"=dword:00000001");
    GravaRegistro(kSettingsKey, false, "CaminhoBD", "novo");
    EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), "novo");
}

TEST_F(SettingsStoreTest, WritingWithoutCreateToAMissingKeyFailsNamingTheValue)
{
    try {
        GravaRegistro(kSettingsKey, false, "CaminhoBD", "x");
        FAIL() << "no error";
    } catch (const RegistryWriteError& error) {
        EXPECT_STREQ(error.what(), "Falha ao definir dados para 'CaminhoBD'");
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeWrittenFailsNamingTheValue)
{
    writeFile(folder / "Vorlu", "a file where the folder should be");
    try {
        GravaRegistro(kSettingsKey, true, "CaminhoBD", "x");
        FAIL() << "no error";
    } catch (const RegistryWriteError& error) {
        EXPECT_STREQ(error.what(), "Falha ao definir dados para 'CaminhoBD'");
    }
}

struct StoredValue {
    const char* what;
    std::string line;          // as the export holds it
    std::optional<std::string> text; // nullopt: the invalid-type error
};

void PrintTo(const StoredValue& c, std::ostream* os)
{
    *os << c.what;
}

class ReadingStoredTypes : public SettingsStoreTest, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(ReadingStoredTypes, GivesTheTextOrTheInvalidTypeError)
{
    const StoredValue& c = GetParam();
    storeValueLine(c.line);
    if (c.text) {
        EXPECT_EQ(LeRegistro(kSettingsKey, "CaminhoBD"), *c.text);
        return;
    }
    try {
        LeRegistro(kSettingsKey, "CaminhoBD");
        FAIL() << "no error";
    } catch (const RegistryTypeError& error) {
        EXPECT_STREQ(error.what(), "Tipo de dados inválido para 'CaminhoBD'");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, ReadingStoredTypes,
    ::testing::Values(
        StoredValue{"string", R"("CaminhoBD"="C:\\dados.fdb")", "C:\\dados.fdb"},
        StoredValue{"value name in another case", R"("caminhobd"="x")", "x"},
        StoredValue{"other value only", R"("Empresa"="x")", ""},
        StoredValue{"empty string", R"("CaminhoBD"="")", ""},
        StoredValue{"expandable string, not expanded", R"("CaminhoBD"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00)",
                    "%HOME%"},
        StoredValue{"cut at the first zero", R"("CaminhoBD"=hex(1):61,00,00,00,62,00,00,00)", "a"},
        StoredValue{"string without its zero", R"("CaminhoBD"=hex(1):61,00,62,00)", "ab"},
        StoredValue{"number", R"("CaminhoBD"=dword:00000001)", std::nullopt},
        StoredValue{"number of size zero", R"("CaminhoBD"=hex(4):)", ""},
        StoredValue{"binary", R"("CaminhoBD"=hex:41,42)", std::nullopt},
        StoredValue{"binary of size zero", R"("CaminhoBD"=hex:)", ""},
        StoredValue{"list of strings", R"("CaminhoBD"=hex(7):61,00,00,00,00,00)", std::nullopt},
        StoredValue{"64-bit number", R"("CaminhoBD"=hex(b):01,00,00,00,00,00,00,00)", std::nullopt}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(SettingsStoreTest, AStoreThatCannotBeParsedIsReportedAndKept)
{
    const std::string broken = "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\"CaminhoBD\"=\"sem fim\n";
    writeFile(file, broken);
    EXPECT_THROW(LeRegistro(kSettingsKey, "CaminhoBD"), RegistryFileError);
    EXPECT_THROW(setDatabaseLocation("/dados/VORLU.FDB"), RegistryFileError);
    EXPECT_EQ(readFile(file), broken);
}

TEST(SettingsStore, WorksOnAnyRegistryGiven)
{
    TempFolder folder;
    platform::FileRegistry registry(folder / "r.reg");
    setDatabaseLocation(registry, "/dados/VORLU.FDB");
    EXPECT_EQ(LeRegistro(registry, kSettingsKey, kDatabaseLocationValue), "/dados/VORLU.FDB");
}

} // namespace
} // namespace vorlu::startup
