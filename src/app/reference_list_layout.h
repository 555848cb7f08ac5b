#pragma once
// The reference dialog's list box follows the dialog's size: on every size change after the
// list box exists it is placed below the OK button's band, 1 pixel inside the other edges
// (PlaceListBox), the band taken from the system font's vertical dialog base unit and never
// above the OK button's lower edge.

#include <wx/dialog.h>

namespace tamvel {

/// The system's vertical dialog base unit in pixels: the height of the default GUI font.
int SystemVerticalBaseUnit(wxWindow& window);

/// Makes list box `listBoxId` of `dialog` follow the dialog's size from now on.
void FollowSizeWithListBox(wxDialog& dialog, int listBoxId);

}  // namespace tamvel
