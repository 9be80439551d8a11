#include "app/progress.h"

#include <cmath>
#include <string>

namespace app {

namespace {
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationMs = 90;
constexpr int kFramesPerLoop = 16;
constexpr COLORREF kLinkColour = RGB(0, 0, 238);

// The window is only 258 units wide: its texts use 8 points (11 pixels at 96 DPI).
HFONT DerivedFont(HFONT base, int height, bool bold, bool underline) {
    LOGFONTW lf{};
    GetObjectW(base, sizeof lf, &lf);
    lf.lfHeight = -height;
    lf.lfWidth = 0;
    if (bold) lf.lfWeight = FW_BOLD;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectW(&lf);
}

int TextWidth(HFONT font, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}
} // namespace

// ---- LinkLabel ----

bool LinkLabel::click() {
    if (m_plain || !enabled() || !visible()) return false;
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, STN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

bool LinkLabel::onCommand(WORD code) {
    if (code != STN_CLICKED) return false;
    if (!m_plain && onClick) onClick();
    return true;
}

void LinkLabel::setPlain(bool on) {
    m_plain = on;
    applyFont();
}

void LinkLabel::setFonts(HFONT link, HFONT plainText) {
    m_linkFont = link;
    m_plainFont = plainText;
    applyFont();
}

void LinkLabel::applyFont() {
    HFONT f = m_plain ? m_plainFont : m_linkFont;
    if (f) SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

// ---- TfrmProgress ----

TfrmProgress::TfrmProgress() : Form("TfrmProgress") {}

void TfrmProgress::buildWindow(HWND owner) {
    createWindow({"Scheduled Maintenance Progress", kWidth, kHeight, WS_POPUP | WS_CLIPCHILDREN,
                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST},
                 owner);
    add(imgSearch, "imgSearch", WC_STATICW, "", SS_OWNERDRAW, {6, 13, 28, 28});
    addLabel(lblHeading, "lblHeading", "Performing Scheduled Maintenance", {38, 6, 216, 16}, nullptr, SS_ENDELLIPSIS);
    addLabel(lblStatus, "lblStatus", "Removing junk and obsolete files...", {38, 23, 216, 14}, nullptr, SS_ENDELLIPSIS);
    addLabel(lblCancel, "lblCancel", "Cancel", {206, 37, 46, 15}, nullptr, SS_NOTIFY | SS_RIGHT);
    m_textFont.reset(DerivedFont(font(), scale(11), false, false));
    // Fonts differ in width from system to system: the bold heading steps down until the
    // longest heading fits.
    int room = scale(216);
    for (int height = scale(11); height >= scale(9); --height) {
        m_boldFont.reset(DerivedFont(font(), height, true, false));
        if (TextWidth(static_cast<HFONT>(m_boldFont.get()), L"Performing Scheduled Maintenance") <= room) break;
    }
    m_linkFont.reset(DerivedFont(font(), scale(11), false, true));
    SendMessageW(lblHeading.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.get()), FALSE);
    SendMessageW(lblStatus.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_textFont.get()), FALSE);
    lblCancel.setFonts(static_cast<HFONT>(m_linkFont.get()), static_cast<HFONT>(m_textFont.get()));
}

void TfrmProgress::FormCreate() {
    SetTimer(hwnd(), kAnimationTimer, kAnimationMs, nullptr);
}

void TfrmProgress::FormClose() {
    KillTimer(hwnd(), kAnimationTimer);
}

void TfrmProgress::placeBottomRight() {
    if (!isOpen()) create();
    RECT r = windowRect();
    int width = r.right - r.left;
    int left = GetSystemMetrics(SM_CXSCREEN) - width;
    int top = GetSystemMetrics(SM_CYSCREEN) - scale(kFromBottom);
    SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmProgress::showInactive() {
    if (!isOpen()) create();
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd());
}

void TfrmProgress::paintSearch(HDC target, const RECT& area) const {
    int w = area.right - area.left, h = area.bottom - area.top;
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bmp = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

    auto s = [w](double v) { return static_cast<int>(std::lround(v * w / 32.0)); };
    // A page of text being searched.
    RECT page{s(6), s(3), s(24), s(29)};
    FillRect(dc, &page, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &page, GetSysColorBrush(COLOR_BTNSHADOW));
    HPEN textPen = CreatePen(PS_SOLID, 1, RGB(150, 150, 160));
    HGDIOBJ oldPen = SelectObject(dc, textPen);
    for (int line = 0; line < 7; ++line) {
        int y = s(7 + line * 3);
        MoveToEx(dc, s(9), y, nullptr);
        LineTo(dc, s(line % 3 == 2 ? 16 : 21), y);
    }
    // The magnifier circles over the page, one loop every kFramesPerLoop frames.
    double angle = 2.0 * 3.14159265358979 * (m_frame % kFramesPerLoop) / kFramesPerLoop;
    double cx = 14 + 5 * std::cos(angle), cy = 14 + 5 * std::sin(angle);
    HPEN handlePen = CreatePen(PS_SOLID, s(3) < 2 ? 2 : s(3), RGB(90, 50, 20));
    SelectObject(dc, handlePen);
    MoveToEx(dc, s(cx + 4), s(cy + 4), nullptr);
    LineTo(dc, s(cx + 10), s(cy + 10));
    HPEN ringPen = CreatePen(PS_SOLID, s(2) < 1 ? 1 : s(2), RGB(40, 40, 40));
    SelectObject(dc, ringPen);
    HBRUSH lens = CreateSolidBrush(RGB(200, 230, 250));
    HGDIOBJ oldBrush = SelectObject(dc, lens);
    Ellipse(dc, s(cx - 6), s(cy - 6), s(cx + 6), s(cy + 6));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(lens);
    DeleteObject(ringPen);
    DeleteObject(handlePen);
    DeleteObject(textPen);

    BitBlt(target, area.left, area.top, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteDC(dc);
}

LRESULT TfrmProgress::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kAnimationTimer) break;
        handled = true;
        ++m_frame;
        InvalidateRect(imgSearch.hwnd(), nullptr, FALSE);
        return 0;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (dis->hwndItem != imgSearch.hwnd()) break;
        handled = true;
        paintSearch(dis->hDC, dis->rcItem);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) != lblCancel.hwnd()) break;
        handled = true;
        SetTextColor(reinterpret_cast<HDC>(wp), lblCancel.plain() ? RGB(0, 0, 0) : kLinkColour);
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) != lblCancel.hwnd() || lblCancel.plain()) break;
        handled = true;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_ERASEBKGND: {
        // Borderless, so a raised edge keeps the window apart from what lies beneath it.
        handled = true;
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        return 1;
    }
    default:
        break;
    }
    return Form::onMessage(msg, wp, lp, handled);
}

} // namespace app
