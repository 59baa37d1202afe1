// Window scale: mouse positions map back to drawing units at every scale (the
// corners of the "save" label land on the same drawing pixels), and the chosen
// scale never makes the window larger than the screen or what the window
// manager allowed.
#include <gtest/gtest.h>

#include "host/WindowScale.h"

namespace {

TEST(WindowScaleTest, MousePositionsMapBackToDrawingUnitsAtEveryScale) {
    for (int scale = 1; scale <= 4; ++scale) {
        SCOPED_TRACE(scale);
        // Every window pixel of a scaled drawing pixel maps onto that pixel.
        for (int offset = 0; offset < scale; ++offset) {
            EXPECT_EQ(static_cast<int>(window_scale::ToDrawing(447 * scale + offset, scale)), 447);
            EXPECT_EQ(static_cast<int>(window_scale::ToDrawing(474 * scale + offset, scale)), 474);
        }
        EXPECT_FLOAT_EQ(window_scale::ToDrawing(0, scale), 0);
    }
    EXPECT_FLOAT_EQ(window_scale::ToDrawing(100, 0), 100) << "a scale of 0 is read as 1";
}

TEST(WindowScaleTest, ScaleFitsTheScreenAndTheContentScale) {
    EXPECT_EQ(window_scale::Fit(2, 640, 475, 1024, 768), 1) << "1280 x 950 does not fit";
    EXPECT_EQ(window_scale::Fit(4, 640, 475, 1920, 1080), 2);
    EXPECT_EQ(window_scale::Fit(9, 640, 475, 0, 0), 4) << "no known screen: at most 4x";
    EXPECT_EQ(window_scale::Fit(0, 640, 475, 100, 100), 1) << "never below 1x";
    EXPECT_EQ(window_scale::Initial(1.0f, 640, 475, 3840, 2160), 1);
    EXPECT_EQ(window_scale::Initial(1.5f, 640, 475, 3840, 2160), 1) << "below 2 is not HiDPI";
    EXPECT_EQ(window_scale::Initial(2.5f, 640, 475, 3840, 2160), 2);
    EXPECT_EQ(window_scale::Initial(3.0f, 640, 475, 1920, 1080), 2) << "never larger than the screen";
}

}  // namespace
