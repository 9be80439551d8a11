#include "tools/junk/junk_pictures.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

namespace tools::junk {

// ---- ClickPicture ----

void ClickPicture::setStockIcon(int stockIconId) {
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(SHGetStockIconInfo(static_cast<SHSTOCKICONID>(stockIconId), SHGSI_ICON, &info)) || !info.hIcon) return;
    m_icon.reset(info.hIcon);
    SendMessageW(m_hwnd, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.get()), 0);
}

bool ClickPicture::click() {
    if (!enabled() || !visible()) return false;
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, STN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

bool ClickPicture::onCommand(WORD code) {
    if (code != STN_CLICKED && code != STN_DBLCLK) return false;
    if (onClick) onClick();
    return true;
}

// ---- SearchAnimation ----

namespace {
constexpr int kFrames = 8;
constexpr int kSize = 40;
constexpr double kPi = 3.14159265358979323846;
} // namespace

void SearchAnimation::makeFrames() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const int size = m_form ? m_form->scale(kSize) : kSize;
    const double unit = size / static_cast<double>(kSize);
    HPEN ink = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HPEN rim = CreatePen(PS_SOLID, std::max(2, static_cast<int>(3 * unit)), RGB(40, 40, 90));
    HPEN handle = CreatePen(PS_SOLID, std::max(3, static_cast<int>(5 * unit)), RGB(120, 70, 20));
    HBRUSH glass = CreateSolidBrush(RGB(200, 225, 250));
    for (int f = 0; f < kFrames; ++f) {
        HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
        HGDIOBJ old = SelectObject(dc, bmp);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        // The page being searched.
        RECT page{static_cast<LONG>(6 * unit), static_cast<LONG>(3 * unit), static_cast<LONG>(30 * unit),
                  static_cast<LONG>(35 * unit)};
        FillRect(dc, &page, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &page, GetSysColorBrush(COLOR_BTNSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, ink);
        for (int line = 0; line < 6; ++line) {
            int y = static_cast<int>((8 + line * 4) * unit);
            MoveToEx(dc, static_cast<int>(9 * unit), y, nullptr);
            LineTo(dc, static_cast<int>(27 * unit), y);
        }
        // The glass, its centre going round the page.
        const double angle = 2 * kPi * f / kFrames;
        const int cx = static_cast<int>((17 + 6 * std::cos(angle)) * unit);
        const int cy = static_cast<int>((16 + 6 * std::sin(angle)) * unit);
        const int r = static_cast<int>(7 * unit);
        SelectObject(dc, handle);
        MoveToEx(dc, cx + r * 7 / 10, cy + r * 7 / 10, nullptr);
        LineTo(dc, cx + r * 2, cy + r * 2);
        SelectObject(dc, rim);
        HGDIOBJ oldBrush = SelectObject(dc, glass);
        Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        SelectObject(dc, old);
        m_frames.emplace_back(bmp);
    }
    DeleteObject(ink);
    DeleteObject(rim);
    DeleteObject(handle);
    DeleteObject(glass);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

void SearchAnimation::start() {
    if (m_frames.empty()) makeFrames();
    m_frame = 0;
    SendMessageW(m_hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_frames[0].get()));
    setVisible(true);
    m_running = true;
    if (m_form && m_form->hwnd()) SetTimer(m_form->hwnd(), kTimerId, kFrameMs, nullptr);
}

void SearchAnimation::stop() {
    if (m_form && m_form->hwnd()) KillTimer(m_form->hwnd(), kTimerId);
    m_running = false;
    setVisible(false);
}

void SearchAnimation::nextFrame() {
    if (!m_running || m_frames.empty()) return;
    m_frame = (m_frame + 1) % static_cast<int>(m_frames.size());
    SendMessageW(m_hwnd, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(m_frames[static_cast<size_t>(m_frame)].get()));
}

} // namespace tools::junk
