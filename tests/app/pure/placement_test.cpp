#include "app/pure/placement.h"

#include <gtest/gtest.h>

#include <ostream>

namespace app {
void PrintTo(const ScreenRect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
} // namespace app

using app::PlaceOnScreen;
using app::ScreenRect;

namespace {
// A 1920 x 1080 primary screen with a 40-pixel task bar at the bottom, and a second monitor to
// its right.
const ScreenRect kPrimary{0, 0, 1920, 1040};
const ScreenRect kSecond{1920, 0, 3200, 1024};
const std::vector<ScreenRect> kOne{kPrimary};
const std::vector<ScreenRect> kTwo{kPrimary, kSecond};

ScreenRect At(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
} // namespace

TEST(PlaceOnScreen, AWindowFullyOffScreenIsCentredOnThePrimaryWorkArea) {
    EXPECT_EQ(PlaceOnScreen(At(-5000, -5000, 400, 300), kOne), At(760, 370, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(2500, 100, 400, 300), kOne), At(760, 370, 400, 300));
    // Where the second monitor used to be, after it was unplugged.
    EXPECT_EQ(PlaceOnScreen(At(2000, 200, 600, 400), kOne), At(660, 320, 600, 400));
    EXPECT_EQ(PlaceOnScreen(At(100, 1040, 400, 300), kOne), At(760, 370, 400, 300));
}

TEST(PlaceOnScreen, APartlyVisibleWindowKeepsItsPlace) {
    // Hanging off the right, the left and the bottom edge with its caption still on screen.
    EXPECT_EQ(PlaceOnScreen(At(1700, 100, 400, 300), kOne), At(1700, 100, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(-250, 500, 400, 300), kOne), At(-250, 500, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(300, 1000, 400, 300), kOne), At(300, 1000, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(0, 0, 1920, 1040), kOne), At(0, 0, 1920, 1040));
}

TEST(PlaceOnScreen, AWindowWhoseCaptionCannotBeGrabbedIsCentred) {
    // Only 50 pixels on screen to the left, or the caption above the top edge.
    EXPECT_EQ(PlaceOnScreen(At(1870, 100, 400, 300), kOne), At(760, 370, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(300, -200, 400, 300), kOne), At(760, 370, 400, 300));
    EXPECT_EQ(PlaceOnScreen(At(300, 1030, 400, 300), kOne), At(760, 370, 400, 300));
}

TEST(PlaceOnScreen, AWindowOnTheSecondMonitorStaysThere) {
    EXPECT_EQ(PlaceOnScreen(At(2200, 300, 500, 400), kTwo), At(2200, 300, 500, 400));
    // Straddling both monitors.
    EXPECT_EQ(PlaceOnScreen(At(1800, 300, 500, 400), kTwo), At(1800, 300, 500, 400));
    // Below the shorter second monitor: nowhere to grab it, so back to the primary.
    EXPECT_EQ(PlaceOnScreen(At(2200, 1030, 500, 400), kTwo), At(710, 320, 500, 400));
}

TEST(PlaceOnScreen, AWindowLargerThanTheScreenIsShrunkToIt) {
    EXPECT_EQ(PlaceOnScreen(At(10, 20, 2500, 1500), kOne), At(0, 0, 1920, 1040));
    EXPECT_EQ(PlaceOnScreen(At(100, 100, 600, 1500), kOne), At(100, 0, 600, 1040));
    EXPECT_EQ(PlaceOnScreen(At(-9000, -9000, 2500, 1500), kOne), At(0, 0, 1920, 1040));
    // Larger than the second monitor it sits on: fitted to that monitor.
    EXPECT_EQ(PlaceOnScreen(At(2000, 10, 1500, 600), kTwo), At(1920, 10, 1280, 600));
}

TEST(PlaceOnScreen, SmallAndEmptyRectangles) {
    // A window smaller than the grip only has to be on screen as a whole strip.
    EXPECT_EQ(PlaceOnScreen(At(1850, 10, 60, 15), kOne), At(1850, 10, 60, 15));
    // A rectangle without area gets a minimal size on the primary screen.
    ScreenRect r = PlaceOnScreen(At(100, 100, 0, 0), kOne);
    EXPECT_GT(r.width(), 0);
    EXPECT_GE(r.left, kPrimary.left);
    EXPECT_LE(r.right, kPrimary.right);
    // Nothing known about the screens: nothing to correct.
    EXPECT_EQ(PlaceOnScreen(At(-5000, 0, 400, 300), {}), At(-5000, 0, 400, 300));
}
