// The wx program's entry, called by the launcher once it has loaded this module.

#include <wx/app.h>

extern "C" __attribute__((visibility("default"))) int TamvelGuiMain(int argc, char** argv) {
    return wxEntry(argc, argv);
}
