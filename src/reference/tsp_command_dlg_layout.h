#pragma once
// Where the reference dialog puts its list box when its size changes: below a top band kept
// free for the OK button, whose height follows the system's vertical dialog base unit, and
// 1 pixel inside the other three edges of the client area.

namespace tamvel {

/// A rectangle in client pixels.
struct ListBoxPlace {
    int x = 0;       ///< left edge
    int y = 0;       ///< top edge
    int width = 0;   ///< width
    int height = 0;  ///< height

    bool operator==(const ListBoxPlace&) const = default;
};

/// Height in pixels of the band above the list box: the vertical dialog base unit times 1.2
/// below 22, times 1.5 from 22 on, the fraction dropped (16 gives 19, 22 gives 33).
int OkButtonBand(int verticalBaseUnit);

/// The list box's place in a client area of `clientWidth` by `clientHeight` pixels. Its top
/// is the band, but never above `buttonBottom` (the first row below the OK button), so that
/// the list box does not cover the button where the band is smaller than the button is tall.
/// A client area too small for the list box gives it no width or height, never a negative one.
ListBoxPlace PlaceListBox(int clientWidth, int clientHeight, int verticalBaseUnit,
                          int buttonBottom = 0);

}  // namespace tamvel
