#pragma once
// Where a window goes when its stored rectangle is restored: a rule over screen rectangles only,
// so that it can be checked without a display.
#include <vector>

namespace app {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// A stored window rectangle checked against the work areas of the monitors (the primary one
// first). The window stays where it was when the user can still grab its caption there: a strip
// of its top 40 pixels, at least 100 pixels wide and 20 high (or all of a smaller window), lies on
// one work area. A window larger than that work area is shrunk to it and moved just enough to fit.
// Otherwise the window keeps its size (shrunk to the primary work area if larger) and is centred on
// the primary work area. Without any work area the rectangle is returned as it is.
ScreenRect PlaceOnScreen(const ScreenRect& stored, const std::vector<ScreenRect>& workAreas);

} // namespace app
