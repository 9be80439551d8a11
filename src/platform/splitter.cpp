#include "platform/splitter.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "platform/dialogs.h"

namespace platform {

namespace {
constexpr wchar_t kSplitterClass[] = L"VantrelSplitter";
}

const wchar_t* SplitterClassName() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kSplitterClass;
        wc.lpfnWndProc = DefWindowProcW; // each splitter installs its own procedure in afterCreate
        RegisterClassExW(&wc);
        registered = true;
    }
    return kSplitterClass;
}

int Splitter::Clamp(int position, int extent, int minFirst, int minSecond) {
    int hi = extent - kThickness - minSecond;
    int lo = minFirst;
    if (hi < lo) return std::max(0, std::min(lo, extent - kThickness));
    return std::clamp(position, lo, hi);
}

void Splitter::setDirection(Direction d) {
    m_direction = d;
}

void Splitter::setLimits(int extent, int minFirst, int minSecond) {
    m_extent = extent;
    m_minFirst = minFirst;
    m_minSecond = minSecond;
    m_position = Clamp(m_position, m_extent, m_minFirst, m_minSecond);
}

void Splitter::setPosition(int position) {
    m_position = Clamp(position, m_extent, m_minFirst, m_minSecond);
}

void Splitter::dragTo(int position) {
    int before = m_position;
    setPosition(position);
    if (m_position != before && onMoved) onMoved();
}

Splitter::~Splitter() {
    // The form may destroy the bar's window after this object is gone; unhook it first.
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    }
}

void Splitter::afterCreate() {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Splitter::Proc));
}

LRESULT CALLBACK Splitter::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* self = reinterpret_cast<Splitter*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->m_hwnd != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
    try {
        return self->handle(msg, wp, lp);
    } catch (const std::exception& e) {
        ReleaseCapture();
        ShowErrorBox(e.what(), GetAncestor(hwnd, GA_ROOT));
    } catch (...) {
        ReleaseCapture();
        ShowErrorBox("An unexpected error occurred.", GetAncestor(hwnd, GA_ROOT));
    }
    return 0;
}

LRESULT Splitter::handle(UINT msg, WPARAM wp, LPARAM lp) {
    auto along = [this](POINT p) { return m_direction == Direction::Vertical ? p.x : p.y; };
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, m_direction == Direction::Vertical ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(m_hwnd, &p);
        m_dragging = true;
        m_dragOrigin = along(p);
        m_dragStartPos = m_position;
        SetCapture(m_hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (m_dragging && (wp & MK_LBUTTON)) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ClientToScreen(m_hwnd, &p);
            int delta = m_form ? m_form->unscale(along(p) - m_dragOrigin) : along(p) - m_dragOrigin;
            dragTo(m_dragStartPos + delta);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_dragging) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        m_dragging = false;
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

} // namespace platform
