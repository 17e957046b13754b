#include "platform/FileRegistry.h"

#include "TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace vorlu::platform {
namespace {

using vorlu::testing::entriesOf;
using vorlu::testing::readFile;
using vorlu::testing::TempFolder;
using vorlu::testing::writeFile;

constexpr std::string_view kPath = "SOFTWARE\\Vorlu\\Vorlu10";

class FileRegistryTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path file = folder / "Vorlu/registry.reg";
    FileRegistry registry{file};
};

TEST_F(FileRegistryTest, OpeningAMissingKeyCreatesNothing)
{
    EXPECT_EQ(registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, false), nullptr);
    EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
}

TEST_F(FileRegistryTest, CreatingAKeyCreatesItsWholePathAtOnce)
{
    ASSERT_NE(registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true), nullptr);

    EXPECT_EQ(readFile(file), "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu]\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu\\Vorlu10]\n\n");
    EXPECT_NE(registry.openKey(RegistryRoot::CurrentUser, "software\\VORLU", RegistryAccess::ReadOnly, false), nullptr);
    EXPECT_EQ(registry.openKey(RegistryRoot::LocalMachine, kPath, RegistryAccess::ReadOnly, false), nullptr);
}

TEST_F(FileRegistryTest, AWriteKeepsEverythingElseInTheFile)
{
    writeFile(file, "Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n"
                    "\"ProductType\"=\"WinNT\"\n\n"
                    "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu\\Vorlu10]\n"
                    "\"Empresa\"=\"Clínica Sol\"\n"
                    "\"Contador\"=dword:00000007\n"
                    "\"CaminhoBD\"=\"velho\"\n");

    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, false);
    ASSERT_NE(key, nullptr);
    key->writeString("caminhobd", "servidor:/dados/VORLU.FDB");
    key->writeString("Novo", "x");

    // Parent keys the file left implicit are written out, ahead of their children.
    EXPECT_EQ(readFile(file), "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_LOCAL_MACHINE\\SYSTEM]\n\n"
                              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\n\n"
                              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control]\n\n"
                              "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ProductOptions]\n"
                              "\"ProductType\"=\"WinNT\"\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu]\n\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu\\Vorlu10]\n"
                              "\"Empresa\"=\"Clínica Sol\"\n"
                              "\"Contador\"=dword:00000007\n"
                              "\"CaminhoBD\"=\"servidor:/dados/VORLU.FDB\"\n"
                              "\"Novo\"=\"x\"\n\n");
    EXPECT_EQ(key->readValue("CAMINHOBD"), RegistryValue::string("servidor:/dados/VORLU.FDB"));
}

TEST_F(FileRegistryTest, AWriteSeesWhatAnotherInstanceWroteMeanwhile)
{
    auto first = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    FileRegistry other(file);
    other.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, false)->writeString("Empresa", "E");
    first->writeString("CaminhoBD", "C");

    auto key = FileRegistry(file).openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::ReadOnly, false);
    EXPECT_EQ(key->readValue("Empresa"), RegistryValue::string("E"));
    EXPECT_EQ(key->readValue("CaminhoBD"), RegistryValue::string("C"));
}

TEST_F(FileRegistryTest, AReadOnlyKeyRefusesWrites)
{
    registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    const std::string before = readFile(file);
    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::ReadOnly, false);
    EXPECT_THROW(key->writeString("CaminhoBD", "x"), RegistryWriteError);
    EXPECT_EQ(readFile(file), before);
}

TEST_F(FileRegistryTest, TextTheFileCannotHoldIsRefused)
{
    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    EXPECT_THROW(key->writeString("CaminhoBD", "\xC3("), RegistryWriteError) << "malformed UTF-8";
    EXPECT_THROW(key->writeString("Caminho\nBD", "x"), RegistryWriteError) << "line break in a name";
}

TEST_F(FileRegistryTest, AFileThatCannotBeParsedIsReportedAndNeverOverwritten)
{
    const std::string broken = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Vorlu\\Vorlu10]\n"
                               "\"CaminhoBD\"=\"C:\\\\dados.fdb\n";
    writeFile(file, broken);

    EXPECT_THROW(registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, false), RegistryFileError);
    EXPECT_THROW(registry.openKey(RegistryRoot::CurrentUser, "Outro", RegistryAccess::Full, true), RegistryFileError);
    EXPECT_EQ(readFile(file), broken);
}

TEST_F(FileRegistryTest, AFileBrokenAfterOpeningIsNotOverwrittenEither)
{
    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    writeFile(file, "lixo");
    EXPECT_THROW(key->writeString("CaminhoBD", "x"), RegistryFileError);
    EXPECT_EQ(readFile(file), "lixo");
}

TEST_F(FileRegistryTest, WritesLeaveNoTemporaryFilesAndANewFileIsTheOwnersAlone)
{
    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    for (int i = 0; i < 3; ++i)
        key->writeString("CaminhoBD", "local" + std::to_string(i));
    EXPECT_EQ(entriesOf(file.parent_path()), std::vector<std::string>{"registry.reg"});
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FileRegistryTest, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    auto key = registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true);
    key->writeString("CaminhoBD", "antigo");
    const std::string before = readFile(file);

    // A disk that fills up: no file may grow beyond the current size.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = before.size();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_THROW(key->writeString("CaminhoBD", std::string(500, 'x')), RegistryWriteError);
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(entriesOf(file.parent_path()), std::vector<std::string>{"registry.reg"});
}

TEST_F(FileRegistryTest, AFileThatIsALinkStaysALink)
{
    const auto target = folder / "dotfiles/registry.reg";
    registry.openKey(RegistryRoot::CurrentUser, "A", RegistryAccess::Full, true);
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::rename(file, target);
    std::filesystem::create_symlink(target, file);

    registry.openKey(RegistryRoot::CurrentUser, kPath, RegistryAccess::Full, true)->writeString("CaminhoBD", "x");

    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_NE(readFile(target).find("\"CaminhoBD\"=\"x\""), std::string::npos);
}

TEST_F(FileRegistryTest, MalformedPathsOpenNothing)
{
    for (std::string_view path : {"A\\\\B", "A\\", "\\\\A"})
        EXPECT_EQ(registry.openKey(RegistryRoot::CurrentUser, path, RegistryAccess::Full, true), nullptr) << path;
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
} // namespace vorlu::platform
