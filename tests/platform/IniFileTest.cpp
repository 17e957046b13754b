#include "platform/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace vorlu::platform {
namespace {

using vorlu::testing::entriesOf;
using vorlu::testing::readFile;
using vorlu::testing::TempFolder;
using vorlu::testing::writeFile;

TEST(IniFile, AWriteKeepsKeyOrderCommentsAndOtherSections)
{
    TempFolder folder;
    const auto file = folder / "vorlu-secretaria.INI";
    writeFile(file, "; placement\n"
                    "[TfrmPaciente]\n"
                    "ShowCmd=1\n"
                    "Flags=0\n"
                    "\n"
                    "[TfrmLocalizaPaciente]\n"
                    "NormPos=1,2,3,4\n");
    IniFile ini(file);
    ini.writeString("tfrmpaciente", "flags", "2");
    ini.writeString("TfrmPaciente", "Visible", "0");
    ini.writeString("Novo", "A", "b");
    ini.flush();

    EXPECT_EQ(readFile(file), "; placement\n"
                              "[TfrmPaciente]\n"
                              "ShowCmd=1\n"
                              "Flags=2\n"
                              "Visible=0\n"
                              "\n"
                              "[TfrmLocalizaPaciente]\n"
                              "NormPos=1,2,3,4\n"
                              "\n"
                              "[Novo]\n"
                              "A=b\n");
    EXPECT_EQ(entriesOf(folder.path()), std::vector<std::string>{"vorlu-secretaria.INI"});
}

TEST(IniFile, ReadsLikeTheWindowsProfileFunctions)
{
    TempFolder folder;
    const auto file = folder / "x.INI";
    writeFile(file, "Solto=1\r\n[ S ]\r\n  NormPos =  10, 20 \r\nQ=\"quoted\"\r\nVazio=\r\n;Flags=9\r\n[T]\r\nFlags=3\r\n");
    const IniFile ini(file);
    EXPECT_EQ(ini.readString("s", "normpos"), "10, 20");
    EXPECT_EQ(ini.readString("S", "Q"), "quoted");
    EXPECT_EQ(ini.readString("S", "Vazio"), "");
    EXPECT_EQ(ini.readString("S", "Flags"), std::nullopt) << "comment, and the key of another section";
    EXPECT_EQ(ini.readString("S", "Solto"), std::nullopt) << "a key before any section belongs to none";
    EXPECT_EQ(ini.readString("U", "Flags"), std::nullopt);
}

TEST(IniFile, AMissingFileIsEmptyAndOnlyAWriteCreatesIt)
{
    TempFolder folder;
    const auto file = folder / "sub/x.INI";
    IniFile ini(file);
    EXPECT_EQ(ini.readString("S", "K"), std::nullopt);
    ini.flush();
    EXPECT_FALSE(std::filesystem::exists(file));
    ini.writeString("S", "K", "v");
    ini.flush();
    EXPECT_EQ(readFile(file), "[S]\nK=v\n");
}

TEST(IniFile, AFileThatCannotBeWrittenFailsWithItsName)
{
    TempFolder folder;
    writeFile(folder / "notafolder", "");
    const auto file = folder / "notafolder/x.INI";
    IniFile ini(file);
    ini.writeString("S", "K", "v");
    try {
        ini.flush();
        FAIL() << "no error";
    } catch (const ProfileWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Impossível gravar para " + file.string());
    }
}

TEST(IniFile, AFileThatCannotBeReadFailsAtOpening)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "x.INI");
    EXPECT_THROW(IniFile(folder / "x.INI"), ProfileReadError);
}

TEST(IniFile, TextThatWouldBreakTheLayoutIsRefused)
{
    TempFolder folder;
    IniFile ini(folder / "x.INI");
    EXPECT_THROW(ini.writeString("S", "K", "a\nB=c"), ProfileWriteError);
    EXPECT_THROW(ini.writeString("S]", "K", "v"), ProfileWriteError);
    EXPECT_THROW(ini.writeString("S", "K=1", "v"), ProfileWriteError);
    EXPECT_THROW(ini.writeString("S", "[K", "v"), ProfileWriteError);
    ini.flush();
    EXPECT_FALSE(std::filesystem::exists(folder / "x.INI"));
}

} // namespace
} // namespace vorlu::platform
