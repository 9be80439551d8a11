#include "app/art/launcher_art.h"

#include <algorithm>
#include <map>
#include <string>

#include "app/art/art_files.h"
#include "platform/strings.h"

namespace app::art {

namespace {

using platform::Dib;

struct ButtonArt {
    const char* icon; // res/art/<icon>.svg
    const char* caption;
    const char* title;
    const char* text;
};

// In the order of NavButton.
const ButtonArt kNavArt[kNavButtonCount] = {
    {"junk", "Junk Files", "Junk File Cleaner",
     "Finds temporary, backup and left-over files on the drives you choose, in chosen folders and in the Windows "
     "temporary folder, and deletes them, sends them to the Recycle Bin or moves them to a folder."},
    {"eraser", "The Eraser", "The Eraser",
     "Erases the traces of browsing and everyday use: the browser's cache, cookies, history and typed addresses, "
     "recent documents and most-recently-used lists."},
    {"shortcuts", "Shortcuts", "Shortcut Fixer",
     "Finds shortcuts whose target is gone, looks for the moved target and repairs the shortcut, or removes it."},
    {"uninstall", "Add/Remove", "Add/Remove Cleaner",
     "Finds entries in Add/Remove Programs whose uninstaller is missing and removes the dead entries."},
    {"dupes", "Duplicates", "Duplicate File Finder",
     "Finds files that are copies of one another, by name or by size and contents, and removes the copies you "
     "select."},
    {"registry", "Registry", "Registry Cleaner",
     "Finds registry values that point to missing files or folders and orphaned shared-DLL records, backs the "
     "registry up and removes the invalid references."},
    {"startup", "Start-up", "Start-up Manager",
     "Lists the programs Windows starts (Run keys, win.ini and the StartUp folder) and lets you disable, enable, "
     "delete or add them."},
    {"setupwatch", "Setupwatch", "Setupwatch",
     "Takes snapshots of the disk, the INI files and the registry before and after an installation and reports "
     "what the installation changed."},
    {"schedule", "Schedule", "Scheduled Maintenance",
     "Runs the junk cleaner, the trace eraser and the registry cleaner unattended, at the times you choose or "
     "whenever Windows starts."},
    {"web", "Web", "Vantrel on the Web", "Opens the Vantrel home page at www.quorvel.com in your web browser."},
    {"help", "Help", "Help", "The user manual, version information and the support page."},
    {"logs", "Logs", "Tool Action Logs",
     "What each tool has done, log by log, and the running totals of everything Vantrel has removed."},
    {"exit", "Exit", "Exit Vantrel", "Closes the launcher and ends Vantrel."},
};

const ButtonArt kHelpArt[3] = {
    {"manual", "User Manual", "", ""},
    {"support", "Support Page", "", ""},
    {"close", "Close", "", ""},
};

constexpr COLORREF kEdge = RGB(0x4d, 0x6d, 0x9c);
constexpr COLORREF kWhite = RGB(0xff, 0xff, 0xff);
constexpr COLORREF kShadow = RGB(0x08, 0x10, 0x1e);
constexpr COLORREF kSoft = RGB(0xc3, 0xd0, 0xe4);
constexpr COLORREF kDim = RGB(0x8f, 0xa3, 0xc2);
constexpr uint32_t kAccent = 0xFF41C3FF;

int Px(int units, int dpi) {
    return MulDiv(units, dpi, 96);
}

RECT PxRect(int x, int y, int w, int h, int dpi) {
    return {Px(x, dpi), Px(y, dpi), Px(x, dpi) + Px(w, dpi), Px(y, dpi) + Px(h, dpi)};
}

const Dib& Source(const std::string& name) {
    static std::map<std::string, Dib> cache;
    auto it = cache.find(name);
    if (it == cache.end()) it = cache.emplace(name, platform::DecodeImage(ArtBytes(name))).first;
    return it->second;
}

// An artwork file at w x h units.
Dib Scaled(const std::string& name, int w, int h, int dpi) {
    return platform::Resample(Source(name), Px(w, dpi), Px(h, dpi));
}

void MakeOpaque(Dib& dib) {
    uint32_t* p = dib.bits();
    for (size_t i = 0, n = static_cast<size_t>(dib.width()) * dib.height(); i < n; ++i)
        p[i] |= 0xFF000000u;
}

// Segoe UI where Windows has it, else Tahoma (Windows since 2000, and Wine's own fonts).
const wchar_t* FontFace() {
    static std::wstring face = [] {
        HDC dc = GetDC(nullptr);
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, L"Segoe UI", LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(
            dc, &lf,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
                *reinterpret_cast<bool*>(found) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, dc);
        return std::wstring(found ? L"Segoe UI" : L"Tahoma");
    }();
    return face.c_str();
}

struct TextStyle {
    int size = 13; // pixel height at 96 DPI
    bool bold = false;
    COLORREF colour = kWhite;
    UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX;
    bool shadow = false;
};

// GDI text on an opaque picture; GDI clears the alpha of the pixels it draws, so the caller makes
// the picture opaque again afterwards.
void DrawTextOn(Dib& dib, std::string_view text, RECT r, const TextStyle& style, int dpi) {
    platform::DibDC dc(dib);
    platform::UniqueGdiObject font(CreateFontW(-Px(style.size, dpi), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                               DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                               DEFAULT_PITCH | FF_SWISS, FontFace()));
    HGDIOBJ old = SelectObject(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    std::wstring w = platform::Widen(text);
    if (style.shadow) {
        RECT s = r;
        OffsetRect(&s, 0, std::max(1, Px(1, dpi)));
        SetTextColor(dc.get(), kShadow);
        DrawTextW(dc.get(), w.c_str(), static_cast<int>(w.size()), &s, style.format);
    }
    SetTextColor(dc.get(), style.colour);
    DrawTextW(dc.get(), w.c_str(), static_cast<int>(w.size()), &r, style.format);
    SelectObject(dc.get(), old);
}

// A background rendered from its SVG at the DPI, cut to its outline; cached per DPI because
// every face and hint picture is cut from it.
const Dib& Base(const std::string& name, int w, int h, int dpi) {
    static std::map<std::pair<std::string, int>, Dib> cache;
    auto key = std::make_pair(name, dpi);
    auto it = cache.find(key);
    if (it == cache.end()) {
        Dib dib = Scaled(name, w, h, dpi);
        platform::CutOutline(dib, kTransparentColour, kEdge);
        it = cache.emplace(key, std::move(dib)).first;
    }
    return it->second;
}

const Dib& NavBase(int dpi) {
    return Base("launcher_back", kNavWidth, kNavHeight, dpi);
}
const Dib& HelpBase(int dpi) {
    return Base("help_back", kHelpWidth, kHelpHeight, dpi);
}

Dib Cut(const Dib& base, const platform::Bounds& b, int dpi) {
    return base.crop(Px(b.x, dpi), Px(b.y, dpi), Px(b.w, dpi), Px(b.h, dpi));
}

const ButtonArt& Art(NavButton b) {
    return kNavArt[static_cast<int>(b)];
}

enum class Face { Up, Over, Down };

Dib ToolFace(NavButton b, Face face, int dpi) {
    platform::Bounds bounds = NavButtonBounds(b);
    Dib dib = Cut(NavBase(dpi), bounds, dpi);
    const char* plate = face == Face::Up ? "plate_up" : face == Face::Over ? "plate_over" : "plate_down";
    platform::DrawOver(dib, Scaled(plate, bounds.w, bounds.h, dpi), 0, 0);
    int shift = face == Face::Down ? Px(1, dpi) : 0;
    platform::DrawOver(dib, Scaled(Art(b).icon, 56, 56, dpi), Px(22, dpi) + shift, Px(8, dpi) + shift,
                       face == Face::Up ? 235 : 255);
    MakeOpaque(dib);
    TextStyle label;
    label.size = 12;
    label.bold = face != Face::Up;
    label.colour = face == Face::Up ? kSoft : face == Face::Over ? kWhite : RGB(0xa9, 0xc4, 0xe6);
    label.format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    label.shadow = true;
    RECT r = PxRect(2, 67, bounds.w - 4, 20, dpi);
    OffsetRect(&r, shift, shift);
    DrawTextOn(dib, Art(b).caption, r, label, dpi);
    MakeOpaque(dib);
    return dib;
}

Dib CommandFace(NavButton b, Face face, int dpi) {
    platform::Bounds bounds = NavButtonBounds(b);
    Dib dib = Cut(NavBase(dpi), bounds, dpi);
    platform::DrawOver(dib, Scaled(face == Face::Down ? "round_down" : "round_up", bounds.w, bounds.h, dpi), 0, 0);
    int shift = face == Face::Down ? Px(1, dpi) : 0;
    platform::DrawOver(dib, Scaled(Art(b).icon, 26, 26, dpi), Px(9, dpi) + shift, Px(9, dpi) + shift);
    MakeOpaque(dib);
    return dib;
}

Dib HelpFace(HelpButton b, Face face, int dpi) {
    platform::Bounds bounds = HelpButtonBounds(b);
    Dib dib = Cut(HelpBase(dpi), bounds, dpi);
    platform::DrawOver(dib, Scaled(face == Face::Down ? "wide_down" : "wide_up", bounds.w, bounds.h, dpi), 0, 0);
    int shift = face == Face::Down ? Px(1, dpi) : 0;
    platform::DrawOver(dib, Scaled(kHelpArt[static_cast<int>(b)].icon, 24, 24, dpi), Px(14, dpi) + shift,
                       Px(10, dpi) + shift);
    MakeOpaque(dib);
    TextStyle label;
    label.size = 13;
    label.bold = true;
    label.colour = face == Face::Down ? RGB(0xa9, 0xc4, 0xe6) : kWhite;
    label.format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    label.shadow = true;
    RECT r = PxRect(50, 0, bounds.w - 56, bounds.h, dpi);
    OffsetRect(&r, shift, shift);
    DrawTextOn(dib, kHelpArt[static_cast<int>(b)].caption, r, label, dpi);
    MakeOpaque(dib);
    return dib;
}

} // namespace

platform::Bounds NavButtonBounds(NavButton b) {
    int i = static_cast<int>(b);
    if (IsTool(b)) return {24 + (i % 3) * 108, 118 + (i / 3) * 100, 100, 92};
    return {416 + (i - kNavToolCount) * 52, 46, 44, 44};
}

platform::Bounds NavHintBounds() {
    return {364, 118, 252, 292};
}

std::string_view NavButtonCaption(NavButton b) {
    return Art(b).caption;
}

Dib MainScreen(int dpi) {
    Dib dib = NavBase(dpi).copy();
    TextStyle title;
    title.size = 34;
    title.bold = true;
    title.shadow = true;
    DrawTextOn(dib, "Vantrel", PxRect(150, 34, 260, 44, dpi), title, dpi);
    TextStyle subtitle;
    subtitle.colour = RGB(0x9f, 0xb3, 0xd1);
    DrawTextOn(dib, "Keeps your PC clean, quick and tidy", PxRect(152, 79, 260, 20, dpi), subtitle, dpi);
    platform::Bounds hint = NavHintBounds();
    platform::DrawOver(dib, Scaled("pointer", 64, 64, dpi), Px(hint.x + (hint.w - 64) / 2 + 4, dpi),
                       Px(hint.y + 54, dpi), 200);
    TextStyle lead;
    lead.size = 15;
    lead.bold = true;
    lead.colour = RGB(0xdf, 0xe8, 0xf5);
    lead.format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    DrawTextOn(dib, "Point at a tool", PxRect(hint.x, hint.y + 122, hint.w, 22, dpi), lead, dpi);
    TextStyle follow = lead;
    follow.size = 13;
    follow.bold = false;
    follow.colour = kDim;
    DrawTextOn(dib, "to see what it does.", PxRect(hint.x, hint.y + 146, hint.w, 20, dpi), follow, dpi);
    MakeOpaque(dib);
    return dib;
}

ButtonFaces NavButtonFaces(NavButton b, int dpi) {
    ButtonFaces faces;
    if (IsTool(b)) {
        faces.up = ToolFace(b, Face::Up, dpi);
        faces.over = ToolFace(b, Face::Over, dpi);
        faces.down = ToolFace(b, Face::Down, dpi);
    } else {
        faces.up = CommandFace(b, Face::Up, dpi);
        faces.down = CommandFace(b, Face::Down, dpi);
    }
    return faces;
}

Dib NavHint(NavButton b, int dpi) {
    platform::Bounds bounds = NavHintBounds();
    Dib dib = Cut(NavBase(dpi), bounds, dpi);
    if (IsTool(b))
        platform::DrawOver(dib, Scaled(Art(b).icon, 88, 88, dpi), Px((bounds.w - 88) / 2, dpi), Px(26, dpi));
    else
        platform::DrawOver(dib, Scaled(Art(b).icon, 64, 64, dpi), Px((bounds.w - 64) / 2, dpi), Px(38, dpi));
    MakeOpaque(dib);
    TextStyle title;
    title.size = 17;
    title.bold = true;
    title.shadow = true;
    title.format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    DrawTextOn(dib, Art(b).title, PxRect(8, 126, bounds.w - 16, 26, dpi), title, dpi);
    platform::FillRect(dib, PxRect(bounds.w / 2 - 20, 157, 40, 2, dpi), kAccent);
    TextStyle text;
    text.size = 13;
    text.colour = kSoft;
    text.format = DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextOn(dib, Art(b).text, PxRect(22, 172, bounds.w - 44, bounds.h - 182, dpi), text, dpi);
    MakeOpaque(dib);
    return dib;
}

platform::Bounds HelpButtonBounds(HelpButton b) {
    return {216, 116 + static_cast<int>(b) * 54, 180, 44};
}

platform::Bounds HelpInfoBounds() {
    return {24, 116, 176, 160};
}

Dib HelpBack(int dpi) {
    Dib dib = HelpBase(dpi).copy();
    TextStyle title;
    title.size = 26;
    title.bold = true;
    title.shadow = true;
    DrawTextOn(dib, "Vantrel Help", PxRect(124, 38, 270, 34, dpi), title, dpi);
    TextStyle subtitle;
    subtitle.colour = RGB(0x9f, 0xb3, 0xd1);
    DrawTextOn(dib, "User manual, version and support", PxRect(126, 72, 270, 20, dpi), subtitle, dpi);
    MakeOpaque(dib);
    return dib;
}

ButtonFaces HelpButtonFaces(HelpButton b, int dpi) {
    ButtonFaces faces;
    faces.up = HelpFace(b, Face::Up, dpi);
    faces.down = HelpFace(b, Face::Down, dpi);
    return faces;
}

Dib HelpInfo(std::string_view text, int dpi) {
    platform::Bounds bounds = HelpInfoBounds();
    Dib dib = Cut(HelpBase(dpi), bounds, dpi);
    std::string_view first = text.substr(0, text.find('\n'));
    std::string_view rest = first.size() < text.size() ? text.substr(first.size() + 1) : std::string_view{};
    TextStyle heading;
    heading.size = 18;
    heading.bold = true;
    heading.shadow = true;
    heading.format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    DrawTextOn(dib, first, PxRect(16, 14, bounds.w - 28, 26, dpi), heading, dpi);
    platform::FillRect(dib, PxRect(16, 44, 32, 2, dpi), kAccent);
    TextStyle body;
    body.size = 12;
    body.colour = kSoft;
    body.format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextOn(dib, rest, PxRect(16, 54, bounds.w - 28, bounds.h - 62, dpi), body, dpi);
    MakeOpaque(dib);
    return dib;
}

} // namespace app::art
