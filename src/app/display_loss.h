#pragma once
// The X display going away (its server ended, the connection cut) must not lose the
// settings: the program then ends as its close box ends it, as far as that can be done
// without a display.

#include <functional>

namespace tamvel {

/// When the connection to the X server is lost, runs `onLoss` (save, release) and ends the
/// process with status 0. Does nothing where the toolkit does not use X.
void EndOnDisplayLoss(std::function<void()> onLoss);

}  // namespace tamvel
