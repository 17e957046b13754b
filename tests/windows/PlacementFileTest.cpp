// The window-placement file through the Windows profile functions, in %APPDATA%\Vorlu.
#include "startup/FormPlacement.h"

#include "platform/ConfigPaths.h"
#include "platform/ProfileFile.h"

#include "WineRegistry.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vorlu::startup {
namespace {

using namespace vorlu::wintest;

// The record screen as designed: fixed size 800 x 600 at 100, 50 on a 1920 x 1080 screen.
FormWindow designedForm()
{
    FormWindow form;
    form.placement.normalRect = {100, 50, 900, 650};
    form.screenWidth = 1920;
    form.screenHeight = 1080;
    form.pixelsPerInch = 96;
    return form;
}

// A section as the profile functions list it: "key=value" in the file's order.
std::vector<std::string> sectionOf(const std::filesystem::path& file, const std::wstring& section)
{
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetPrivateProfileSectionW(section.c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> entries;
    for (const wchar_t* entry = buffer.data(); entry < buffer.data() + length && *entry; entry += wcslen(entry) + 1)
        entries.push_back(utf8(entry));
    return entries;
}

std::string profileString(const std::filesystem::path& file, const std::wstring& section, const std::wstring& key)
{
    wchar_t buffer[256];
    const DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"(missing)", buffer, 256,
                                                    file.c_str());
    return utf8(std::wstring(buffer, length));
}

std::string utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The user's application-data folder pointed at a fresh folder, under a name that no
// Windows code page holds whole.
class PlacementOnWindows : public ::testing::Test {
protected:
    TempFolder temp;
    std::filesystem::path appData = temp.path() / L"Usu\u00e1rio \u03a9";
    ScopedEnvironment environment{L"APPDATA", appData.wstring()};
    std::filesystem::path expectedFile = appData / L"Vorlu" / L"test_windows.INI";
};

TEST_F(PlacementOnWindows, TheFileIsTheExecutablesNameInTheUsersApplicationData)
{
    EXPECT_EQ(platform::placementFilePath(), expectedFile);
    EXPECT_EQ(FormStorage("TfrmPaciente").file(), expectedFile);
}

TEST_F(PlacementOnWindows, ASaveWritesTheKeysInOrderWithTheirFormatsAndARestoreReadsThemBack)
{
    {
        FormStorage storage("TfrmPaciente");
        const auto first = storage.restore(designedForm());
        ASSERT_TRUE(first);
        EXPECT_FALSE(first->placement) << "no file yet: the designed position stays";
        EXPECT_FALSE(std::filesystem::exists(expectedFile)) << "a restore writes nothing";

        FormWindow moved = designedForm();
        moved.placement = {2, show_cmd::kMaximized, {-1, -1}, {-8, -8}, {300, 200, 1100, 800}};
        storage.saveAtCloseRequest(moved);
    }
    EXPECT_EQ(sectionOf(expectedFile, L"TfrmPaciente"),
              (std::vector<std::string>{"FormVersion=0", "Flags=2", "ShowCmd=3", "PixelsPerInch=96",
                                        "MinMaxPos(1920x1080)=-1,-1,-8,-8", "MinMaxPos=-1,-1,-8,-8",
                                        "NormPos(1920x1080)=300,200,1100,800", "NormPos=300,200,1100,800",
                                        "Visible=0"}));

    FormStorage storage("TfrmPaciente");
    FormWindow reopened = designedForm();
    reopened.centred = true;
    const auto restore = storage.restore(reopened);
    ASSERT_TRUE(restore && restore->placement);
    EXPECT_EQ(restore->placement->normalRect, (PlacementRect{300, 200, 1100, 800}));
    EXPECT_EQ(restore->placement->minPosition, (PlacementPoint{-1, -1}));
    EXPECT_EQ(restore->placement->maxPosition, (PlacementPoint{-8, -8}));
    EXPECT_TRUE(restore->leaveCentring);
    EXPECT_EQ(restore->state, FormShowState::Maximized);
}

TEST_F(PlacementOnWindows, TwoFormsShareTheFileAndASecondSaveKeepsTheKeysInPlace)
{
    FormStorage record("TfrmPaciente");
    FormStorage search("TfrmLocalizaPaciente");
    record.restore(designedForm());
    search.restore(designedForm());
    FormWindow form = designedForm();
    form.placement.normalRect = {1, 2, 801, 602};
    search.saveAtCloseRequest(form);
    record.saveAtCloseRequest(designedForm());

    record.restore(designedForm());
    FormWindow moved = designedForm();
    moved.placement.normalRect = {10, 20, 810, 620};
    record.saveAtDestruction(moved);

    EXPECT_EQ(profileString(expectedFile, L"TfrmLocalizaPaciente", L"NormPos"), "1,2,801,602");
    const auto entries = sectionOf(expectedFile, L"TfrmPaciente");
    ASSERT_EQ(entries.size(), 9u) << "each key once";
    EXPECT_EQ(entries[0], "FormVersion=0");
    EXPECT_EQ(entries[7], "NormPos=10,20,810,620");
    EXPECT_EQ(entries[8], "Visible=1") << "saved at destruction";
}

TEST_F(PlacementOnWindows, AnEmptyValueIsNotAMissingKeyAndNamesIgnoreCase)
{
    std::filesystem::create_directories(expectedFile.parent_path());
    std::ofstream(expectedFile, std::ios::binary) << "[TfrmPaciente]\r\nFormVersion=\r\nNormPos=5,6,7,8\r\n";
    const auto profile = platform::openProfileFile(expectedFile);
    EXPECT_EQ(profile->readString("TfrmPaciente", "FormVersion"), "");
    EXPECT_EQ(profile->readString("TfrmPaciente", "Flags"), std::nullopt);
    EXPECT_EQ(profile->readString("TfrmLocalizaPaciente", "NormPos"), std::nullopt);
    EXPECT_EQ(profile->readString("tfrmpaciente", "NORMPOS"), "5,6,7,8");
}

TEST_F(PlacementOnWindows, AFolderThatCannotBeMadeFailsTheSaveWithTheFilesName)
{
    std::filesystem::create_directories(appData);
    std::ofstream(appData / L"Vorlu") << "a file where the folder goes";
    FormStorage storage("TfrmPaciente");
    storage.restore(designedForm());
    try {
        storage.saveAtCloseRequest(designedForm());
        FAIL() << "no error";
    } catch (const platform::ProfileWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Impossível gravar para " + utf8Of(expectedFile));
    }
}

TEST_F(PlacementOnWindows, AFileThatCannotBeReadIsReportedAndLeftAlone)
{
    std::filesystem::create_directories(expectedFile);
    FormStorage storage("TfrmPaciente");
    try {
        storage.restore(designedForm());
        FAIL() << "no error";
    } catch (const platform::ProfileReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Impossível ler " + utf8Of(expectedFile));
    }
    EXPECT_TRUE(std::filesystem::is_directory(expectedFile));
}

} // namespace
} // namespace vorlu::startup
