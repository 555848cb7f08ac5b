#include "console/console_front_end.h"

#include <unistd.h>

#include <iostream>

#include "console/console_session.h"
#include "console/event_writer.h"
#include "platform/drive_map.h"
#include "platform/file_system.h"

namespace tamvel {

int RunConsole(std::istream& in, std::ostream& out) {
    EventWriter events(out);
    const DriveMap drives(DriveMap::DefaultPrefix());
    if (!drives.EnsurePrefix()) {
        // Start-up goes on: its checks report what is missing and fall back.
        events.Error("cannot prepare the prefix " + drives.Prefix().string());
    }
    FileSystem fileSystem(drives);
    // Standard input is read through its descriptor, so that a TSP run can wait for `stop`.
    ConsoleSession session(&in == &std::cin ? ConsoleInput(STDIN_FILENO) : ConsoleInput(in), events,
                           fileSystem);
    return session.Run();
}

}  // namespace tamvel
