#include "platform/recent_file_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

class RecentFileListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_dir = m_temp.Path();
        m_file = m_dir / "config" / "Tamvel.conf";
    }

    std::string FileText() const {
        std::ifstream in(m_file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteFileText(const std::string& text) const {
        std::filesystem::create_directories(m_file.parent_path());
        std::ofstream(m_file, std::ios::binary) << text;
    }

    testing::TempFolder m_temp{"recent"};
    std::filesystem::path m_dir;
    std::filesystem::path m_file;
};

using Paths = std::vector<std::filesystem::path>;

TEST_F(RecentFileListTest, KeepsTheLastFourNewestFirstWithoutDuplicates) {
    RecentFileList list(m_file);
    for (const char* name : {"/w/a.tsp", "/w/b.tsp", "/w/c.tsp", "/w/d.tsp", "/w/e.tsp"}) {
        ASSERT_TRUE(list.Record(name));
    }
    EXPECT_EQ(list.Entries(), (Paths{"/w/e.tsp", "/w/d.tsp", "/w/c.tsp", "/w/b.tsp"}));

    ASSERT_TRUE(list.Record("/w/c.tsp"));
    EXPECT_EQ(list.Entries(), (Paths{"/w/c.tsp", "/w/e.tsp", "/w/d.tsp", "/w/b.tsp"}));
    EXPECT_EQ(
        FileText(),
        "[Recent File List]\nFile1=/w/c.tsp\nFile2=/w/e.tsp\nFile3=/w/d.tsp\nFile4=/w/b.tsp\n");

    RecentFileList reread(m_file);
    reread.Load();
    EXPECT_EQ(reread.Entries(), list.Entries());
}

TEST_F(RecentFileListTest, RecordKeepsWhatAnotherCopyAddedMeanwhile) {
    RecentFileList one(m_file), other(m_file);
    ASSERT_TRUE(one.Record("/w/a.tsp"));
    ASSERT_TRUE(other.Record("/w/b.tsp"));
    ASSERT_TRUE(one.Record("/w/c.tsp"));
    EXPECT_EQ(one.Entries(), (Paths{"/w/c.tsp", "/w/b.tsp", "/w/a.tsp"}));
}

TEST_F(RecentFileListTest, RelativePathsAreStoredFull) {
    RecentFileList list(m_file);
    list.Add("sub/../x.tsp");
    EXPECT_EQ(list.Entries(), (Paths{std::filesystem::current_path() / "x.tsp"}));
}

TEST_F(RecentFileListTest, NamesWithBackslashesAndLineBreaksSurviveTheFile) {
    const std::filesystem::path odd = "/w/a\\b\nc\td.tsp";
    RecentFileList list(m_file);
    ASSERT_TRUE(list.Record(odd));
    EXPECT_EQ(FileText(), "[Recent File List]\nFile1=/w/a\\\\b\\nc\\td.tsp\n");
    RecentFileList reread(m_file);
    reread.Load();
    EXPECT_EQ(reread.Entries(), (Paths{odd}));
}

TEST_F(RecentFileListTest, ReadsOnlyItsSectionInKeyOrderAndSkipsDamage) {
    WriteFileText(
        "File1=/outside/section.tsp\n"
        "[Recent File List]\r\n"
        "File3=/w/three.tsp\r\n"
        "garbage line\n"
        "File1=/w/one.tsp\n"
        "FileX=/w/bad-key.tsp\n"
        "File2=\n"
        "File4=/w/one.tsp\n"
        "[Other]\n"
        "File2=/w/other-section.tsp\n");
    RecentFileList list(m_file);
    list.Load();
    EXPECT_EQ(list.Entries(), (Paths{"/w/one.tsp", "/w/three.tsp"}));
}

TEST_F(RecentFileListTest, MissingFileGivesAnEmptyList) {
    RecentFileList list(m_file);
    list.Add("/w/a.tsp");
    list.Load();
    EXPECT_TRUE(list.Entries().empty());
}

TEST_F(RecentFileListTest, UnwritableFileIsReportedAsNotSaved) {
    WriteFileText("");
    std::filesystem::create_directory(m_file.parent_path() / "blocked");
    RecentFileList list(m_file.parent_path() / "blocked");  // a folder stands where the file goes
    list.Add("/w/a.tsp");
    EXPECT_FALSE(list.Save());
}

TEST_F(RecentFileListTest, LivesInTheUsersConfigurationUnderTheRegistryKey) {
    testing::ScopedEnv config("XDG_CONFIG_HOME", m_dir.c_str());
    EXPECT_EQ(RecentFileList::DefaultFile("Tamvel"),
              m_dir / "Local AppWizard-Generated Applications" / "Tamvel.conf");
}

}  // namespace
}  // namespace tamvel
