#pragma once
// The signals that end a session from outside (SIGTERM: a logout or a kill, SIGHUP: a closed
// terminal, SIGINT: Ctrl+C) become a descriptor that turns readable, so that the program
// ends as its close box ends it: settings saved, endpoint and lock released. SIGPIPE and
// SIGXFSZ are caught and do nothing, so a write to a closed pipe or beyond the file-size
// limit fails as a write (EPIPE, EFBIG) instead of ending the process; being caught rather
// than ignored, they are back at their defaults in every program started from here.

namespace tamvel {

/// Installs the handlers (once per process); the descriptor that turns readable when a
/// terminating signal has come, or -1 when none could be made.
int WatchTerminationSignals();

/// Whether a terminating signal has come since the handlers were installed.
bool TerminationRequested();

/// Reads away what the signals wrote to the descriptor, so that it is not reported again.
void DrainTerminationSignals();

}  // namespace tamvel
