#include "app/shaped_form.h"

#include "app/art/launcher_art.h"
#include "platform/error.h"

namespace app {

void ShapedForm::createShaped(const std::string& caption, int widthUnits, int heightUnits,
                              const std::function<platform::Dib(int dpi)>& draw, HWND owner, DWORD extraExStyle) {
    platform::FormSpec spec;
    spec.caption = caption;
    spec.clientWidth = widthUnits;
    spec.clientHeight = heightUnits;
    // No caption and no border; the system menu and minimise box keep Alt+F4, Alt+Space and the
    // taskbar working on a window that has no title bar of its own.
    spec.style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    spec.exStyle = WS_EX_CONTROLPARENT | extraExStyle;
    createWindow(spec, owner);
    m_background = draw(dpi());
    RECT r;
    GetClientRect(hwnd(), &r);
    if (r.right != m_background.width() || r.bottom != m_background.height())
        SetWindowPos(hwnd(), nullptr, 0, 0, m_background.width(), m_background.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    platform::UniqueGdiObject region = platform::RegionWithout(m_background, art::kTransparentColour);
    // On success the system owns the region.
    if (!SetWindowRgn(hwnd(), static_cast<HRGN>(region.get()), FALSE)) platform::ThrowLastError("SetWindowRgn");
    region.release();
    centreOnScreen();
}

platform::UniqueGdiObject ShapedForm::outline() const {
    platform::UniqueGdiObject region(CreateRectRgn(0, 0, 0, 0));
    if (!hwnd() || GetWindowRgn(hwnd(), static_cast<HRGN>(region.get())) == ERROR) region.reset();
    return region;
}

void ShapedForm::addPicture(platform::TQuorvelImage& image, std::string_view name, const platform::Bounds& b,
                            platform::Dib picture, bool visible) {
    add(image, name, platform::TQuorvelImage::ClassName(), "", WS_CLIPSIBLINGS, b);
    image.setPicture(std::move(picture));
    if (!visible) image.setVisible(false);
}

void ShapedForm::Stack(std::initializer_list<platform::TQuorvelImage*> topToBottom) {
    HWND above = HWND_TOP;
    for (auto* image : topToBottom) {
        SetWindowPos(image->hwnd(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = image->hwnd();
    }
}

void ShapedForm::wirePress(platform::TQuorvelImage& face, platform::TQuorvelImage& beneath,
                           std::function<void()> click) {
    face.OnMouseDown = [this, &face](int, int) {
        face.setVisible(false);
        m_pressed = &face;
    };
    auto release = [this, &face, click](platform::TQuorvelImage& from, int x, int y) {
        bool wasPressed = m_pressed == &face;
        m_pressed = nullptr;
        face.setVisible(true);
        RECT r;
        GetClientRect(from.hwnd(), &r);
        if (wasPressed && x >= 0 && y >= 0 && x < r.right && y < r.bottom && click) click();
    };
    face.OnMouseUp = [release, &face](int x, int y) { release(face, x, y); };
    beneath.OnMouseUp = [release, &beneath](int x, int y) { release(beneath, x, y); };
}

void ShapedForm::centreOnScreen() {
    RECT r = windowRect();
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShapedForm::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (!m_background.empty()) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, m_background.bitmap());
        BitBlt(dc, 0, 0, m_background.width(), m_background.height(), mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    EndPaint(hwnd(), &ps);
}

LRESULT ShapedForm::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST: {
        // The background acts as a title bar: the system drags the window from any point of it.
        LRESULT hit = DefWindowProcW(hwnd(), msg, wp, lp);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        FormMouseMove();
        break;
    default:
        break;
    }
    handled = false;
    return 0;
}

} // namespace app
