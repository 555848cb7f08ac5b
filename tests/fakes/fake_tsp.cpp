// A TSP of the tests' own. It records how it was started (fake_record.h), then acts on the
// TSP file named by its one argument as the mode says: $FAKE_TSP_MODE, else a first line of
// the TSP file reading "* fake: MODE", else "write".
//   write         writes the result file (the TSP file's name with ".out") and exits 0
//   slow          as write, after a second and a half
//   nothing       writes nothing and exits 0
//   fail          writes the result file and exits 3
//   crash         writes nothing and dies of SIGSEGV
//   hang          runs until it is stopped
//   hang-hard     as hang, but ignores SIGTERM (only SIGKILL ends it)
// With $FAKE_TSP_PIDFILE set it writes its process id there first.

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "fake_record.h"

namespace {

std::string ModeOf(const char* tspFile) {
    if (const char* mode = std::getenv("FAKE_TSP_MODE"); mode != nullptr && *mode != '\0') {
        return mode;
    }
    std::ifstream in(tspFile);
    std::string first;
    std::getline(in, first);
    constexpr std::string_view kMarker = "* fake: ";
    if (!first.starts_with(kMarker)) return "write";
    std::string mode = first.substr(kMarker.size());
    while (!mode.empty() && (mode.back() == '\r' || mode.back() == ' ')) mode.pop_back();
    return mode;
}

[[noreturn]] void RunUntilStopped() {
    for (;;) ::pause();
}

}  // namespace

int main(int argc, char** argv) {
    tamvel::fakes::RecordStart(argc, argv);
    if (const char* pidFile = std::getenv("FAKE_TSP_PIDFILE")) {
        std::ofstream(pidFile) << ::getpid() << '\n';
    }
    if (argc < 2) return 2;
    const std::string mode = ModeOf(argv[1]);
    const auto writeResult = [&] {
        std::filesystem::path result(argv[1]);
        result.replace_extension(".out");
        std::ofstream(result) << "fake TSP result for " << argv[1] << '\n';
    };
    if (mode == "nothing") return 0;
    if (mode == "slow") std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    if (mode == "fail") {
        writeResult();
        return 3;
    }
    if (mode == "crash") {
        ::signal(SIGSEGV, SIG_DFL);
        ::raise(SIGSEGV);
        return 1;
    }
    if (mode == "hang") RunUntilStopped();
    if (mode == "hang-hard") {
        ::signal(SIGTERM, SIG_IGN);
        RunUntilStopped();
    }
    writeResult();
    return 0;
}
