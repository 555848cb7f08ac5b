#include "engine/run_state.h"

#include <set>

namespace tamvel::engine {

void RunState::Report(Severity severity, int line, const std::string& text) {
    const char* kind = severity == Severity::Error     ? "Error"
                       : severity == Severity::Warning ? "Warning"
                                                       : "Note";
    if (severity == Severity::Error) ++errors;
    std::string message = std::string("*** ") + kind;
    if (line > 0) message += " in line " + std::to_string(line);
    body.push_back(message + ": " + text);
}

const Sample* RunState::RequireSample(int line, const char* command) {
    if (sample) return &*sample;
    ReportError(*this, line,
                std::string(command) +
                    " needs a sample: give SMPL first (as in SMPL 1 100; or SMPL 1975:1 2003:4;)");
    return nullptr;
}

bool RunState::RequireSeries(int line, const std::vector<SeriesRef>& refs) {
    constexpr std::size_t kNamesShown = 10;
    std::set<std::string> seen;
    std::string unknown;
    for (const SeriesRef& ref : refs) {
        if (workspace.Find(ref.name) || !seen.insert(ref.name).second) continue;
        if (seen.size() <= kNamesShown) unknown += (unknown.empty() ? " " : ", ") + ref.name;
    }
    if (seen.empty()) return true;
    if (seen.size() > kNamesShown)
        unknown += " and " + std::to_string(seen.size() - kNamesShown) + " more";
    ReportError(*this, line,
                "unknown series" + unknown + " (read or generate it before this line)");
    return false;
}

}  // namespace tamvel::engine
