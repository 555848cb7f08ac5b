#include "reference/tsp_command_dlg_layout.h"

#include <gtest/gtest.h>

namespace tamvel {
namespace {

TEST(TspCommandDlgLayout, BandFollowsTheVerticalBaseUnitWithTheFractionDropped) {
    struct Case {
        int unit;
        int band;
    };
    const Case cases[] = {
        {16, 19}, {20, 24}, {21, 25}, {22, 33},  // the examples
        {8, 9},   {10, 12}, {15, 18}, {23, 34}, {24, 36}, {32, 48},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OkButtonBand(c.unit), c.band) << "unit " << c.unit;
    }
}

TEST(TspCommandDlgLayout, ListBoxKeepsOnePixelInsideAndTheBandAbove) {
    EXPECT_EQ(PlaceListBox(580, 452, 16), (ListBoxPlace{1, 19, 578, 432}));
    EXPECT_EQ(PlaceListBox(580, 452, 22), (ListBoxPlace{1, 33, 578, 418}));
    EXPECT_EQ(PlaceListBox(2, 20, 16), (ListBoxPlace{1, 19, 0, 0}));
}

}  // namespace
}  // namespace tamvel
