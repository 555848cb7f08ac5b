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

// The band of a small base unit is shorter than the OK button (14 dialog units of the dialog's
// font): the list box then starts below the button instead of covering its lower edge.
TEST(TspCommandDlgLayout, ListBoxNeverCoversTheOkButtonAndNeverGetsANegativeSize) {
    struct Case {
        int width, height, unit, buttonBottom;
        ListBoxPlace place;
    };
    const Case cases[] = {
        {580, 480, 17, 23, {1, 23, 578, 456}},  // IPAPGothic 9pt under GTK: band 20
        {580, 452, 16, 19, {1, 19, 578, 432}},  // the button ends where the band does
        {580, 452, 22, 23, {1, 33, 578, 418}},  // the band is the larger
        {1, 10, 16, 23, {1, 23, 0, 0}},         // smaller than the button and the band
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " unit " << c.unit);
        EXPECT_EQ(PlaceListBox(c.width, c.height, c.unit, c.buttonBottom), c.place);
    }
}

}  // namespace
}  // namespace tamvel
