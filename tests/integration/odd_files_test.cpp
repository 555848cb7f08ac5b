// Files that are not what they seem: links, devices, FIFOs, sockets and folders where a file
// is read or replaced, temporary files of killed writers, read-only files and folders that
// take no new file. Every node is made in the test's own temporary folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "environment/environment_file.h"
#include "panel/deployment_config.h"
#include "panel/tamvel_doc.h"
#include "platform/desktop_registration.h"
#include "platform/host_file.h"
#include "platform/recent_file_list.h"
#include "platform/unique_fd.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

/// A socket file bound at `path`, kept open for the test's life.
UniqueFd MakeSocket(const fs::path& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) fd.Reset();
    return fd;
}

/// A character device node like the null device, made in the test's folder; false where
/// this process may not make one.
bool MakeDeviceNode(const fs::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
}

/// What stands at a path, links not followed.
fs::file_type TypeAt(const fs::path& path) {
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type();
}

class OddFilesTest : public ::testing::Test {
  protected:
    fs::path Dir() const { return m_prefix.Root(); }

    /// Names in the test's folder that look like the replacing write's temporary files.
    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".tamvel-")) names.push_back(name);
        }
        return names;
    }

    TempPrefix m_prefix;
};

TEST_F(OddFilesTest, ALinkIsReplacedInItsPlaceAndWhatItPointsToIsLeftAlone) {
    const fs::path elsewhere = Dir() / "elsewhere.txt";
    TempPrefix::WriteFile(elsewhere, "precious");
    fs::create_symlink(elsewhere, Dir() / "to-file");
    const bool haveDevice = MakeDeviceNode(Dir() / "device");
    if (haveDevice) fs::create_symlink(Dir() / "device", Dir() / "to-device");
    fs::create_symlink(Dir() / "nowhere", Dir() / "dangling");

    std::vector<std::string> links = {"to-file", "dangling"};
    if (haveDevice) links.push_back("to-device");
    for (const std::string& link : links) {
        SCOPED_TRACE(link);
        EXPECT_EQ(ReplaceHostFile(Dir() / link, "new", 0755), kErrorSuccess);
        EXPECT_EQ(TypeAt(Dir() / link), fs::file_type::regular);
        EXPECT_EQ(TempPrefix::ReadFile(Dir() / link), "new");
    }
    EXPECT_EQ(TempPrefix::ReadFile(elsewhere), "precious");
    EXPECT_EQ(TypeAt(Dir() / "nowhere"), fs::file_type::not_found);
    if (haveDevice) {
        EXPECT_EQ(TypeAt(Dir() / "device"), fs::file_type::character);
    }
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
    if (!haveDevice) GTEST_SKIP() << "no device node may be made here";
}

TEST_F(OddFilesTest, AnythingButARegularFileOrALinkIsNeverReplaced) {
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> make;
        fs::file_type type;
    };
    UniqueFd socket;
    const Case cases[] = {
        {"folder", [](const fs::path& p) { return fs::create_directory(p); },
         fs::file_type::directory},
        {"fifo", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0600) == 0; },
         fs::file_type::fifo},
        {"socket", [&](const fs::path& p) { return (socket = MakeSocket(p)).Valid(); },
         fs::file_type::socket},
        {"device", MakeDeviceNode, fs::file_type::character},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = Dir() / c.name;
        if (!c.make(path)) continue;  // a device node where none may be made
        // Through a future, so that a write that blocks fails the test instead of hanging it.
        auto write = std::async(std::launch::async, [&] { return ReplaceHostFile(path, "x"); });
        ASSERT_EQ(write.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(write.get(), kErrorAccessDenied);
        EXPECT_EQ(TypeAt(path), c.type);
    }
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

// Every reader opens without waiting for a writer and takes regular files only: a FIFO at
// its path counts as unreadable and start-up goes on.
TEST_F(OddFilesTest, AFifoAtAnyReadPathIsUnreadableAtOnce) {
    const fs::path fifo = Dir() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path dataHome = Dir() / "data";
    fs::create_directories(dataHome / "applications");
    ASSERT_EQ(::mkfifo((dataHome / "applications" / "tamvel.desktop").c_str(), 0600), 0);
    ASSERT_TRUE(m_prefix.Ensure());
    const fs::path envFile = m_prefix.DriveC() / "TamvelEnvFile.TXT";
    ASSERT_EQ(::mkfifo(envFile.c_str(), 0600), 0);

    struct Case {
        const char* reader;
        std::function<bool()> readsNothing;
    };
    const Case cases[] = {
        {"host file", [&] { return !ReadHostFile(fifo) && !IsReadableHostFile(fifo); }},
        {"environment file",
         [&] {
             FileSystem fileSystem(m_prefix.Drives());
             WorkingEnvironment environment{"kept", "kept", "kept", "kept"};
             LoadEnvironment(fileSystem, "C:\\TamvelEnvFile.TXT", environment);
             return environment.tspExe == "kept";
         }},
        {"deployment configuration",
         [&] {
             return DeploymentConfig::LoadFile(fifo).seminar ==
                    DeploymentConfig::Defaults().seminar;
         }},
        {"recent-file list",
         [&] {
             RecentFileList list(fifo);
             list.Load();
             return list.Entries().empty();
         }},
        {"document", [&] { return !CTamvelDoc().OnOpenDocument(fifo); }},
        {"desktop entry",
         [&] {
             // The FIFO stands where the entry is looked for: it is neither read nor replaced.
             return !RegisterFileTypeForUser("/usr/bin/tamvel", dataHome, "").wroteDesktopEntry;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reader);
        auto read = std::async(std::launch::async, c.readsNothing);
        if (read.wait_for(5s) != std::future_status::ready) {
            // Let the blocked reader go (a writer appears), then fail.
            for (const fs::path& path : {fifo, envFile, dataHome / "applications/tamvel.desktop"}) {
                UniqueFd release(::open(path.c_str(), O_RDWR | O_NONBLOCK));
            }
            read.wait();
            ADD_FAILURE() << "the reader waited for a writer";
            continue;
        }
        EXPECT_TRUE(read.get());
    }
}

TEST_F(OddFilesTest, TemporaryFilesOfWritersThatAreGoneAreRemovedByTheNextWrite) {
    // A process that has ended, and one that runs (this test's parent).
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".tamvel-" + std::to_string(gone) + "-7.tmp";
    const std::string running = ".tamvel-" + std::to_string(::getppid()) + "-0.tmp";
    const std::string own = ".tamvel-" + std::to_string(::getpid()) + "-999.tmp";
    const std::vector<std::string> others = {".tamvel-x-1.tmp", ".tamvel-" + std::to_string(gone),
                                             "notes.tmp"};
    for (const std::string& name : std::vector<std::string>{stale, running, own}) {
        TempPrefix::WriteFile(Dir() / name, std::string(1000, 'x'));
    }
    for (const std::string& name : others) TempPrefix::WriteFile(Dir() / name);
    fs::create_directory(Dir() / (".tamvel-" + std::to_string(gone) + "-8.tmp"));  // a folder

    ASSERT_EQ(ReplaceHostFile(Dir() / "env.txt", "saved"), kErrorSuccess);
    EXPECT_FALSE(fs::exists(Dir() / stale));
    for (const std::string& name : std::vector<std::string>{running, own}) {
        EXPECT_TRUE(fs::exists(Dir() / name)) << name;
    }
    for (const std::string& name : others) EXPECT_TRUE(fs::exists(Dir() / name)) << name;
    EXPECT_TRUE(fs::is_directory(Dir() / (".tamvel-" + std::to_string(gone) + "-8.tmp")));
}

// A read-only file is left alone, root's writes included, as an open for writing finds it.
TEST_F(OddFilesTest, AReadOnlyFileIsLeftAloneAndNothingIsWritten) {
    ASSERT_TRUE(m_prefix.Ensure());
    FileSystem fileSystem(m_prefix.Drives());
    const fs::path file = m_prefix.DriveC() / "temp" / "TamvelEnvFile.TXT";
    const WorkingEnvironment before{"C:\\a.exe", "C:\\b.exe", "C:\\temp", "C:\\c.tsp"};
    ASSERT_TRUE(SaveEnvironment(fileSystem, before));
    const std::string bytes = TempPrefix::ReadFile(file);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    WorkingEnvironment after = before;
    after.tspFile = "C:\\d.tsp";
    EXPECT_FALSE(SaveEnvironment(fileSystem, after));
    EXPECT_EQ(TempPrefix::ReadFile(file), bytes);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(file.parent_path()), {}),
              std::vector<fs::path>{file});
}

// A folder that takes no new file (the stick's root, read-only for this user) still has its
// writable file updated: rewritten in place. Root is not stopped by permission bits, so the
// write runs as another user there.
TEST_F(OddFilesTest, AWritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace) {
    const fs::path folder = Dir() / "locked";
    fs::create_directory(folder);
    const fs::path file = folder / "TamvelEnvFile.TXT";
    TempPrefix::WriteFile(file, "old content that is longer");
    const uid_t user = ::geteuid() == 0 ? 65534 : ::geteuid();
    ASSERT_EQ(::chown(Dir().c_str(), user, user), 0);
    ASSERT_EQ(::chown(folder.c_str(), user, user), 0);
    ASSERT_EQ(::chown(file.c_str(), user, user), 0);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(user) != 0 || ::setuid(user) != 0)) ::_exit(100);
        // The temporary file cannot be made, the in-place write goes through.
        ::_exit(static_cast<int>(ReplaceHostFile(file, "new")));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(folder, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "could not take another user's part";
    EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(kErrorSuccess));
    EXPECT_EQ(TempPrefix::ReadFile(file), "new");
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(folder), {}),
              std::vector<fs::path>{file});
}

}  // namespace
}  // namespace tamvel::testing
