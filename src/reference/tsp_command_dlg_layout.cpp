#include "reference/tsp_command_dlg_layout.h"

namespace tamvel {

int OkButtonBand(int verticalBaseUnit) {
    // In tenths, so that the fraction is dropped exactly (20 x 1.2 is 24, not 23.99...).
    const int tenths = verticalBaseUnit < 22 ? 12 : 15;
    return verticalBaseUnit * tenths / 10;
}

ListBoxPlace PlaceListBox(int clientWidth, int clientHeight, int verticalBaseUnit) {
    const int band = OkButtonBand(verticalBaseUnit);
    return {1, band, clientWidth - 2, clientHeight - band - 1};
}

}  // namespace tamvel
