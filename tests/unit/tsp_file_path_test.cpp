#include "wizard/tsp_file_path.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

using testing::TempPrefix;

constexpr const char* kNameMissing = "ＴＳＰファイル名を入力してください";
constexpr const char* kFolderWrong = "入力されたフォルダ名が誤っています。";
constexpr const char* kFileExists = "同名ファイルが存在します。";

class TspFilePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "existing.tsp", "kept");
        std::filesystem::create_directories(m_prefix.DriveC() / "temp" / "folder.tsp");
    }

    TempPrefix m_prefix;
    FileSystem m_fs{m_prefix.Drives()};
};

TEST_F(TspFilePathTest, TypedNamesBecomeNewPathsOrAreRefused) {
    struct Case {
        std::string typed;
        std::string saveFolder;
        std::string path;     // the path made, or empty
        const char* refusal;  // UTF-8 message, or nullptr
    };
    const Case cases[] = {
        {"test", "C:\\temp\\", "C:\\temp\\test.tsp", nullptr},
        {"test.txt", "C:\\temp\\", "C:\\temp\\test.tsp", nullptr},
        {"test.TSP", "C:\\temp\\", "C:\\temp\\test.TSP", nullptr},
        {"a.b.c", "C:\\temp\\", "C:\\temp\\a.b.tsp", nullptr},
        {"test.", "C:\\temp\\", "C:\\temp\\test.tsp", nullptr},
        {"D:\\work\\a", "C:\\temp\\", "D:\\work\\a.tsp", nullptr},
        {"sub\\x", "C:\\temp\\", "C:\\temp\\sub\\x.tsp", nullptr},
        {"a", "D:\\work", "D:\\work\\a.tsp", nullptr},
        {"a", "D:\\work\\", "D:\\work\\a.tsp", nullptr},
        {"a", "", "\\a.tsp", nullptr},
        // "表" ends in the byte of '\' but is no separator; "．" is no dot.
        {"a", Cp932("C:\\表"), Cp932("C:\\表\\a.tsp"), nullptr},
        {Cp932("表"), "C:\\temp\\", Cp932("C:\\temp\\表.tsp"), nullptr},
        {Cp932("モデル．txt"), "C:\\temp\\", Cp932("C:\\temp\\モデル．txt.tsp"), nullptr},
        {"", "C:\\temp\\", "", kNameMissing},
        {"D:a", "C:\\temp\\", "", kFolderWrong},
        {"x:y", "C:\\temp\\", "", kFolderWrong},
        {"C:", "C:\\temp\\", "", kFolderWrong},
        {"sub\\D:\\x", "C:\\temp\\", "", kFolderWrong},
        {"existing", "C:\\temp\\", "", kFileExists},
        {"EXISTING.tsp", "C:\\temp", "", kFileExists},
        {"existing.txt", "C:\\temp\\", "", kFileExists},
        {"C:\\temp\\existing", "D:\\work", "", kFileExists},
        {"folder", "C:\\temp\\", "", kFileExists},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed + "\" in \"" + c.saveFolder + "\"");
        const TspFilePathResult result = MakeTspFilePath(c.typed, c.saveFolder, m_fs);
        if (c.refusal == nullptr) {
            EXPECT_EQ(result.path, c.path);
            EXPECT_EQ(result.refusal, "");
        } else {
            EXPECT_EQ(result.path, std::nullopt);
            EXPECT_EQ(result.refusal, Cp932(c.refusal));
        }
    }
    EXPECT_EQ(TempPrefix::ReadFile(m_prefix.DriveC() / "temp" / "existing.tsp"), "kept");
}

}  // namespace
}  // namespace tamvel
