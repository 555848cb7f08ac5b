#pragma once
// A control panel over a fresh prefix and a scripted person, for start-up scenarios.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "panel/tamvel_view.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "scripted_ui.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {

class StartupFixture : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_prefix.Ensure()); }

    /// Puts a TSP at the place where it is installed.
    void InstallTsp() { m_prefix.InstallTsp(); }
    /// Removes the default editor that a new prefix holds.
    void RemoveNotepad() {
        for (const auto& entry :
             std::filesystem::directory_iterator(m_prefix.DriveC() / "windows")) {
            std::string name = entry.path().filename().string();
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (name == "notepad.exe") std::filesystem::remove(entry.path());
        }
    }
    /// An environment file in a host folder, with the four values given in UTF-8.
    static void WriteEnvironmentFile(const std::filesystem::path& folder, const std::string& tspExe,
                                     const std::string& editor, const std::string& saveFolder,
                                     const std::string& tspFile) {
        const std::string text = Cp932("TspExe|" + tspExe + ";Editor|" + editor + ";SaveFolder|" +
                                       saveFolder + ";TspFile|" + tspFile + ";");
        ASSERT_LT(text.size(), 255u);
        TempPrefix::WriteFile(folder / "TamvelEnvFile.TXT",
                              std::string(1, static_cast<char>(text.size())) + text);
    }
    /// The environment text of a file written by the program ("" when there is none).
    static std::string EnvironmentTextIn(const std::filesystem::path& file) {
        const std::string bytes = TempPrefix::ReadFile(file);
        if (bytes.empty()) return {};
        return Cp932ToUtf8(bytes.substr(1)).value_or("<not CP932>");
    }

    void RunStartup() { m_view.OnInitialUpdate(); }

    TempPrefix m_prefix;
    FileSystem m_fileSystem{m_prefix.Drives()};
    ScriptedUi m_ui;
    CTamvelView m_view{m_ui, m_fileSystem};
};

}  // namespace tamvel::testing
