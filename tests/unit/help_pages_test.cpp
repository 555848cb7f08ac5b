#include "panel/help_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/host_file.h"
#include "platform/text.h"
#include "support/temp_folder.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpFolder = TAMVEL_HELP_SOURCE_DIR;

const char* const kHelpKeys[] = {"help_screen",
                                 "help_tsp",
                                 "help_data_collection",
                                 "guide_macro_series",
                                 "guide_financial_series",
                                 "guide_financial_cross"};

std::string ReadFile(const fs::path& file) { return ReadHostFile(file).value_or(""); }

std::vector<fs::path> HtmlPages() {
    std::vector<fs::path> pages;
    for (const fs::directory_entry& entry : fs::directory_iterator(kHelpFolder)) {
        if (entry.path().extension() == ".html") pages.push_back(entry.path());
    }
    return pages;
}

// The values of every href and src attribute of a page.
std::vector<std::string> References(const std::string& html) {
    static const std::regex attribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(html.begin(), html.end(), attribute), end; it != end; ++it) {
        found.push_back((*it)[1].str());
    }
    return found;
}

bool IsOutsideAddress(const std::string& reference) {
    return reference.starts_with("http:") || reference.starts_with("https:") ||
           reference.starts_with("mailto:");
}

TEST(HelpPages, EveryHelpKeyHasItsPageInTheHelpFolder) {
    for (const char* key : kHelpKeys) {
        SCOPED_TRACE(key);
        const std::string_view page = ShippedHelpPage(key);
        ASSERT_FALSE(page.empty());
        EXPECT_TRUE(fs::is_regular_file(kHelpFolder / page));
    }
    for (const char* key : {"tsp_command_site", "webmail", "teacher_page", "web_disk", ""}) {
        EXPECT_EQ(ShippedHelpPage(key), "") << key;
    }
}

TEST(HelpPages, PagesAreUtf8AndEveryLinkAndImageResolvesInsideTheHelpFolder) {
    const std::vector<fs::path> pages = HtmlPages();
    ASSERT_FALSE(pages.empty());
    for (const fs::path& page : pages) {
        SCOPED_TRACE(page.filename().string());
        const std::string html = ReadFile(page);
        EXPECT_TRUE(Utf8ToCp932(html).has_value()) << "not UTF-8 (or not plain Japanese)";
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
        for (const std::string& reference : References(html)) {
            SCOPED_TRACE(reference);
            if (IsOutsideAddress(reference)) continue;
            ASSERT_FALSE(reference.starts_with("/") || reference.starts_with("file:"));
            const std::size_t hash = reference.find('#');
            const std::string file = reference.substr(0, hash);
            const fs::path target = file.empty() ? page : kHelpFolder / file;
            ASSERT_TRUE(fs::is_regular_file(target));
            EXPECT_EQ(fs::weakly_canonical(target).parent_path(), fs::canonical(kHelpFolder));
            if (hash != std::string::npos) {
                const std::string id = "id=\"" + reference.substr(hash + 1) + "\"";
                EXPECT_NE(ReadFile(target).find(id), std::string::npos) << "no such anchor";
            }
        }
    }
}

TEST(HelpPages, IndexLinksEveryPage) {
    std::set<std::string> linked;
    for (const std::string& reference : References(ReadFile(kHelpFolder / "index.html"))) {
        linked.insert(reference.substr(0, reference.find('#')));
    }
    for (const fs::path& page : HtmlPages()) {
        EXPECT_TRUE(linked.contains(page.filename().string())) << page.filename();
    }
}

TEST(HelpPages, FileUrlsAreAsciiWithReservedBytesEncoded) {
    EXPECT_EQ(FileUrl("/usr/share/tamvel/help/screen.html"),
              "file:///usr/share/tamvel/help/screen.html");
    EXPECT_EQ(FileUrl("/home/a b/ヘルプ/x#1.html"),
              "file:///home/a%20b/%E3%83%98%E3%83%AB%E3%83%97/x%231.html");
}

class HelpFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_prefix.empty());
        fs::create_directories(m_prefix / "bin");
    }
    testing::TempFolder m_folder{"tamvel-help"};
    const fs::path& m_prefix = m_folder.Path();
};

TEST_F(HelpFolderTest, InstalledPagesBesideTheProgramComeFirst) {
    const fs::path installed = m_prefix / "share/tamvel/help";
    fs::create_directories(installed);
    std::ofstream(installed / "index.html") << "<!DOCTYPE html>";
    EXPECT_EQ(FindHelpFolder(m_prefix / "bin/tamvel"), installed);
}

TEST_F(HelpFolderTest, ProgramOutsideAnInstallationUsesTheSourceCopy) {
    EXPECT_EQ(FindHelpFolder(m_prefix / "bin/tamvel"), kHelpFolder);
    // An installed folder without its pages does not count.
    fs::create_directories(m_prefix / "share/tamvel/help");
    EXPECT_EQ(FindHelpFolder(m_prefix / "bin/tamvel"), kHelpFolder);
}

TEST(HelpPages, DefaultAddressOfTheTestProgramIsTheSourcePage) {
    EXPECT_EQ(DefaultHelpAddress("help_screen"), FileUrl(kHelpFolder / "screen.html"));
    EXPECT_EQ(DefaultHelpAddress("guide_financial_cross"),
              FileUrl(kHelpFolder / "guide_financial_cross.html"));
    EXPECT_EQ(DefaultHelpAddress("webmail"), "");
}

}  // namespace
}  // namespace tamvel
