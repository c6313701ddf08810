#include "status/Docking.h"

#include <gtest/gtest.h>

namespace zelmo {
namespace {

TEST(DockStrip, CentresAndDocksInsideTheWorkArea) {
    struct Case {
        const char* Name;
        int LabelWidth, LabelHeight;
        bool Upper;
        WorkArea Area;
        WindowBounds Expected;
    };
    const Case cases[] = {
        {"1920 wide, 101 wide strip", 99, 17, true, {0, 0, 1920, 1080}, {909, 0, 101, 19}},
        {"wider than the work area: truncation toward zero", 1923, 17, true, {0, 0, 1920, 1080}, {-2, 0, 1925, 19}},
        {"odd positive difference", 1913, 17, true, {0, 0, 1920, 1080}, {2, 0, 1915, 19}},
        {"bottom above a 40-pixel taskbar", 99, 17, false, {0, 0, 1920, 1040}, {909, 1021, 101, 19}},
        {"one blank", 3, 14, false, {0, 0, 1280, 1024}, {637, 1008, 5, 16}},
        {"taskbar at the top, top edge", 99, 17, true, {0, 40, 1920, 1040}, {909, 40, 101, 19}},
        {"taskbar at the top, bottom edge", 99, 17, false, {0, 40, 1920, 1040}, {909, 1061, 101, 19}},
        {"taskbar at the left", 99, 17, false, {60, 0, 1860, 1080}, {939, 1061, 101, 19}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DockStrip(c.LabelWidth, c.LabelHeight, c.Upper, c.Area), c.Expected) << c.Name;
    }
}

} // namespace
} // namespace zelmo
