#include "app/pure/placement.h"

#include <algorithm>

namespace app {

namespace {
constexpr int kGripWidth = 100;
constexpr int kGripHeight = 20;
constexpr int kCaptionStrip = 40;

bool CaptionReachable(const ScreenRect& r, const ScreenRect& area) {
    if (r.width() <= 0 || r.height() <= 0) return false;
    const int stripBottom = r.top + std::min(kCaptionStrip, r.height());
    const int w = std::min(r.right, area.right) - std::max(r.left, area.left);
    const int h = std::min(stripBottom, area.bottom) - std::max(r.top, area.top);
    return w >= std::min(kGripWidth, r.width()) && h >= std::min(kGripHeight, stripBottom - r.top);
}

// Shrinks one dimension to the area and keeps it inside when it had to shrink.
void FitSpan(int& lo, int& hi, int areaLo, int areaHi) {
    const int size = hi - lo, areaSize = areaHi - areaLo;
    if (size <= areaSize) return;
    lo = areaLo;
    hi = areaHi;
}
} // namespace

ScreenRect PlaceOnScreen(const ScreenRect& stored, const std::vector<ScreenRect>& workAreas) {
    if (workAreas.empty()) return stored;
    for (const auto& area : workAreas) {
        if (!CaptionReachable(stored, area)) continue;
        ScreenRect r = stored;
        FitSpan(r.left, r.right, area.left, area.right);
        FitSpan(r.top, r.bottom, area.top, area.bottom);
        return r;
    }
    const ScreenRect& primary = workAreas.front();
    const int width = std::clamp(stored.width(), 1, std::max(primary.width(), 1));
    const int height = std::clamp(stored.height(), 1, std::max(primary.height(), 1));
    ScreenRect r;
    r.left = primary.left + (primary.width() - width) / 2;
    r.top = primary.top + (primary.height() - height) / 2;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}

} // namespace app
