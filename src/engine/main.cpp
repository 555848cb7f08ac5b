// tamvel-tsp FILE.tsp: runs a TSP program and writes FILE.out next to it, as TSP does.
// The exit status is 0 after a run without errors, 1 when the program has errors (the
// result file says which), 2 when the TSP file or the result file could not be used.

#include <cstdio>
#include <string>

#include "engine/result_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tamvel-tsp FILE.tsp\n", stderr);
        return tamvel::engine::kRunCouldNotStart;
    }
    std::string diagnostics;
    const int status = tamvel::engine::RunTspFile(argv[1], diagnostics);
    std::fputs(diagnostics.c_str(), stderr);
    return status;
}
