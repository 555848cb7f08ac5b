#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"
#include "support/file_size_limit.h"
#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel {
namespace {

namespace fs = std::filesystem;
using testing::TempPrefix;

class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_prefix.Ensure());
        m_c = fs::canonical(m_prefix.DriveC());
    }

    /// Host folders and files of a test, below drive C.
    fs::path C(const fs::path& relative = {}) const {
        return relative.empty() ? m_c : m_c / relative;
    }

    /// Names of the files in a host folder, to see that nothing was left behind.
    static std::vector<std::string> Listing(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempPrefix m_prefix;
    FileSystem m_fs{m_prefix.Drives()};
    fs::path m_c;
};

TEST_F(FileSystemTest, FullPathJoinsRelativePathsAsWindowsDoes) {
    m_prefix.MapDrive('a');
    ASSERT_EQ(m_fs.SetCurrentDirectory("C:\\temp"), kErrorSuccess);
    struct Case {
        const char* path;
        const char* full;
    };
    const Case cases[] = {
        {"x.tsp", "C:\\temp\\x.tsp"},
        {"sub\\..\\x.tsp", "C:\\temp\\x.tsp"},
        {"..\\..\\..\\x.tsp", "C:\\x.tsp"},
        {"\\x.tsp", "C:\\x.tsp"},
        {"/data/x.tsp", "C:\\data\\x.tsp"},
        {"C:x.tsp", "C:\\temp\\x.tsp"},  // the current folder of the current drive
        {"a:x.tsp", "A:\\x.tsp"},        // another drive: its root
        {"A:\\", "A:\\"},
        {"C:\\temp\\\\TamvelEnvFile.TXT", "C:\\temp\\TamvelEnvFile.TXT"},
        {"C:\\temp\\", "C:\\temp"},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},  // not ours: left as it is
        {"", ""},
    };
    for (const Case& item : cases) EXPECT_EQ(m_fs.FullPath(item.path), item.full) << item.path;
}

TEST_F(FileSystemTest, ExistsForFilesAndFoldersOnly) {
    TempPrefix::WriteFile(C("temp/Tsp.exe"));
    m_prefix.MapDrive('a');
    EXPECT_TRUE(m_fs.Exists("C:\\TEMP\\tsp.EXE"));
    EXPECT_TRUE(m_fs.Exists("C:\\temp\\"));
    EXPECT_TRUE(m_fs.Exists("A:\\"));
    EXPECT_TRUE(m_fs.Exists("\\temp\\Tsp.exe"));  // from the current drive C
    EXPECT_FALSE(m_fs.Exists("C:\\temp\\tsp.exe\\x"));
    EXPECT_FALSE(m_fs.Exists("C:\\nosuch\\Tsp.exe"));
    EXPECT_FALSE(m_fs.Exists("H:\\"));            // unmapped
    EXPECT_FALSE(m_fs.Exists("C:\\temp\\\x81"));  // not CP932
    EXPECT_FALSE(m_fs.Exists(""));
}

TEST_F(FileSystemTest, SearchPathLooksInTheOneFolderOnly) {
    TempPrefix::WriteFile(C("temp/tsp.exe"));
    TempPrefix::WriteFile(C("elsewhere/other.exe"));
    fs::create_directories(C("temp/folder.exe"));
    EXPECT_EQ(m_fs.SearchPath("C:\\temp\\", "Tsp.exe"), "C:\\temp\\Tsp.exe");
    EXPECT_EQ(m_fs.SearchPath("C:\\temp", "Tsp.exe"), "C:\\temp\\Tsp.exe");
    EXPECT_EQ(m_fs.SearchPath(m_fs.WindowsDirectory(), "Notepad.exe"),
              "C:\\WINDOWS\\Notepad.exe");  // the default editor of a new prefix
    EXPECT_FALSE(m_fs.SearchPath("C:\\temp", "other.exe"));
    EXPECT_FALSE(m_fs.SearchPath("C:\\temp", "folder.exe"));  // a folder is not a file
    EXPECT_FALSE(m_fs.SearchPath("C:\\temp", ""));
    EXPECT_FALSE(m_fs.SearchPath("Q:\\", "tsp.exe"));
}

TEST_F(FileSystemTest, CurrentDirectoryIsKeptInWindowsFormAndForTheProcess) {
    fs::create_directories(C("Work/Sub"));
    EXPECT_EQ(m_fs.CurrentDirectory(), "C:\\");
    ASSERT_EQ(m_fs.SetCurrentDirectory("c:\\work\\"), kErrorSuccess);
    EXPECT_EQ(m_fs.CurrentDirectory(), "C:\\work");  // the names as given
    EXPECT_EQ(fs::current_path(), C("Work"));
    ASSERT_EQ(m_fs.SetCurrentDirectory("sub"), kErrorSuccess);  // relative to the current one
    EXPECT_EQ(m_fs.CurrentDirectory(), "C:\\work\\sub");
    EXPECT_EQ(fs::current_path(), C("Work/Sub"));

    // A failure changes neither.
    TempPrefix::WriteFile(C("file.txt"));
    struct Case {
        const char* path;
        WinError error;
    };
    const Case failures[] = {
        {"C:\\nosuch", kErrorFileNotFound},  {"C:\\nosuch\\deeper", kErrorPathNotFound},
        {"C:\\file.txt", kErrorDirectory},   {"H:\\", kErrorNotReady},
        {"C:\\bad|name", kErrorInvalidName},
    };
    for (const Case& item : failures) {
        EXPECT_EQ(m_fs.SetCurrentDirectory(item.path), item.error) << item.path;
        EXPECT_EQ(m_fs.CurrentDirectory(), "C:\\work\\sub");
        EXPECT_EQ(fs::current_path(), C("Work/Sub"));
    }
}

TEST_F(FileSystemTest, SetCurrentDriveNeedsAReadableMappedFolder) {
    const fs::path stick = fs::canonical(m_prefix.MapDrive('a'));
    fs::create_directory_symlink(m_prefix.Root() / "no-medium",
                                 m_prefix.Prefix() / "dosdevices" / "h:");
    fs::create_directories(C("temp"));

    EXPECT_EQ(m_fs.SetCurrentDrive('h'), kErrorNotReady);
    EXPECT_EQ(m_fs.SetCurrentDrive('Q'), kErrorNotReady);
    EXPECT_EQ(m_fs.SetCurrentDrive('1'), kErrorInvalidDrive);
    ASSERT_EQ(m_fs.SetCurrentDrive('a'), kErrorSuccess);
    EXPECT_EQ(m_fs.CurrentDirectory(), "A:\\");
    EXPECT_EQ(fs::current_path(), stick);

    // The current drive keeps its current folder, as _chdrive does.
    ASSERT_EQ(m_fs.SetCurrentDirectory("C:\\temp"), kErrorSuccess);
    ASSERT_EQ(m_fs.SetCurrentDrive('C'), kErrorSuccess);
    EXPECT_EQ(m_fs.CurrentDirectory(), "C:\\temp");
}

TEST_F(FileSystemTest, CreateDirectoryMakesOneLevel) {
    EXPECT_EQ(m_fs.CreateDirectory("C:\\Work"), kErrorSuccess);
    EXPECT_TRUE(fs::is_directory(C("Work")));
    EXPECT_EQ(m_fs.CreateDirectory("C:\\work"), kErrorAlreadyExists);
    EXPECT_EQ(m_fs.CreateDirectory("C:\\a\\b"), kErrorPathNotFound);
    EXPECT_FALSE(fs::exists(C("a")));
    EXPECT_EQ(m_fs.CreateDirectory(Cp932("C:\\work\\表ポ")), kErrorSuccess);
    EXPECT_TRUE(fs::is_directory(C("Work/表ポ")));
}

TEST_F(FileSystemTest, CopyFileIntoKeepsTheNameAndReplacesSilently) {
    const fs::path installed = C("Program Files (x86)/TSP 5.1/tsp.exe");
    TempPrefix::WriteFile(installed, "new tsp");
    fs::permissions(installed, fs::perms::owner_exec, fs::perm_options::add);
    TempPrefix::WriteFile(C("temp/TSP.EXE"), "old tsp");  // the same name in other case

    EXPECT_EQ(m_fs.CopyFileInto("C:\\Program Files (x86)\\TSP 5.1\\tsp.exe", "C:\\temp\\"), 0);
    EXPECT_EQ(Listing(C("temp")), std::vector<std::string>{"TSP.EXE"});
    EXPECT_EQ(TempPrefix::ReadFile(C("temp/TSP.EXE")), "new tsp");
    EXPECT_TRUE((fs::status(C("temp/TSP.EXE")).permissions() & fs::perms::owner_exec) !=
                fs::perms::none);
}

TEST_F(FileSystemTest, CopyFileIntoFailsWithThirtyTwoOrMore) {
    TempPrefix::WriteFile(C("temp/tsp.exe"), "tsp");
    fs::create_directories(C("folder"));
    struct Case {
        const char* source;
        const char* destination;
    };
    const Case failures[] = {
        {"C:\\Program Files (x86)\\TSP 5.1\\tsp.exe", "C:\\temp\\"},  // no source
        {"C:\\folder", "C:\\temp\\"},                                 // files only
        {"Q:\\tsp.exe", "C:\\temp\\"},
        {"C:\\temp\\tsp.exe", "C:\\nosuch\\"},
        {"C:\\temp\\tsp.exe", "Q:\\"},
        {"C:\\temp\\tsp.exe", "C:\\temp"},  // onto itself
    };
    for (const Case& item : failures) {
        EXPECT_GE(m_fs.CopyFileInto(item.source, item.destination), 32)
            << item.source << " -> " << item.destination;
    }
    EXPECT_EQ(TempPrefix::ReadFile(C("temp/tsp.exe")), "tsp");
}

TEST_F(FileSystemTest, ReadAndReplaceAFile) {
    const std::string path = Cp932("C:\\temp\\表ポ.txt");
    EXPECT_FALSE(m_fs.ReadFile(path));
    ASSERT_EQ(m_fs.WriteFileReplacing(path, "first"), kErrorSuccess);
    fs::permissions(C("temp/表ポ.txt"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(m_fs.WriteFileReplacing(path, std::string("sec\0nd", 6)), kErrorSuccess);
    EXPECT_EQ(m_fs.ReadFile(path), std::string("sec\0nd", 6));
    EXPECT_EQ(fs::status(C("temp/表ポ.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);            // kept
    EXPECT_EQ(Listing(C("temp")), std::vector<std::string>{"表ポ.txt"});  // no temporary left

    EXPECT_FALSE(m_fs.ReadFile("C:\\temp"));  // a folder
    EXPECT_EQ(m_fs.WriteFileReplacing("C:\\nosuch\\x.txt", "x"), kErrorPathNotFound);
    EXPECT_EQ(m_fs.WriteFileReplacing("C:\\temp", "x"), kErrorAccessDenied);
    EXPECT_EQ(m_fs.WriteFileReplacing("Q:\\x.txt", "x"), kErrorNotReady);
    EXPECT_EQ(m_fs.WriteFileReplacing("C:\\temp\\\x81", "x"), kErrorInvalidName);
    EXPECT_TRUE(fs::is_directory(C("temp")));
}

// A write that fails half-way (here: the file-size limit, which stops root too) leaves the
// old file whole and no temporary file behind.
TEST_F(FileSystemTest, AFailedReplaceLeavesTheOldFileWhole) {
    ASSERT_EQ(m_fs.WriteFileReplacing("C:\\temp\\env.txt", "good"), kErrorSuccess);
    WinError result = kErrorSuccess;
    {
        testing::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        result = m_fs.WriteFileReplacing("C:\\temp\\env.txt", std::string(1000, 'x'));
    }
    EXPECT_EQ(result, kErrorFileTooLarge);
    EXPECT_EQ(m_fs.ReadFile("C:\\temp\\env.txt"), "good");
    EXPECT_EQ(Listing(C("temp")), std::vector<std::string>{"env.txt"});
}

TEST_F(FileSystemTest, AReadOnlyFolderKeepsItsFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    fs::create_directories(C("locked"));
    ASSERT_EQ(m_fs.WriteFileReplacing("C:\\locked\\env.txt", "good"), kErrorSuccess);
    fs::permissions(C("locked"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(m_fs.WriteFileReplacing("C:\\locked\\env.txt", "bad"), kErrorAccessDenied);
    fs::permissions(C("locked"), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(m_fs.ReadFile("C:\\locked\\env.txt"), "good");
}

}  // namespace
}  // namespace tamvel
