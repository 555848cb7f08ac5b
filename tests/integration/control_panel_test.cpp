// The control panel after start-up: the TSP file field's change handling and the buttons'
// update rules, over real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "startup_fixture.h"
#include "ui/control_ids.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;

class ControlPanelTest : public StartupFixture {
  protected:
    void SetUp() override {
        StartupFixture::SetUp();
        InstallTsp();
        RunStartup();
        ASSERT_EQ(m_ui.Log().size(), 0u);
    }
    /// Types a Windows path (UTF-8) into the TSP file field.
    void Type(const std::string& utf8) {
        m_ui.SetFieldText(kIdTspFileField, Cp932(utf8));
        m_view.OnFieldChanged(kIdTspFileField);
    }
    fs::path Temp() const { return m_prefix.DriveC() / "temp"; }
    std::map<int, bool> Buttons() const {
        std::map<int, bool> enabled;
        for (int id :
             {kIdEditTspFile, kIdRunTspFile, kIdPrintTspFile, kIdViewResult, kIdPrintResult}) {
            enabled[id] = m_view.IsButtonEnabled(id);
        }
        return enabled;
    }
};

TEST_F(ControlPanelTest, ButtonsFollowTheFilesNamedInTheFields) {
    TempPrefix::WriteFile(Temp() / "model.tsp");
    TempPrefix::WriteFile(Temp() / "done.tsp");
    TempPrefix::WriteFile(Temp() / "done.out");
    struct Case {
        std::string typed;
        bool edit, run, result;
    };
    const Case cases[] = {
        {"", false, false, false},
        {"C:\\temp\\nothing.tsp", true, false, false},
        {"any text", true, false, false},
        {"C:\\temp\\model.tsp", true, true, false},
        {"c:\\TEMP\\MODEL.TSP", true, true, false},
        {"C:\\temp\\done.tsp", true, true, true},
        {"done.tsp", true, true, true},  // a bare name is looked for in the current directory
    };
    for (const Case& c : cases) {
        Type(c.typed);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Buttons(), (std::map<int, bool>{{kIdEditTspFile, c.edit},
                                                  {kIdRunTspFile, c.run},
                                                  {kIdPrintTspFile, c.run},
                                                  {kIdViewResult, c.result},
                                                  {kIdPrintResult, c.result}}));
    }
    for (int always : {kIdChangeTspFile, kIdExit, kIdEnvSettings, kIdNewTspFile}) {
        EXPECT_TRUE(m_view.IsButtonEnabled(always)) << always;
    }
}

// Nothing is cached: a file that appears or vanishes outside the program shows at once.
TEST_F(ControlPanelTest, ButtonsFollowFilesThatChangeOutsideTheProgram) {
    Type("C:\\temp\\late.tsp");
    EXPECT_FALSE(m_view.IsButtonEnabled(kIdRunTspFile));
    EXPECT_FALSE(m_view.IsButtonEnabled(kIdViewResult));

    TempPrefix::WriteFile(Temp() / "late.tsp");
    TempPrefix::WriteFile(Temp() / "late.out");
    EXPECT_TRUE(m_view.IsButtonEnabled(kIdRunTspFile));
    EXPECT_TRUE(m_view.IsButtonEnabled(kIdViewResult));

    fs::remove(Temp() / "late.out");
    EXPECT_TRUE(m_view.IsButtonEnabled(kIdRunTspFile));
    EXPECT_FALSE(m_view.IsButtonEnabled(kIdViewResult));
}

TEST_F(ControlPanelTest, ResultFieldFollowsTheTspFileField) {
    Type("C:\\work\\model.tsp");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "C:\\work\\model.out");
    EXPECT_EQ(m_view.Environment().tspFile, "C:\\work\\model.tsp");

    // Emptying the field empties the result field; the result path keeps its last value.
    Type("");
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "");
    EXPECT_EQ(m_view.Environment().tspFile, "");
    EXPECT_EQ(m_view.ResultFilePath(), "C:\\work\\model.out");

    Type("C:\\表\\a");  // 表 ends in the byte of '\': the path is still cut at real separators only
    EXPECT_EQ(m_ui.Field(kIdResultFileField), "C:\\表\\a.out");
}

}  // namespace
}  // namespace tamvel::testing
