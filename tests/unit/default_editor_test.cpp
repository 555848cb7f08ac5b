#include "platform/default_editor.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/host_file.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

// The default editor run by /bin/sh with nothing on its PATH but the stand-ins a test puts
// there; each stand-in records its name and arguments in calls.log.
class DefaultEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_folder = m_temp.Path();
        fs::create_directory(m_folder / "bin");
        ASSERT_EQ(ReplaceHostFile(m_folder / "notepad.exe", DefaultEditorScript(), 0755),
                  kErrorSuccess);
    }

    void AddProgram(const std::string& name) {
        const std::string script =
            "#!/bin/sh\necho \"${0##*/} $*\" >> '" + (m_folder / "calls.log").string() + "'\n";
        ASSERT_EQ(ReplaceHostFile(m_folder / "bin" / name, script, 0755), kErrorSuccess);
    }

    /// Runs the editor with `variables` ("NAME=value ...") and `arguments`; its exit status.
    int Run(const std::string& variables, const std::string& arguments) {
        const std::string command = "/usr/bin/env -i PATH='" + (m_folder / "bin").string() + "' " +
                                    variables + " /bin/sh '" + (m_folder / "notepad.exe").string() +
                                    "' " + arguments + " 2>'" + (m_folder / "stderr.txt").string() +
                                    "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(m_folder / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing::TempFolder m_temp{"tamvel-editor"};
    fs::path m_folder;
};

TEST_F(DefaultEditorTest, OpensTheFileInVisualElseWithTheDesktopOpener) {
    AddProgram("myeditor");
    AddProgram("xdg-open");
    EXPECT_EQ(Run("VISUAL='myeditor --wait'", "'/home/me/a b.tsp'"), 0);
    EXPECT_EQ(Run("", "/home/me/x.out"), 0);
    EXPECT_EQ(Run("VISUAL=not-installed", "/home/me/y.out"), 0);
    EXPECT_EQ(Read("calls.log"),
              "myeditor --wait /home/me/a b.tsp\n"
              "xdg-open /home/me/x.out\n"
              "xdg-open /home/me/y.out\n");
}

TEST_F(DefaultEditorTest, PrintsWithLp) {
    AddProgram("lp");
    AddProgram("xdg-open");
    EXPECT_EQ(Run("", "/p /home/me/x.out"), 0);
    EXPECT_EQ(Read("calls.log"), "lp /home/me/x.out\n");
}

TEST_F(DefaultEditorTest, SaysSoWhenNothingCanOpenOrPrint) {
    EXPECT_NE(Run("", "/home/me/x.out"), 0);
    EXPECT_NE(Read("stderr.txt").find("xdg-open"), std::string::npos);
    EXPECT_NE(Run("", "/p /home/me/x.out"), 0);
    EXPECT_NE(Read("stderr.txt").find("lp"), std::string::npos);

    // With a desktop the message also comes as a dialog.
    AddProgram("zenity");
    EXPECT_NE(Run("DISPLAY=:9", "/home/me/x.out"), 0);
    EXPECT_NE(Read("calls.log").find("zenity --error"), std::string::npos);
}

}  // namespace
}  // namespace tamvel
