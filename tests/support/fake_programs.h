#pragma once
// The fake outside programs of tests/fakes installed into a test's prefix: the fake TSP where
// start-up finds TSP, the recorder as Notepad (the default editor), and on request as `wine`
// on PATH. What each of them was started with is read back from its record.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_prefix.h"

namespace tamvel::testing {

class FakePrograms {
  public:
    /// Installs the fake TSP and the fake Notepad into `prefix` (which must exist) and has
    /// every fake record into a folder of the test's own.
    explicit FakePrograms(const TempPrefix& prefix)
        : m_prefix(prefix), m_records(prefix.Root() / "records") {
        std::filesystem::create_directories(m_records);
        m_env.Set("FAKE_RECORD_DIR", m_records.string());
        m_env.Set("FAKE_TSP_MODE", nullptr);
        Install("fake_tsp", prefix.TspPath());
        Install("fake_program", prefix.DriveC() / "windows" / "notepad.exe");
    }

    /// Copies a fake (by its target name) to `where`, executable.
    static void Install(const std::string& fake, const std::filesystem::path& where) {
        std::filesystem::create_directories(where.parent_path());
        std::filesystem::copy_file(std::filesystem::path(TAMVEL_FAKES_DIR) / fake, where,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    /// Puts the recorder first on PATH as `wine`.
    void PutWineOnPath() {
        const std::filesystem::path bin = m_prefix.Root() / "bin";
        Install("fake_program", bin / "wine");
        const char* path = std::getenv("PATH");
        m_env.Set("PATH", bin.string() + ":" + (path ? path : ""));
    }

    /// Sets the fake TSP's mode for every run (write, nothing, fail, crash, hang, ...).
    void SetTspMode(const char* mode) { m_env.Set("FAKE_TSP_MODE", mode); }

    /// Every start of the fake installed as `name` ("tsp.exe", "notepad.exe", "wine"), in
    /// order: {"cwd":..., "argv":[...]}.
    std::vector<nlohmann::json> Starts(const std::string& name) const {
        std::vector<nlohmann::json> starts;
        std::ifstream in(m_records / (name + ".jsonl"));
        for (std::string line; std::getline(in, line);)
            starts.push_back(nlohmann::json::parse(line));
        return starts;
    }

    /// As Starts, once there are `count` of them (programs that are not waited for record a
    /// moment after they were started), or after five seconds with what there is.
    std::vector<nlohmann::json> AwaitStarts(const std::string& name, std::size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::vector<nlohmann::json> starts = Starts(name);
        while (starts.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            starts = Starts(name);
        }
        return starts;
    }

  private:
    const TempPrefix& m_prefix;
    std::filesystem::path m_records;
    ScopedEnv m_env;
};

}  // namespace tamvel::testing
