// Tamvel's entry point: the console front-end when asked for, else the wx program, which is
// loaded as a module only then. The console never loads the toolkit, so it needs no display
// and starts quickly.

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "console/console_front_end.h"
#include "console/console_input.h"
#include "platform/termination_signals.h"
#include "platform/xdg_dirs.h"

namespace {

using GuiMain = int (*)(int, char**);

/// The wx module beside the program (build tree), else where `cmake --install` puts it.
void* LoadGuiModule() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return nullptr;
    for (const std::filesystem::path& candidate :
         {self.parent_path() / "tamvel-gui.so", self.parent_path() / TAMVEL_GUI_MODULE_INSTALLED}) {
        if (void* module = dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL)) return module;
        if (std::filesystem::exists(candidate)) {
            std::cerr << "tamvel: " << dlerror() << '\n';
            return nullptr;
        }
    }
    std::cerr << "tamvel: the window program tamvel-gui.so is not installed beside " << self
              << '\n';
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // First of all, so that no signal of a logout or a closed pipe can end the program
    // before its settings are saved.
    const int signals = tamvel::WatchTerminationSignals();
    tamvel::MakeProgramPathVariablesAbsolute();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--console") == 0) {
            // Standard input is read through its descriptor, so that a TSP run can wait for
            // `stop`, and a terminating signal ends it.
            return tamvel::RunConsole(tamvel::ConsoleInput(STDIN_FILENO, signals), std::cout);
        }
    }
    void* module = LoadGuiModule();
    if (module == nullptr) return 1;
    auto guiMain = reinterpret_cast<GuiMain>(dlsym(module, "TamvelGuiMain"));
    if (guiMain == nullptr) {
        std::cerr << "tamvel: " << dlerror() << '\n';
        return 1;
    }
    return guiMain(argc, argv);
}
