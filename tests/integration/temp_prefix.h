#pragma once
// A fresh prefix for one test, in a temporary folder removed afterwards; TAMVEL_PREFIX
// points at it so a started program uses it too, and XDG_CONFIG_HOME points beside it so
// the recent-file list and the deployment configuration of the person running the tests
// stay out of it. Files are made on the host side directly.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/drive_map.h"

namespace tamvel::testing {

class TempPrefix {
  public:
    TempPrefix() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamvel-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        m_drives = DriveMap(m_root / "prefix");
        ::setenv("TAMVEL_PREFIX", m_drives.Prefix().c_str(), 1);
        if (const char* config = std::getenv("XDG_CONFIG_HOME")) m_savedConfigHome = config;
        ::setenv("XDG_CONFIG_HOME", ConfigHome().c_str(), 1);
    }
    ~TempPrefix() {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(m_root, ignored);
        ::unsetenv("TAMVEL_PREFIX");
        if (m_savedConfigHome.empty()) {
            ::unsetenv("XDG_CONFIG_HOME");
        } else {
            ::setenv("XDG_CONFIG_HOME", m_savedConfigHome.c_str(), 1);
        }
    }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    /// Creates the prefix as the program does on its first start.
    bool Ensure() const { return m_drives.EnsurePrefix(); }

    const DriveMap& Drives() const { return m_drives; }
    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path Prefix() const { return m_drives.Prefix(); }
    /// The user's configuration folder for this test.
    std::filesystem::path ConfigHome() const { return m_root / "config"; }
    /// The host folder of drive C.
    std::filesystem::path DriveC() const { return Prefix() / "drive_c"; }

    /// Maps a drive letter to a new empty folder (the student's medium); its host folder.
    std::filesystem::path MapDrive(char letter) {
        const std::filesystem::path medium = m_root / (std::string("medium-") + letter);
        std::filesystem::create_directories(medium);
        std::filesystem::create_directories(Prefix() / "dosdevices");
        std::filesystem::create_directory_symlink(
            medium, Prefix() / "dosdevices" / (std::string(1, letter) + ":"));
        return medium;
    }

    /// Writes a host file, making its folders.
    static void WriteFile(const std::filesystem::path& file, const std::string& bytes = "x") {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

    /// A host file's bytes, or empty when it cannot be read.
    static std::string ReadFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::filesystem::path m_root;
    DriveMap m_drives{std::filesystem::path()};
    std::string m_savedConfigHome;
};

}  // namespace tamvel::testing
