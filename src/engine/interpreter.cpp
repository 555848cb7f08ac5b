#include "engine/interpreter.h"

#include <algorithm>

#include "engine/data_commands.h"
#include "engine/estimation_commands.h"
#include "engine/print_commands.h"

namespace tamvel::engine {
namespace {

enum class Flow { Continue, EndSection, StopRun };

Flow Execute(RunState& state, const Statement& statement) {
    switch (statement.command) {
        case Command::Options:
            ExecuteOptions(state, statement);
            break;
        case Command::Freq:
            ExecuteFreq(state, statement);
            break;
        case Command::Smpl:
            ExecuteSmpl(state, statement);
            break;
        case Command::Read:
            ExecuteRead(state, statement);
            break;
        case Command::Genr:
            ExecuteGenr(state, statement);
            break;
        case Command::Print:
            ExecutePrint(state, statement);
            break;
        case Command::Msd:
            ExecuteMsd(state, statement);
            break;
        case Command::Corr:
            ExecuteCorr(state, statement);
            break;
        case Command::Olsq:
            ExecuteOlsq(state, statement);
            break;
        case Command::Panel:
            ExecutePanel(state, statement);
            break;
        case Command::End:
            return Flow::EndSection;
        case Command::Stop:
        case Command::Quit:
            return Flow::StopRun;
    }
    return Flow::Continue;
}

Flow RunSection(const std::vector<Statement>& statements, RunState& state) {
    for (const Statement& statement : statements) {
        const Flow flow = Execute(state, statement);
        if (flow != Flow::Continue) return flow;
    }
    return Flow::Continue;
}

}  // namespace

void RunProgram(const ParsedProgram& program, RunState& state) {
    for (const Diagnostic& error : program.errors)
        state.Report(error.severity, error.line, error.text);
    if (!program.load.empty()) {
        // The load section holds the data; it runs under the frequency and the first sample
        // that the program section declares, so that a quarterly program's data are read as
        // quarters even where the load section gives no SMPL of its own. Mistakes in those
        // statements are reported when the program section runs them.
        RunState settings;
        const auto freq =
            std::find_if(program.program.begin(), program.program.end(),
                         [](const Statement& s) { return s.command == Command::Freq; });
        if (freq != program.program.end()) ExecuteFreq(settings, *freq);
        const auto smpl = std::find_if(
            freq == program.program.end() ? program.program.begin() : freq, program.program.end(),
            [](const Statement& s) { return s.command == Command::Smpl; });
        if (smpl != program.program.end()) ExecuteSmpl(settings, *smpl);
        state.frequency = settings.frequency;
        state.panelId = settings.panelId;
        state.sample = settings.sample;
        if (RunSection(program.load, state) == Flow::StopRun) return;
    }
    RunSection(program.program, state);
}

}  // namespace tamvel::engine
