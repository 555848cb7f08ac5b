#include "app/display_loss.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace tamvel {
namespace {

std::function<void()> s_onLoss;

// Xlib's handler for a lost connection must not return; the toolkit's own would end the
// process with status 1 and nothing saved.
int OnConnectionLost(Display*) {
    if (s_onLoss) s_onLoss();
    std::_Exit(0);
}

}  // namespace

void EndOnDisplayLoss(std::function<void()> onLoss) {
    s_onLoss = std::move(onLoss);
    XSetIOErrorHandler(OnConnectionLost);
}

}  // namespace tamvel
