#include "platform/guard.h"
#include "platform/quorvel_image.h"

#include <windowsx.h>

#include <exception>

#include "platform/dialogs.h"

namespace platform {

namespace {
constexpr wchar_t kClass[] = L"VantrelImage";

// The image control under the pointer. Kept for all of them together so that leaving one for its
// neighbour raises the exit before the enter even when WM_MOUSELEAVE is still in the queue.
HWND& Hovered() {
    static HWND hwnd = nullptr;
    return hwnd;
}

TQuorvelImage* FromHandle(HWND hwnd) {
    return hwnd ? reinterpret_cast<TQuorvelImage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}
} // namespace

const wchar_t* TQuorvelImage::ClassName() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        wc.lpfnWndProc = Proc;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw std::runtime_error("RegisterClassEx failed for the image control");
        registered = true;
    }
    return kClass;
}

TQuorvelImage::~TQuorvelImage() {
    if (!m_hwnd) return;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    if (Hovered() == m_hwnd) Hovered() = nullptr;
    if (GetCapture() == m_hwnd) ReleaseCapture();
}

void TQuorvelImage::afterCreate() {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TQuorvelImage::setPicture(Dib picture) {
    m_picture = std::move(picture);
    if (m_hwnd) InvalidateRect(m_hwnd, nullptr, FALSE);
}

bool TQuorvelImage::pointerInside() const noexcept {
    return m_hwnd && Hovered() == m_hwnd;
}

void TQuorvelImage::draw(HDC dc) {
    RECT client;
    GetClientRect(m_hwnd, &client);
    int saved = SaveDC(dc);
    if (!m_picture.empty()) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, m_picture.bitmap());
        BitBlt(dc, 0, 0, m_picture.width(), m_picture.height(), mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ExcludeClipRect(dc, 0, 0, m_picture.width(), m_picture.height());
    }
    ::FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, saved);
}

LRESULT CALLBACK TQuorvelImage::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    TQuorvelImage* self = FromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return CallGuarded(hwnd, [&] { return self->handle(msg, wp, lp); });
}

LRESULT TQuorvelImage::handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = m_hwnd;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        draw(dc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        draw(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        if (m_hitTransparent) return HTTRANSPARENT;
        break;
    case WM_SETCURSOR:
        if (m_handCursor && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        if (Hovered() != hwnd) {
            HWND previous = Hovered();
            Hovered() = hwnd;
            if (TQuorvelImage* old = FromHandle(previous); old && old->OnMouseExit) old->OnMouseExit();
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&tme);
            if (OnMouseEnter) OnMouseEnter();
        }
        if (OnMouseMove && IsWindow(hwnd)) OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    }
    case WM_MOUSELEAVE:
        if (Hovered() == hwnd) {
            Hovered() = nullptr;
            if (OnMouseExit) OnMouseExit();
        }
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        if (OnMouseDown) OnMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) ReleaseCapture();
        if (OnMouseUp) OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_DESTROY:
        if (Hovered() == hwnd) Hovered() = nullptr;
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace platform
