#include "platform/desktop_registration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace tamvel {
namespace {

class DesktopRegistrationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.Path().empty());
        m_dir = m_temp.Path();
        m_home = m_dir / "home";
        m_system = m_dir / "system";
    }

    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::filesystem::path UserEntry() const { return m_home / "applications" / "tamvel.desktop"; }
    std::filesystem::path UserMime() const { return m_home / "mime" / "packages" / "tamvel.xml"; }
    std::string SystemDirs() const { return "/nonexistent:" + m_system.string(); }

    testing::TempFolder m_temp{"desktop"};
    std::filesystem::path m_dir, m_home, m_system;
};

TEST(DesktopEntryTextTest, ExecStartsTheProgramWithTheFileQuotedAsTheDesktopNeeds) {
    const struct {
        const char* program;
        const char* exec;
    } cases[] = {
        {"/usr/bin/tamvel", "Exec=/usr/bin/tamvel %f\n"},
        {"/opt/my apps/tamvel", "Exec=\"/opt/my apps/tamvel\" %f\n"},
        {"/opt/100%/t$x", "Exec=\"/opt/100%%/t\\\\$x\" %f\n"},
        {"/opt/a\"b\\c", "Exec=\"/opt/a\\\\\"b\\\\\\\\c\" %f\n"},
    };
    for (const auto& c : cases) {
        const std::string text = DesktopEntryText(c.program);
        EXPECT_NE(text.find(c.exec), std::string::npos) << c.program << "\n" << text;
    }
    EXPECT_EQ(DesktopEntryText("/opt/line\nbreak"), "");
}

TEST(DesktopEntryTextTest, NamesTheTspType) {
    const std::string entry = DesktopEntryText("/usr/bin/tamvel");
    EXPECT_NE(entry.find("MimeType=text/x-tsp;\n"), std::string::npos);
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n"));
    const std::string_view mime = MimePackageText();
    EXPECT_NE(mime.find("<mime-type type=\"text/x-tsp\">"), std::string_view::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.tsp\"/>"), std::string_view::npos);
}

TEST_F(DesktopRegistrationTest, WritesBothFilesForTheUserWhereTheDesktopHasNone) {
    const FileTypeRegistration done =
        RegisterFileTypeForUser("/usr/bin/tamvel", m_home, SystemDirs());
    EXPECT_TRUE(done.wroteDesktopEntry);
    EXPECT_TRUE(done.wroteMimePackage);
    EXPECT_EQ(Read(UserMime()), MimePackageText());
    EXPECT_NE(Read(UserEntry()).find(DesktopEntryText("/usr/bin/tamvel")), std::string::npos);

    // Nothing to do on the next start.
    const FileTypeRegistration again =
        RegisterFileTypeForUser("/usr/bin/tamvel", m_home, SystemDirs());
    EXPECT_FALSE(again.wroteDesktopEntry);
    EXPECT_FALSE(again.wroteMimePackage);
}

TEST_F(DesktopRegistrationTest, InstalledFilesAreNotDuplicatedForTheUser) {
    Write(m_system / "applications" / "tamvel.desktop", "[Desktop Entry]\n");
    Write(m_system / "mime" / "packages" / "tamvel.xml", "<mime-info/>\n");
    const FileTypeRegistration done =
        RegisterFileTypeForUser("/usr/bin/tamvel", m_home, SystemDirs());
    EXPECT_FALSE(done.wroteDesktopEntry);
    EXPECT_FALSE(done.wroteMimePackage);
    EXPECT_FALSE(std::filesystem::exists(UserEntry()));
    EXPECT_FALSE(std::filesystem::exists(UserMime()));
}

TEST_F(DesktopRegistrationTest, OwnEntryFollowsTheProgramButTheUsersOwnStays) {
    RegisterFileTypeForUser("/old/place/tamvel", m_home, SystemDirs());
    EXPECT_TRUE(
        RegisterFileTypeForUser("/new/place/tamvel", m_home, SystemDirs()).wroteDesktopEntry);
    EXPECT_NE(Read(UserEntry()).find("Exec=/new/place/tamvel %f"), std::string::npos);

    Write(UserEntry(), "[Desktop Entry]\nExec=my-wrapper %f\n");
    EXPECT_FALSE(
        RegisterFileTypeForUser("/new/place/tamvel", m_home, SystemDirs()).wroteDesktopEntry);
    EXPECT_EQ(Read(UserEntry()), "[Desktop Entry]\nExec=my-wrapper %f\n");
}

TEST_F(DesktopRegistrationTest, WrittenEntryPassesTheDesktopValidator) {
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    RegisterFileTypeForUser("/opt/my apps/tamvel", m_home, SystemDirs());
    const std::string command = "desktop-file-validate '" + UserEntry().string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace tamvel
