#include "console/console_front_end.h"

#include <ostream>
#include <utility>

#include "console/console_session.h"
#include "console/event_writer.h"
#include "panel/tamvel_session.h"

namespace tamvel {

int RunConsole(ConsoleInput input, std::ostream& out) {
    EventWriter events(out);
    TamvelSession session;
    if (!session.PreparePrefix()) {
        // Start-up goes on: its checks report what is missing and fall back.
        events.Error("cannot prepare the prefix " + session.Drives().Prefix().string());
    }
    ConsoleSession console(std::move(input), events, session);
    return console.Run();
}

}  // namespace tamvel
