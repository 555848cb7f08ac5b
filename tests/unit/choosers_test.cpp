#include "environment/choosers.h"

#include <gtest/gtest.h>

#include <string>

#include "integration/scripted_ui.h"

namespace tamvel {
namespace {

using testing::ScriptedUi;

TEST(ChooseProgram, TakesAConfirmedPathAndKeepsTheOldOneOnCancel) {
    ScriptedUi ui;
    ui.AnswerFile("C:\\TSP\\tsp.exe");
    ui.CancelFile();
    std::string path = "C:\\old.exe";

    EXPECT_TRUE(ChooseProgram(ui, path));
    EXPECT_EQ(path, "C:\\TSP\\tsp.exe");
    EXPECT_FALSE(ChooseProgram(ui, path));
    EXPECT_EQ(path, "C:\\TSP\\tsp.exe");
    EXPECT_EQ(ui.Log(), (std::vector<std::string>{"choose program", "choose program"}));
}

// The chosen path passes through a 200-byte buffer with its terminator: 199 bytes fit, a
// longer path is refused whole rather than cut into a different file's name.
TEST(ChooseProgram, RefusesAPathTooLongForItsBuffer) {
    const std::string fits = "C:\\" + std::string(kMaxChosenFileBytes - 7, 'a') + ".exe";
    const std::string tooLong = "C:\\" + std::string(kMaxChosenFileBytes - 6, 'a') + ".exe";
    ASSERT_EQ(fits.size(), 199u);
    ASSERT_EQ(tooLong.size(), 200u);
    ScriptedUi ui;
    ui.AnswerFile(fits);
    ui.AnswerFile(tooLong);
    std::string path = "C:\\old.exe";

    EXPECT_TRUE(ChooseProgram(ui, path));
    EXPECT_EQ(path, fits);
    EXPECT_FALSE(ChooseProgram(ui, path));
    EXPECT_EQ(path, fits);
}

TEST(ChooseProgram, ConfirmingAnEmptyPathGivesFalse) {
    ScriptedUi ui;
    ui.AnswerFile("");
    std::string path = "C:\\old.exe";
    EXPECT_FALSE(ChooseProgram(ui, path));
    EXPECT_EQ(path, "");
}

TEST(ChooseFolder, GivesThePathOrTheDriveNamedInTheDisplayName) {
    struct Case {
        bool cancel;
        std::string path, displayName;
        bool result;
        std::string folder;
    };
    const std::string tooLong = "C:\\" + std::string(kMaxChosenFolderBytes - 2, 'a');
    const Case cases[] = {
        {false, "C:\\temp", "temp", true, "C:\\temp"},
        {false, "C:\\", "Local Disk (C:)", true, "C:\\"},
        {false, "", "USB (A:)", true, "A:\\"},
        {false, "", "リムーバブル ディスク (H:)", true, "H:\\"},
        {false, "", "Network", false, ""},
        {false, "", ":)", false, ""},
        {false, tooLong, "long", false, ""},
        {true, "", "", false, ""},
    };
    for (const Case& c : cases) {
        ScriptedUi ui;
        c.cancel ? ui.CancelFolder() : ui.AnswerFolder(c.path, c.displayName);
        std::string folder = "C:\\before";
        EXPECT_EQ(ChooseFolder(ui, folder), c.result) << c.displayName;
        EXPECT_EQ(folder, c.folder) << c.displayName;
    }
}

}  // namespace
}  // namespace tamvel
