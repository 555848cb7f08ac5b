// Any other outside program of the tests' own (the editor, Notepad, `wine`, a browser):
// records its arguments and working folder (fake_record.h) and exits at once, as a program
// that opens a window of its own would seem to its caller. $FAKE_PROGRAM_EXIT sets the exit
// status.

#include <cstdlib>

#include "fake_record.h"

int main(int argc, char** argv) {
    tamvel::fakes::RecordStart(argc, argv);
    const char* status = std::getenv("FAKE_PROGRAM_EXIT");
    return status != nullptr ? std::atoi(status) : 0;
}
