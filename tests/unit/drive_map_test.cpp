#include "platform/drive_map.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "platform/text.h"
#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;
using testing::TempPrefix;

class DriveMapTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_prefix.Ensure()); }

    const DriveMap& Drives() const { return m_prefix.Drives(); }
    fs::path DriveC() const { return fs::canonical(m_prefix.DriveC()); }

    TempPrefix m_prefix;
};

TEST_F(DriveMapTest, NewPrefixHasDrivesCAndZAndTheDefaultEditor) {
    const fs::path dosdevices = m_prefix.Prefix() / "dosdevices";
    EXPECT_EQ(fs::read_symlink(dosdevices / "c:"), "../drive_c");
    EXPECT_EQ(fs::read_symlink(dosdevices / "z:"), "/");
    EXPECT_TRUE(fs::is_directory(m_prefix.DriveC() / "temp"));
    const fs::path editor = m_prefix.DriveC() / "windows" / "notepad.exe";
    struct stat info {};
    ASSERT_EQ(::stat(editor.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);
    EXPECT_EQ(TempPrefix::ReadFile(editor).rfind("#!/bin/sh\n", 0), 0u);
    EXPECT_EQ(Drives().DriveRoot('c'), DriveC());
    EXPECT_EQ(Drives().DriveRoot('Z'), fs::path("/"));
}

TEST_F(DriveMapTest, EnsurePrefixLeavesWhatIsThereAlone) {
    const fs::path dosdevices = m_prefix.Prefix() / "dosdevices";
    const fs::path editor = m_prefix.DriveC() / "windows" / "notepad.exe";
    TempPrefix::WriteFile(editor, "mine");
    fs::remove(dosdevices / "z:");
    fs::create_directory_symlink(m_prefix.Root(),
                                 dosdevices / "Z:");  // the user's own, in capitals
    ASSERT_TRUE(m_prefix.Ensure());
    EXPECT_EQ(TempPrefix::ReadFile(editor), "mine");
    EXPECT_FALSE(fs::exists(fs::symlink_status(dosdevices / "z:")));
    EXPECT_EQ(Drives().DriveRoot('z'), fs::canonical(m_prefix.Root()));
}

TEST_F(DriveMapTest, ADriveIsAvailableOnlyWhenItsLinkLeadsToAFolder) {
    const fs::path dosdevices = m_prefix.Prefix() / "dosdevices";
    const fs::path stick = m_prefix.MapDrive('a');
    TempPrefix::WriteFile(m_prefix.Root() / "plain-file");
    fs::create_directory_symlink(m_prefix.Root() / "gone", dosdevices / "h:");
    fs::create_symlink(m_prefix.Root() / "plain-file", dosdevices / "d:");

    EXPECT_EQ(Drives().DriveRoot('A'), fs::canonical(stick));
    EXPECT_FALSE(Drives().DriveRoot('h'));  // its folder is not there (no medium)
    EXPECT_FALSE(Drives().DriveRoot('d'));  // a file, not a folder
    EXPECT_FALSE(Drives().DriveRoot('q'));  // no link at all
    EXPECT_FALSE(Drives().DriveRoot('1'));
}

TEST_F(DriveMapTest, ToHostResolvesEachNameExactlyElseWithoutCase) {
    TempPrefix::WriteFile(m_prefix.DriveC() / "temp" / "tsp.exe");
    TempPrefix::WriteFile(m_prefix.DriveC() / "Data" / "Model.TSP");
    TempPrefix::WriteFile(m_prefix.DriveC() / "both" / "x.txt");
    TempPrefix::WriteFile(m_prefix.DriveC() / "both" / "X.txt");
    const fs::path c = DriveC();
    struct Case {
        std::string windows;
        fs::path host;
    };
    const Case cases[] = {
        {"C:\\", c},
        {"c:", c},
        {"C:\\temp\\Tsp.EXE", c / "temp" / "tsp.exe"},
        {"C:\\DATA\\model.tsp", c / "Data" / "Model.TSP"},
        {"C:/data/MODEL.tsp", c / "Data" / "Model.TSP"},
        {"C:\\both\\X.txt", c / "both" / "X.txt"},  // the exact name wins
        {"C:\\both\\x.TXT", c / "both" / "X.txt"},  // else the first match in byte order
        // Names that do not exist are kept as given, also below a missing folder.
        {"C:\\Temp\\New.tsp", c / "temp" / "New.tsp"},
        {"C:\\NoSuch\\Data\\x", c / "NoSuch" / "Data" / "x"},
        // A doubled backslash reads as one.
        {"C:\\temp\\\\TamvelEnvFile.TXT", c / "temp" / "TamvelEnvFile.TXT"},
        // "." and ".." fold as Windows folds them and never climb above the drive's root.
        {"C:\\temp\\.\\..\\Data\\.\\Model.tsp", c / "Data" / "Model.TSP"},
        {"C:\\..\\..\\..\\etc\\passwd", c / "etc" / "passwd"},
        {"C:\\temp\\..\\..\\..", c},
        {"C:..\\dosdevices", c / "dosdevices"},
    };
    for (const Case& item : cases) {
        EXPECT_EQ(Drives().ToHost(item.windows), item.host) << item.windows;
    }
}

TEST_F(DriveMapTest, ToHostFailsForWhatHasNoHostPath) {
    const char* const paths[] = {
        "Q:\\x.tsp",             // unmapped drive
        "temp\\x.tsp",           // not a full path
        "\\\\server\\share\\x",  // network path
        "",
        "C:\\a|b.tsp",  // a name Windows cannot hold
        "C:\\temp\\x?.tsp",
        "C:\\temp\\\x81",      // a lead byte without its trail byte
        "C:\\temp\\\x85\x40",  // a double-byte code CP932 leaves unassigned
    };
    for (const char* path : paths) {
        EXPECT_FALSE(Drives().ToHost(path)) << path;
    }
    EXPECT_EQ(Drives().Resolve("Q:\\x").error, kErrorNotReady);
    EXPECT_EQ(Drives().Resolve("C:\\a|b").error, kErrorInvalidName);
}

TEST_F(DriveMapTest, JapaneseNamesWhoseTrailBytesLookLikeSeparatorsResolve) {
    // "表" is 0x95 0x5C and "ポ" is 0x83 0x7C: neither trail byte separates or is refused.
    TempPrefix::WriteFile(m_prefix.DriveC() / "表ポ" / "ソース.tsp");
    const std::string windows = Cp932("C:\\表ポ\\ソース.TSP");
    EXPECT_EQ(Drives().ToHost(windows), DriveC() / "表ポ" / "ソース.tsp");
    EXPECT_EQ(Drives().ToWindows(DriveC() / "表ポ" / "ソース.tsp"), Cp932("C:\\表ポ\\ソース.tsp"));
}

TEST_F(DriveMapTest, ToWindowsTakesTheDriveWithTheLongestRootElseZ) {
    const fs::path stick = fs::canonical(m_prefix.MapDrive('a'));
    const fs::path c = DriveC();
    EXPECT_EQ(Drives().ToWindows(c / "temp" / "x.tsp"), "C:\\temp\\x.tsp");
    EXPECT_EQ(Drives().ToWindows(c), "C:\\");
    EXPECT_EQ(Drives().ToWindows(c / "temp" / ""), "C:\\temp");
    EXPECT_EQ(Drives().ToWindows(stick / "sub" / "a.tsp"), "A:\\sub\\a.tsp");
    // Through the link itself, as a native dialog may give it.
    EXPECT_EQ(Drives().ToWindows(m_prefix.Prefix() / "dosdevices" / "a:" / "a.tsp"), "A:\\a.tsp");
    EXPECT_EQ(Drives().ToWindows("/usr/bin/../lib"), "Z:\\usr\\lib");
    EXPECT_EQ(Drives().ToWindows("/"), "Z:\\");

    // Without a z: link every host path still has a Z: name.
    fs::remove(m_prefix.Prefix() / "dosdevices" / "z:");
    EXPECT_EQ(Drives().ToWindows("/usr/lib"), "Z:\\usr\\lib");
}

TEST_F(DriveMapTest, ToWindowsRefusesNamesThatWouldLeadToAnotherFile) {
    const fs::path c = DriveC();
    EXPECT_FALSE(Drives().ToWindows(c / "a\\b"));  // would read as folder a, file b
    EXPECT_FALSE(Drives().ToWindows(c / "a:b"));
    EXPECT_FALSE(Drives().ToWindows(c / "smile-😀"));  // no such character in CP932
    EXPECT_FALSE(Drives().ToWindows(c / "\xC3"));     // not UTF-8
}

TEST(DriveMapPrefix, DefaultPrefixFollowsTheEnvironment) {
    testing::ScopedEnv environment;
    environment.Set("HOME", "/home/student");
    environment.Set("TAMVEL_PREFIX", nullptr);
    environment.Set("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(DriveMap::DefaultPrefix(), "/home/student/.local/share/tamvel");
    environment.Set("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(DriveMap::DefaultPrefix(), "/home/student/.local/share/tamvel");
    environment.Set("XDG_DATA_HOME", "/data");
    EXPECT_EQ(DriveMap::DefaultPrefix(), "/data/tamvel");
    environment.Set("TAMVEL_PREFIX", "/opt/prefix");
    EXPECT_EQ(DriveMap::DefaultPrefix(), "/opt/prefix");
}

}  // namespace
}  // namespace tamvel
