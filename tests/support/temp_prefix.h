#pragma once
// A fresh prefix for one test, in a temporary folder removed afterwards, with TSP installed
// on request. TAMVEL_PREFIX points at it so a started program uses it too, and
// XDG_CONFIG_HOME points beside it so the recent-file list and the deployment configuration
// of the person running the tests stay out of it; both are restored afterwards. Files are
// made on the host side directly.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/drive_map.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace tamvel::testing {

class TempPrefix {
  public:
    TempPrefix() : m_drives(m_root / "prefix") {
        m_env.Set("TAMVEL_PREFIX", m_drives.Prefix().string());
        m_env.Set("XDG_CONFIG_HOME", ConfigHome().string());
    }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    /// Creates the prefix as the program does on its first start.
    bool Ensure() const { return m_drives.EnsurePrefix(); }

    const DriveMap& Drives() const { return m_drives; }
    const std::filesystem::path& Root() const { return m_root.Path(); }
    std::filesystem::path Prefix() const { return m_drives.Prefix(); }
    /// The user's configuration folder for this test.
    std::filesystem::path ConfigHome() const { return m_root / "config"; }
    /// The host folder of drive C.
    std::filesystem::path DriveC() const { return Prefix() / "drive_c"; }

    /// Where start-up looks for TSP first.
    std::filesystem::path TspPath() const {
        return DriveC() / "Program Files (x86)" / "TSP 5.1" / "tsp.exe";
    }
    /// Puts a TSP at the place where it is installed.
    void InstallTsp() const { WriteFile(TspPath(), "tsp"); }

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
    TempFolder m_root{"tamvel"};
    ScopedEnv m_env;
    DriveMap m_drives;
};

}  // namespace tamvel::testing
