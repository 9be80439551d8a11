#include "app/commontools.h"

#include <memory>
#include <stdexcept>

namespace app {

namespace {

std::unique_ptr<Tcommontools>& Instance() {
    static std::unique_ptr<Tcommontools> instance;
    return instance;
}

// Selects a GDI object for the lifetime of the scope and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_object(object), m_old(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_old;
};

// Drawing on a 32-unit grid scaled to the bitmap's size.
struct Canvas {
    HDC dc;
    int size;
    int s(int v) const { return MulDiv(v, size, 32); }
    HPEN pen(COLORREF c, int width) const { return CreatePen(PS_SOLID, width < 1 ? 1 : width, c); }

    void ellipse(int l, int t, int r, int b, COLORREF fill, COLORREF line, int width) const {
        Selected p(dc, pen(line, s(width)));
        Selected f(dc, CreateSolidBrush(fill));
        Ellipse(dc, s(l), s(t), s(r), s(b));
    }
    void polygon(const POINT* pts, int n, COLORREF fill, COLORREF line) const {
        POINT scaled[12];
        for (int i = 0; i < n && i < 12; ++i)
            scaled[i] = {s(pts[i].x), s(pts[i].y)};
        Selected p(dc, pen(line, s(1)));
        Selected f(dc, CreateSolidBrush(fill));
        Polygon(dc, scaled, n);
    }
    void line(int x1, int y1, int x2, int y2, COLORREF c, int width) const {
        Selected p(dc, CreatePen(PS_SOLID, s(width) < 1 ? 1 : s(width), c));
        MoveToEx(dc, s(x1), s(y1), nullptr);
        LineTo(dc, s(x2), s(y2));
    }
    void text(const wchar_t* t, int l, int top, int r, int b, COLORREF c, int height) const {
        Selected f(dc,
                   CreateFontW(-s(height), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial"));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, c);
        RECT rc{s(l), s(top), s(r), s(b)};
        DrawTextW(dc, t, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
};

constexpr COLORREF kOutline = RGB(40, 40, 40);

void DrawConfirm(const Canvas& c) {
    // A speech balloon asking a question.
    POINT balloon[] = {{3, 4}, {29, 4}, {29, 22}, {15, 22}, {8, 29}, {9, 22}, {3, 22}};
    c.polygon(balloon, 7, RGB(255, 255, 225), kOutline);
    c.text(L"?", 3, 4, 29, 22, RGB(0, 70, 170), 17);
}

void DrawDelete(const Canvas& c) {
    c.line(7, 7, 25, 25, RGB(120, 0, 0), 8);
    c.line(25, 7, 7, 25, RGB(120, 0, 0), 8);
    c.line(7, 7, 25, 25, RGB(225, 30, 30), 5);
    c.line(25, 7, 7, 25, RGB(225, 30, 30), 5);
}

void DrawMoveTo(const Canvas& c) {
    POINT back[] = {{2, 9}, {11, 9}, {14, 12}, {26, 12}, {26, 27}, {2, 27}};
    c.polygon(back, 6, RGB(230, 180, 60), kOutline);
    POINT front[] = {{2, 27}, {6, 15}, {30, 15}, {26, 27}};
    c.polygon(front, 4, RGB(250, 215, 100), kOutline);
    POINT arrow[] = {{14, 5}, {23, 5}, {23, 2}, {31, 8}, {23, 14}, {23, 11}, {14, 11}};
    c.polygon(arrow, 7, RGB(40, 160, 60), RGB(10, 90, 30));
}

void DrawRecycle(const Canvas& c) {
    POINT bin[] = {{7, 9}, {25, 9}, {23, 30}, {9, 30}};
    c.polygon(bin, 4, RGB(150, 190, 160), kOutline);
    for (int x : {12, 16, 20})
        c.line(x, 12, x, 27, RGB(70, 110, 80), 1);
    POINT lid[] = {{5, 5}, {27, 5}, {27, 9}, {5, 9}};
    c.polygon(lid, 4, RGB(120, 160, 130), kOutline);
    POINT handle[] = {{13, 2}, {19, 2}, {19, 5}, {13, 5}};
    c.polygon(handle, 4, RGB(120, 160, 130), kOutline);
}

void DrawMag(const Canvas& c) {
    c.line(19, 19, 28, 28, RGB(90, 50, 20), 6);
    c.ellipse(3, 3, 22, 22, RGB(200, 230, 250), kOutline, 3);
    c.ellipse(7, 7, 12, 12, RGB(250, 250, 255), RGB(250, 250, 255), 1);
}

void DrawHelp(const Canvas& c) {
    c.ellipse(1, 1, 31, 31, RGB(30, 90, 200), RGB(10, 50, 140), 2);
    c.text(L"?", 1, 1, 31, 31, RGB(255, 255, 255), 24);
}

} // namespace

void Picture::reset(HBITMAP bitmap, int width, int height) {
    m_bitmap.reset(bitmap);
    m_width = width;
    m_height = height;
}

HBITMAP DrawGlyph(Glyph glyph, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!bmp) throw std::runtime_error("CreateDIBSection failed for a shared picture");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    Canvas canvas{dc, size};
    switch (glyph) {
    case Glyph::Confirm:
        DrawConfirm(canvas);
        break;
    case Glyph::Delete:
        DrawDelete(canvas);
        break;
    case Glyph::MoveTo:
        DrawMoveTo(canvas);
        break;
    case Glyph::Recycle:
        DrawRecycle(canvas);
        break;
    case Glyph::Mag:
        DrawMag(canvas);
        break;
    case Glyph::Help:
        DrawHelp(canvas);
        break;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bmp;
}

Tcommontools::Tcommontools() : Form("Tcommontools") {
    scan::TShellFileOp::ConfigureSharedInstance(ShellFileOp1);
}

void Tcommontools::buildWindow(HWND owner) {
    createWindow({"commontools", 100, 100, WS_POPUP, WS_EX_TOOLWINDOW}, owner);
    imgConfirm.reset(DrawGlyph(Glyph::Confirm, 32), 32, 32);
    imgDelete.reset(DrawGlyph(Glyph::Delete, 32), 32, 32);
    imgMoveTo.reset(DrawGlyph(Glyph::MoveTo, 32), 32, 32);
    imgRecycle.reset(DrawGlyph(Glyph::Recycle, 32), 32, 32);
    imgMag.reset(DrawGlyph(Glyph::Mag, 32), 32, 32);
    imgHelp16.reset(DrawGlyph(Glyph::Help, 16), 16, 16);

    ilCommon16.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 6, 4));
    ilIcons.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 16));
    if (!ilCommon16 || !ilIcons) throw std::runtime_error("ImageList_Create failed for the shared image lists");
    // The order matches the Common16 enumeration.
    for (Glyph g : {Glyph::Confirm, Glyph::Delete, Glyph::MoveTo, Glyph::Recycle, Glyph::Mag, Glyph::Help}) {
        platform::UniqueGdiObject small(DrawGlyph(g, 16));
        ImageList_AddMasked(common16(), static_cast<HBITMAP>(small.get()), GetSysColor(COLOR_BTNFACE));
    }
}

Tcommontools& CommonTools() {
    auto& instance = Instance();
    if (!instance) {
        auto made = std::make_unique<Tcommontools>();
        made->create();
        instance = std::move(made);
    }
    return *instance;
}

bool CommonToolsExist() {
    return Instance() != nullptr;
}

void DestroyCommonTools() {
    Instance().reset();
}

} // namespace app
