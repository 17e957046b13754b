#include "startup/FormPlacement.h"

#include "platform/ProfileFile.h"
#include "../platform/TempFolder.h"

#include <gtest/gtest.h>
#include <map>

namespace vorlu::startup {
namespace {

using vorlu::testing::readFile;
using vorlu::testing::TempFolder;
using vorlu::testing::writeFile;

// The record screen as designed: fixed size 800 x 600 at 100, 50 on a 1920 x 1080 screen.
FormWindow designedForm()
{
    FormWindow form;
    form.placement.normalRect = {100, 50, 900, 650};
    form.screenWidth = 1920;
    form.screenHeight = 1080;
    form.pixelsPerInch = 96;
    form.fixedSize = true;
    return form;
}

StoredKey keys(std::map<std::string, std::string> stored)
{
    return [stored = std::move(stored)](std::string_view key) -> std::optional<std::string> {
        const auto it = stored.find(std::string(key));
        return it == stored.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

TEST(FormPlacement, ASaveWritesTheKeysInOrderWithTheirFormats)
{
    TempFolder folder;
    const auto file = folder / "vorlu-secretaria.INI";
    FormStorage storage("TfrmPaciente", file);
    FormWindow form = designedForm();
    storage.restore(form);

    form.placement = {2, show_cmd::kMaximized, {-1, -1}, {-8, -8}, {300, 200, 1100, 800}};
    storage.saveAtCloseRequest(form);

    EXPECT_EQ(readFile(file), "[TfrmPaciente]\n"
                              "FormVersion=0\n"
                              "Flags=2\n"
                              "ShowCmd=3\n"
                              "PixelsPerInch=96\n"
                              "MinMaxPos(1920x1080)=-1,-1,-8,-8\n"
                              "MinMaxPos=-1,-1,-8,-8\n"
                              "NormPos(1920x1080)=300,200,1100,800\n"
                              "NormPos=300,200,1100,800\n"
                              "Visible=0\n");
}

TEST(FormPlacement, AMovedFormReopensWhereItWasWithItsFixedSize)
{
    TempFolder folder;
    const auto file = folder / "vorlu-secretaria.INI";
    {
        FormStorage storage("TfrmPaciente", file);
        const auto first = storage.restore(designedForm());
        ASSERT_TRUE(first);
        EXPECT_FALSE(first->placement) << "no file yet: the designed position stays";
        EXPECT_EQ(first->state, FormShowState::Normal);

        FormWindow moved = designedForm();
        moved.placement.normalRect = {400, 300, 1200, 900};
        storage.saveAtCloseRequest(moved);
    }
    FormStorage storage("TfrmPaciente", file);
    FormWindow reopened = designedForm();
    reopened.centred = true;
    const auto restore = storage.restore(reopened);
    ASSERT_TRUE(restore && restore->placement);
    EXPECT_EQ(restore->placement->normalRect, (PlacementRect{400, 300, 1200, 900}));
    EXPECT_TRUE(restore->leaveCentring);
}

TEST(FormPlacement, TwoFormsShareTheFileWithoutUndoingEachOther)
{
    TempFolder folder;
    const auto file = folder / "x.INI";
    FormStorage record("TfrmPaciente", file);
    FormStorage search("TfrmLocalizaPaciente", file);
    record.restore(designedForm());
    search.restore(designedForm());
    FormWindow form = designedForm();
    form.placement.normalRect = {1, 2, 801, 602};
    search.saveAtCloseRequest(form);
    record.saveAtCloseRequest(designedForm());

    const auto profile = platform::openProfileFile(file);
    EXPECT_EQ(profile->readString("TfrmLocalizaPaciente", "NormPos"), "1,2,801,602");
    EXPECT_EQ(profile->readString("TfrmPaciente", "NormPos"), "100,50,900,650");
}

TEST(FormPlacement, SavesHappenOnlyAtTheRightMoments)
{
    TempFolder folder;
    const auto file = folder / "x.INI";
    FormStorage storage("TfrmPaciente", file);
    const auto visible = [&] { return platform::openProfileFile(file)->readString("TfrmPaciente", "Visible"); };

    storage.saveAtCloseRequest(designedForm());
    storage.saveAtDestruction(designedForm());
    EXPECT_FALSE(std::filesystem::exists(file)) << "never before the first restore";

    storage.restore(designedForm());
    storage.saveAtCloseRequest(designedForm());
    EXPECT_EQ(visible(), "0");
    FormWindow moved = designedForm();
    moved.placement.normalRect = {0, 0, 800, 600};
    storage.saveAtDestruction(moved);
    EXPECT_EQ(visible(), "0") << "a save since the restore: destruction saves nothing";

    storage.restore(designedForm());
    storage.saveAtDestruction(moved);
    EXPECT_EQ(visible(), "1");
    EXPECT_EQ(platform::openProfileFile(file)->readString("TfrmPaciente", "NormPos"), "0,0,800,600");
}

TEST(FormPlacement, AFileThatCannotBeWrittenFailsWithItsName)
{
    TempFolder folder;
    writeFile(folder / "blocked", "");
    const auto file = folder / "blocked/x.INI";
    FormStorage storage("TfrmPaciente", file);
    storage.restore(designedForm());
    try {
        storage.saveAtCloseRequest(designedForm());
        FAIL() << "no error";
    } catch (const platform::ProfileWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Impossível gravar para " + file.string());
    }
}

TEST(FormPlacement, TheMinimisedApplicationSavesTheMainWindowAsMinimised)
{
    FormWindow form = designedForm();
    form.mainWindow = true;
    form.applicationMinimized = true;
    const auto entries = placementEntries(form, SaveMoment::Destruction);
    ASSERT_EQ(entries.size(), 9u);
    EXPECT_EQ(entries[2], (std::pair<std::string, std::string>{"ShowCmd", "2"}));
    EXPECT_EQ(entries[8], (std::pair<std::string, std::string>{"Visible", "1"}));
}

TEST(FormPlacementRestore, APositionSavedUnderAnotherPixelsPerInchIsNotApplied)
{
    const auto stored = keys({{"NormPos", "400,300,1200,900"}, {"PixelsPerInch", "120"}, {"ShowCmd", "3"}});
    const auto restore = planRestore(stored, designedForm());
    ASSERT_TRUE(restore);
    EXPECT_FALSE(restore->placement);
    EXPECT_EQ(restore->state, FormShowState::Maximized) << "the show state is still restored";

    FormWindow sameDpi = designedForm();
    sameDpi.pixelsPerInch = 120;
    EXPECT_TRUE(planRestore(stored, sameDpi)->placement);
}

TEST(FormPlacementRestore, AFixedSizeFormTakesOnlyLeftAndTop)
{
    const auto stored = keys({{"NormPos", "400,300,410,310"}});
    const auto fixed = planRestore(stored, designedForm());
    ASSERT_TRUE(fixed->placement);
    EXPECT_EQ(fixed->placement->normalRect, (PlacementRect{400, 300, 1200, 900}));

    FormWindow sizable = designedForm();
    sizable.fixedSize = false;
    EXPECT_EQ(planRestore(stored, sizable)->placement->normalRect, (PlacementRect{400, 300, 410, 310}));
}

TEST(FormPlacementRestore, ARectangleWhoseLeftIsNotLessThanItsRightIsIgnored)
{
    FormWindow sizable = designedForm();
    sizable.fixedSize = false;
    EXPECT_FALSE(planRestore(keys({{"NormPos", "500,300,500,900"}}), sizable)->placement);
    EXPECT_FALSE(planRestore(keys({{"NormPos", "600,300,500,900"}}), sizable)->placement);
}

TEST(FormPlacementRestore, TheKeyForTheCurrentScreenWinsOverTheBareKey)
{
    const auto stored = keys({{"NormPos(1920x1080)", "10,20,0,0"},
                              {"NormPos", "30,40,0,0"},
                              {"MinMaxPos(1024x768)", "1,2,3,4"},
                              {"MinMaxPos", "5,6,7,8"}});
    const auto restore = planRestore(stored, designedForm());
    ASSERT_TRUE(restore->placement);
    EXPECT_EQ(restore->placement->normalRect.left, 10);
    EXPECT_EQ(restore->placement->normalRect.top, 20);
    EXPECT_EQ(restore->placement->minPosition, (PlacementPoint{5, 6})) << "another screen's key is not read";
    EXPECT_EQ(restore->placement->maxPosition, (PlacementPoint{7, 8}));
}

TEST(FormPlacementRestore, PositionWordsSplitAtCommasAndBlanksAndMissingWordsTakeDefaults)
{
    FormWindow sizable = designedForm();
    sizable.fixedSize = false;
    sizable.placement.flags = 7;
    sizable.placement.minPosition = {99, 99};
    struct Case {
        std::map<std::string, std::string> stored;
        WindowPlacement expected;
    } cases[] = {
        {{{"NormPos", "1, 2 ,3  4"}}, {7, 1, {99, 99}, {}, {1, 2, 3, 4}}},
        {{{"NormPos", "1,x,300"}}, {7, 1, {99, 99}, {}, {1, 50, 300, 650}}},
        {{{"NormPos", "1,,,2"}}, {7, 1, {99, 99}, {}, {1, 2, 900, 650}}},
        {{{"MinMaxPos", "-5"}, {"Flags", "2"}}, {2, 1, {-5, 0}, {0, 0}, {100, 50, 900, 650}}},
        {{{"MinMaxPos", "a,b,c,d"}, {"Flags", "x"}}, {7, 1, {0, 0}, {0, 0}, {100, 50, 900, 650}}},
    };
    for (const Case& c : cases) {
        const auto restore = planRestore(keys(c.stored), sizable);
        ASSERT_TRUE(restore->placement) << ::testing::PrintToString(c.stored);
        EXPECT_EQ(*restore->placement, c.expected) << ::testing::PrintToString(c.stored);
    }
}

TEST(FormPlacementRestore, EmptyOrMissingPositionsLeaveTheDesignedPosition)
{
    EXPECT_FALSE(planRestore(keys({}), designedForm())->placement);
    EXPECT_FALSE(planRestore(keys({{"NormPos", ""}, {"MinMaxPos", ""}, {"Flags", "2"}}), designedForm())->placement);
}

TEST(FormPlacementRestore, ANegativeFormVersionSkipsEverything)
{
    EXPECT_FALSE(planRestore(keys({{"FormVersion", "-1"}, {"NormPos", "1,2,3,4"}, {"ShowCmd", "3"}}), designedForm()));
    EXPECT_TRUE(planRestore(keys({{"FormVersion", "x"}, {"NormPos", "1,2,3,4"}}), designedForm())->placement);
}

TEST(FormPlacementRestore, ShowCmdMapsToTheFormsState)
{
    struct Case {
        std::optional<std::string> showCmd;
        FormShowState state;
    } cases[] = {
        {std::nullopt, FormShowState::Normal}, {"0", FormShowState::Normal},    {"1", FormShowState::Normal},
        {"2", FormShowState::Minimized},       {"3", FormShowState::Maximized}, {"4", FormShowState::Normal},
        {"5", FormShowState::Normal},          {"6", FormShowState::Minimized}, {"7", FormShowState::Minimized},
        {"8", FormShowState::Normal},          {"9", FormShowState::Normal},    {"10", FormShowState::Normal},
        {"x", FormShowState::Normal},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> stored;
        if (c.showCmd)
            stored["ShowCmd"] = *c.showCmd;
        const auto restore = planRestore(keys(stored), designedForm());
        EXPECT_EQ(restore->state, c.state) << c.showCmd.value_or("missing");
        EXPECT_FALSE(restore->minimizeApplication);

        FormWindow main = designedForm();
        main.mainWindow = true;
        const auto mainRestore = planRestore(keys(stored), main);
        const bool minimised = c.state == FormShowState::Minimized;
        EXPECT_EQ(mainRestore->state, minimised ? FormShowState::Normal : c.state) << c.showCmd.value_or("missing");
        EXPECT_EQ(mainRestore->minimizeApplication, minimised) << c.showCmd.value_or("missing");
    }
}

} // namespace
} // namespace vorlu::startup
