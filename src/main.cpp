// Tamvel's entry point: the console front-end when asked for, else the wx program. The
// console never initialises the toolkit, so it runs without a display.

#include <wx/app.h>

#include <cstring>
#include <iostream>

#include "console/console_front_end.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--console") == 0) return tamvel::RunConsole(std::cin, std::cout);
    }
    return wxEntry(argc, argv);
}
