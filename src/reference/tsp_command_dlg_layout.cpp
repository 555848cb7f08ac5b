#include "reference/tsp_command_dlg_layout.h"

#include <algorithm>

namespace tamvel {

int OkButtonBand(int verticalBaseUnit) {
    // In tenths, so that the fraction is dropped exactly (20 x 1.2 is 24, not 23.99...).
    const int tenths = verticalBaseUnit < 22 ? 12 : 15;
    return verticalBaseUnit * tenths / 10;
}

ListBoxPlace PlaceListBox(int clientWidth, int clientHeight, int verticalBaseUnit,
                          int buttonBottom) {
    const int top = std::max(OkButtonBand(verticalBaseUnit), buttonBottom);
    return {1, top, std::max(clientWidth - 2, 0), std::max(clientHeight - top - 1, 0)};
}

}  // namespace tamvel
