#pragma once
// Runs the real tamvel-tsp binary on a program in a temporary folder of its own, as Tamvel
// runs TSP: the TSP file's folder is the current directory. Gives the exit status and the
// result file's text, and helpers to find figures in it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tamvel::engine::testing {

/// A temporary folder, removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamvel-engine-XXXXXX");
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

    /// Writes a file (bytes as given) into the folder.
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path m_path;
};

/// What a run gave.
struct EngineRun {
    int status = -1;
    std::string result;  ///< the result file's bytes, empty when there is none

    /// The result file's lines without their CR LF, runs of blanks made one blank.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(result);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::string squeezed;
            for (char c : line)
                if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) squeezed += c;
            while (!squeezed.empty() && squeezed.back() == ' ') squeezed.pop_back();
            lines.push_back(squeezed);
        }
        return lines;
    }

    /// True when some line (blanks squeezed) holds `text`.
    bool Has(const std::string& text) const {
        for (const std::string& line : Lines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    /// The blank-separated fields of the first line that starts with `first` followed by
    /// a blank, after the first line that holds `after` (empty: from the start).
    std::vector<std::string> Row(const std::string& first, const std::string& after = "") const {
        bool searching = after.empty();
        for (const std::string& line : Lines()) {
            if (!searching) {
                searching = line.find(after) != std::string::npos;
                continue;
            }
            if (line.rfind(first + " ", 0) != 0) continue;
            std::vector<std::string> fields;
            std::istringstream in(line);
            for (std::string field; in >> field;) fields.push_back(field);
            return fields;
        }
        return {};
    }

    /// The value after "label = " (the first such line), as a number; NaN when absent.
    long double Statistic(const std::string& label) const {
        for (const std::string& line : Lines()) {
            const std::size_t at = line.find(label + " = ");
            if (at != std::string::npos)
                return std::strtold(line.c_str() + at + label.size() + 3, nullptr);
        }
        return std::numeric_limits<long double>::quiet_NaN();
    }
};

/// Writes `program` as name in the folder and runs the engine on it there.
inline EngineRun RunEngine(const TempFolder& folder, const std::string& program,
                           const std::string& name = "test.tsp") {
    folder.Write(name, program);
    const std::string command = "cd '" + folder.Path().string() + "' && '" + TAMVEL_ENGINE_BINARY +
                                "' '" + name + "' 2>/dev/null";
    const int raw = std::system(command.c_str());
    EngineRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::filesystem::path out = folder.Path() / name;
    out.replace_extension(".out");
    std::ifstream in(out, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    run.result = bytes.str();
    return run;
}

/// Program lines joined with CR LF, as the new-program form writes them.
inline std::string CrLf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

}  // namespace tamvel::engine::testing
