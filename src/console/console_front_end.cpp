#include "console/console_front_end.h"

#include <unistd.h>

#include <iostream>

#include "console/console_session.h"
#include "console/event_writer.h"
#include "panel/tamvel_session.h"

namespace tamvel {

int RunConsole(std::istream& in, std::ostream& out) {
    EventWriter events(out);
    TamvelSession session;
    if (!session.PreparePrefix()) {
        // Start-up goes on: its checks report what is missing and fall back.
        events.Error("cannot prepare the prefix " + session.Drives().Prefix().string());
    }
    // Standard input is read through its descriptor, so that a TSP run can wait for `stop`.
    ConsoleSession console(&in == &std::cin ? ConsoleInput(STDIN_FILENO) : ConsoleInput(in), events,
                           session);
    return console.Run();
}

}  // namespace tamvel
