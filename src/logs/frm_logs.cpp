#include "logs/frm_logs.h"

#include <algorithm>
#include <optional>

#include "app/help.h"
#include "app/hint.h"
#include "logs/logs.h"
#include "logs/pure/log_view_text.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/strings.h"

namespace logs {

using platform::Bounds;

namespace {

constexpr const char* kScheduleJunkKey = "\\Software\\Quorvel\\Vantrel\\Schedule\\Junk";
constexpr const char* kScheduleEraserKey = "\\Software\\Quorvel\\Vantrel\\Schedule\\Eraser";
constexpr const char* kScheduleRegistryKey = "\\Software\\Quorvel\\Vantrel\\Schedule\\Registry";
constexpr const char* kWebHint = "Vantrel is attempting to open the Quorvel web site in your browser.  If it does not "
                                 "appear, you can browse there manually: ";

// Layout, in 96-DPI units.
constexpr int kBand = 64;     // the picture band on the left
constexpr int kMargin = 8;    // inside a page
constexpr int kButtonH = 25;  // page buttons
constexpr int kCaptionH = 18; // the caption above a view
constexpr int kMinPane = 120;

struct SwitchBox {
    platform::CheckBox TfrmLogs::*box;
    const char* name;    // control
    const char* caption; // as shown
    const char* key;     // where the switch lives
    const char* value;
};

constexpr SwitchBox kManualSwitches[] = {
    {&TfrmLogs::cbJunk, "cbJunk", "&Junk and Obsolete Files", kLogsKey, "DoJunk"},
    {&TfrmLogs::cbPrivacy, "cbPrivacy", "&Privacy", kLogsKey, "DoPriv"},
    {&TfrmLogs::cbShortcuts, "cbShortcuts", "&Invalid Shortcuts", kLogsKey, "DoShort"},
    {&TfrmLogs::cbUninstallers, "cbUninstallers", "In&valid Uninstaller References", kLogsKey, "DoUnin"},
    {&TfrmLogs::cbDupes, "cbDupes", "Du&plicate Files", kLogsKey, "DoDupes"},
    {&TfrmLogs::cbRegistry, "cbRegistry", "Re&gistry Cleaner", kLogsKey, "DoReg"},
};
constexpr SwitchBox kAutomaticSwitches[] = {
    {&TfrmLogs::cbSchedJunk, "cbSchedJunk", "J&unk and Obsolete Files", kScheduleJunkKey, "LogEvents"},
    {&TfrmLogs::cbSchedPrivacy, "cbSchedPrivacy", "P&rivacy", kScheduleEraserKey, "LogEvents"},
    {&TfrmLogs::cbSchedRegistry, "cbSchedRegistry", "Regis&try Cleaner", kScheduleRegistryKey, "LogEvents"},
};

struct GroupName {
    const char* group;
    const char* control;
};
constexpr GroupName kGroupNames[] = {
    {"Junk and Obsolete Files", "gbJunk"}, {"Privacy and History", "gbPrivacy"}, {"Shortcuts", "gbShortcuts"},
    {"Uninstallers", "gbUninstallers"},    {"Duplicate Files", "gbDupes"},       {"Registry", "gbRegistry"},
    {"Historical Totals", "gbTotals"},
};

std::string GroupControl(const std::string& group) {
    for (const auto& g : kGroupNames)
        if (group == g.group) return g.control;
    return "gb" + group;
}

std::string KeyLabel(const char* key) {
    std::string_view k(key);
    constexpr std::string_view product = "\\Software\\Quorvel\\Vantrel\\";
    if (k.substr(0, product.size()) == product) k.remove_prefix(product.size());
    return std::string(k);
}

bool ReadsNoEvents(const platform::Edit& view) {
    constexpr int kLen = static_cast<int>(std::char_traits<char>::length(kNoEventsLogged));
    return GetWindowTextLengthW(view.hwnd()) == kLen && view.text() == kNoEventsLogged;
}

std::wstring AnsiToWide(std::string_view bytes) {
    if (bytes.empty()) return {};
    // No MB_ERR_INVALID_CHARS: a byte the code page does not define becomes its default character
    // instead of failing the whole conversion.
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) platform::ThrowLastError("MultiByteToWideChar");
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

// The text a view shows for a log file: all of it, or its last part after a notice line.
std::wstring LoadLogText(const std::string& path) {
    platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f) platform::ThrowLastError("CreateFile");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) platform::ThrowLastError("GetFileSizeEx");
    uint64_t offset = ViewReadOffset(static_cast<uint64_t>(size.QuadPart));
    LARGE_INTEGER pos{};
    pos.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(f.get(), pos, nullptr, FILE_BEGIN)) platform::ThrowLastError("SetFilePointerEx");
    std::string bytes(static_cast<size_t>(static_cast<uint64_t>(size.QuadPart) - offset), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - got, 1 << 20));
        if (!ReadFile(f.get(), bytes.data() + got, want, &n, nullptr)) platform::ThrowLastError("ReadFile");
        if (n == 0) break; // the file was shortened meanwhile
        got += n;
    }
    bytes.resize(got);
    ViewBytes view = PrepareViewBytes(bytes, offset);
    std::wstring text = view.omitted ? platform::Widen(OmittedNotice(view.omitted)) : std::wstring();
    text += AnsiToWide(view.text);
    return text;
}

void SetViewText(platform::Edit& view, const std::wstring& text) {
    SetWindowTextW(view.hwnd(), text.c_str());
}

// A flag as stored; nullopt when missing. A value of another type raises platform::RegTypeError.
std::optional<bool> StoredFlag(const char* key, const char* name) {
    auto k = platform::RegKey::Open(HKEY_CURRENT_USER, key);
    if (!k) return std::nullopt;
    auto v = k->readInt(name);
    if (!v) return std::nullopt;
    return *v != 0;
}

// Pictures, drawn in code.
void FillRectColor(HDC dc, const RECT& r, COLORREF c) {
    platform::UniqueGdiObject brush(CreateSolidBrush(c));
    FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void DrawBand(HDC dc, const RECT& r) {
    TRIVERTEX v[2] = {{r.left, r.top, 0x2400, 0x5E00, 0xA800, 0}, {r.right, r.bottom, 0x0E00, 0x2C00, 0x5600, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

} // namespace

void ShowLogsWindow(HWND owner) {
    TfrmLogs().showModal(owner);
}

TfrmLogs::TfrmLogs() : Form("TfrmLogs"), m_store(kLogsWindowKey) {
    const auto& pages = LogsPages();
    for (size_t i = 0; i < logPages.size(); ++i)
        logPages[i].info = &pages[i];
}

TfrmLogs::~TfrmLogs() = default;

const std::vector<std::string>& TfrmLogs::StoredProperties() {
    static const std::vector<std::string> props = [] {
        std::vector<std::string> p;
        for (const auto& s : kManualSwitches)
            p.push_back(std::string(s.name) + ".Checked");
        for (const auto& page : LogsPages())
            if (page.twoViews()) p.push_back(page.pane + ".Width");
        return p;
    }();
    return props;
}

TfrmLogs::LogPage* TfrmLogs::logPage(std::string_view caption) {
    for (auto& lp : logPages)
        if (lp.info->caption == caption) return &lp;
    return nullptr;
}

bool TfrmLogs::pageLoaded(std::string_view caption) {
    LogPage* lp = logPage(caption);
    return lp && lp->loaded;
}

// ---- building ----

void TfrmLogs::buildWindow(HWND owner) {
    createWindow({"Tool Action Logs", 960, 540, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT}, owner);
    LOGFONTW lf{};
    GetObjectW(font(), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    m_boldFont.reset(CreateFontIndirectW(&lf));

    buildMenu();
    addLabel(imgLogs, "imgLogs", "", {0, 0, kBand, 540}, nullptr, SS_OWNERDRAW);
    addLabel(imgStatistics, "imgStatistics", "", {0, 0, kBand, 540}, nullptr, SS_OWNERDRAW);
    addLabel(imgSettings, "imgSettings", "", {0, 0, kBand, 540}, nullptr, SS_OWNERDRAW);
    addStatusBar(StatusBar1, "StatusBar1", {260, -1});
    addPageControl(pcLogs, "pcLogs", {kBand + 6, 6, 960 - kBand - 12, 500}); // laid out again by layout()
    size_t next = 0;
    for (const auto& info : LogsPages()) {
        platform::Panel& page = pcLogs.addPage(info.name, info.caption);
        if (info.kind == PageKind::Log) {
            LogPage& lp = logPages[next++];
            lp.page = &page;
            buildLogPage(lp, page);
        } else if (info.kind == PageKind::Statistics) {
            buildStatisticsPage(page);
        } else {
            buildSettingsPage(page);
        }
    }
    pcLogs.onChange = [this] { pcLogsChange(); };
    m_built = true;
    layout();
    SetActivePicture();
}

void TfrmLogs::buildMenu() {
    auto& file = MainMenu.add("mnuFile", "&File");
    auto& reset = file.add("mnuReset", "&Reset...");
    for (const auto& item : ResetItems())
        reset.add(item.name, item.caption, [this, &item] { ResetClick(item); });
    file.addSeparator();
    file.add("mnuExit", "&Exit", [this] { close(); });
    auto& view = MainMenu.add("mnuView", "&View");
    view.add(
        "mnuRefresh", "&Refresh Data", [this] { mnuRefreshClick(); }, "F5");
    auto& help = MainMenu.add("mnuHelp", "&Help");
    help.add(
        "mnuHowTo", "&How to use Tool Action Logs", [this] { mnuHowToClick(); }, "F1");
    help.addSeparator();
    help.add("mnuWeb", "Quorvel on the &Web", [this] { mnuWebClick(); });
    MainMenu.attach(hwnd());
}

void TfrmLogs::buildLogPage(LogPage& lp, platform::Panel& page) {
    const LogsPageInfo& info = *lp.info;
    if (info.twoViews()) {
        for (size_t v = 0; v < 2; ++v) {
            std::string paneName = v == 0 ? info.pane : "pnl" + info.name.substr(2) + "Scheduled";
            addPanel(lp.panes[v], paneName, {0, 0, 100, 100}, &page);
            addLabel(lp.captions[v], "lbl" + info.views[v].view.substr(3), info.views[v].caption,
                     {0, 0, 100, kCaptionH}, &lp.panes[v]);
            addMemo(lp.views[v], info.views[v].view, "", {0, kCaptionH, 100, 80}, &lp.panes[v]);
        }
        add(lp.splitter, info.splitter, platform::SplitterClassName(), "", 0,
            {0, 0, platform::Splitter::kThickness, 100}, &page);
        lp.splitter.onMoved = [this] { layout(); };
        auto clear = std::make_unique<platform::MenuButton>();
        auto view = std::make_unique<platform::MenuButton>();
        for (size_t v = 0; v < 2; ++v) {
            const std::string file = info.views[v].file;
            const std::string suffix = v == 0 ? "Manual" : "Scheduled";
            clear->menu.add("mnuClear" + info.name.substr(2) + suffix, info.views[v].caption,
                            [this, file] { ClearLog(file); });
            view->menu.add("mnuView" + info.name.substr(2) + suffix, info.views[v].caption,
                           [this, file] { LogView(file); });
        }
        lp.cmdClear = std::move(clear);
        lp.cmdView = std::move(view);
    } else {
        addMemo(lp.views[0], info.views[0].view, "", {0, 0, 100, 100}, &page);
        lp.cmdClear = std::make_unique<platform::Button>();
        lp.cmdView = std::make_unique<platform::Button>();
        const std::string file = info.views[0].file;
        lp.cmdClear->onClick = [this, file] { ClearLog(file); };
        lp.cmdView->onClick = [this, file] { LogView(file); };
    }
    addButton(*lp.cmdClear, info.clearButton, "Clear &Log", {0, 0, 120, kButtonH}, &page);
    addButton(*lp.cmdView, info.viewButton, "View in &Text Editor", {0, 0, 150, kButtonH}, &page);
}

void TfrmLogs::buildStatisticsPage(platform::Panel& page) {
    for (const auto& group : StatisticsGroups()) {
        statGroups.push_back(std::make_unique<platform::GroupBox>());
        addGroupBox(*statGroups.back(), GroupControl(group), group, {0, 0, 100, 60}, &page);
    }
    for (const auto& row : StatisticsRows()) {
        statCaptions.push_back(std::make_unique<platform::Label>());
        statValues.push_back(std::make_unique<platform::Label>());
        // One line each: a value that does not fit ends in an ellipsis rather than a clipped second line.
        addLabel(*statCaptions.back(), row.valueLabel + "Caption", row.label, {0, 0, 100, 18}, &page, SS_ENDELLIPSIS);
        addLabel(*statValues.back(), row.valueLabel, "", {0, 0, 100, 18}, &page, SS_ENDELLIPSIS);
        if (row.group == "Historical Totals")
            SendMessageW(statValues.back()->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.get()), FALSE);
    }
    addLabel(lblStatsNote, "lblStatsNote", "", {0, 0, 100, 36}, &page);
    lblStatsNote.setVisible(false);
}

void TfrmLogs::buildSettingsPage(platform::Panel& page) {
    constexpr int x = 12, top = 40, groupW = 300, rowH = 24;
    addLabel(lblPerform, "lblPerform", "Perform logging for the following actions:", {x, 12, 400, 18}, &page);
    addGroupBox(gbManual, "gbManual", "Manual Actions", {x, top, groupW, 30 + 6 * rowH}, &page);
    addGroupBox(gbAutomatic, "gbAutomatic", "Automatic Actions", {x + groupW + 16, top, groupW, 30 + 3 * rowH}, &page);
    int row = 0;
    for (const auto& s : kManualSwitches) {
        addCheckBox(this->*s.box, s.name, s.caption, {x + 14, top + 22 + row++ * rowH, groupW - 28, 20}, &page);
        (this->*s.box).setChecked(true);
    }
    row = 0;
    for (const auto& s : kAutomaticSwitches) {
        addCheckBox(this->*s.box, s.name, s.caption, {x + groupW + 30, top + 22 + row++ * rowH, groupW - 28, 20},
                    &page);
        (this->*s.box).setChecked(true);
    }
    addLabel(lblSettingsNote, "lblSettingsNote", "", {x, top + 30 + 6 * rowH + 14, 2 * groupW + 16, 48}, &page);
    lblSettingsNote.setVisible(false);
}

// ---- layout ----

void TfrmLogs::layout() {
    if (!m_built || !hwnd()) return;
    RECT rc;
    GetClientRect(hwnd(), &rc);
    int cw = unscale(rc.right - rc.left), ch = unscale(rc.bottom - rc.top);
    int statusH = StatusBar1.bounds().h;
    for (platform::Label* img : {&imgLogs, &imgStatistics, &imgSettings})
        img->setBounds({0, 0, kBand, std::max(ch - statusH, 1)});
    pcLogs.setBounds({kBand + 6, 6, std::max(cw - kBand - 12, 200), std::max(ch - statusH - 12, 150)});
    Bounds area = pcLogs.pageArea();
    for (int i = 0; i < pcLogs.pageCount(); ++i)
        pcLogs.page(i).setBounds(area);
    for (auto& lp : logPages)
        layoutLogPage(lp, area.w, area.h);
    layoutStatisticsPage(area.w, area.h);
    lblSettingsNote.setBounds({12, lblSettingsNote.bounds().y, std::max(area.w - 24, 100), 48});
}

void TfrmLogs::layoutLogPage(LogPage& lp, int w, int h) {
    const int buttonY = h - kMargin - kButtonH;
    const int viewsH = std::max(buttonY - 2 * kMargin, 40);
    if (lp.info->twoViews()) {
        const int extent = w - 2 * kMargin;
        lp.splitter.setLimits(extent, kMinPane, kMinPane);
        if (!lp.placed) {
            lp.splitter.setPosition((extent - platform::Splitter::kThickness) / 2);
            lp.placed = true;
        }
        const int first = lp.splitter.position();
        const int second = std::max(extent - first - platform::Splitter::kThickness, 0);
        lp.panes[0].setBounds({kMargin, kMargin, first, viewsH});
        lp.splitter.setBounds({kMargin + first, kMargin, platform::Splitter::kThickness, viewsH});
        lp.panes[1].setBounds({kMargin + first + platform::Splitter::kThickness, kMargin, second, viewsH});
        for (size_t v = 0; v < 2; ++v) {
            int pw = v == 0 ? first : second;
            lp.captions[v].setBounds({0, 0, pw, kCaptionH});
            lp.views[v].setBounds({0, kCaptionH, pw, viewsH - kCaptionH});
        }
    } else {
        lp.views[0].setBounds({kMargin, kMargin, w - 2 * kMargin, viewsH});
    }
    lp.cmdView->setBounds({w - kMargin - 150, buttonY, 150, kButtonH});
    lp.cmdClear->setBounds({w - kMargin - 150 - 8 - 120, buttonY, 120, kButtonH});
}

void TfrmLogs::layoutStatisticsPage(int w, int h) {
    constexpr int m = 12, gap = 12, rowH = 24, head = 24;
    const int colW = std::max((w - 3 * m) / 2, 200);
    const auto groups = StatisticsGroups();
    const auto& rows = StatisticsRows();
    // Tool groups in pairs, side by side; the historical totals across the whole page below them.
    struct Place {
        int band, col; // col -1: the full width
    };
    constexpr Place kPlaces[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}, {1, 1}, {3, -1}};
    auto rowCount = [&](size_t g) {
        return static_cast<int>(
            std::count_if(rows.begin(), rows.end(), [&](const StatRow& r) { return r.group == groups[g]; }));
    };
    int bandHeight[4] = {0, 0, 0, 0};
    for (size_t g = 0; g < groups.size() && g < std::size(kPlaces); ++g)
        bandHeight[kPlaces[g].band] = std::max(bandHeight[kPlaces[g].band], head + rowCount(g) * rowH + 10);
    int bandTop[5] = {m, 0, 0, 0, 0};
    for (int b = 0; b < 4; ++b)
        bandTop[b + 1] = bandTop[b] + bandHeight[b] + gap;
    for (size_t g = 0; g < groups.size() && g < std::size(kPlaces); ++g) {
        const Place p = kPlaces[g];
        const int x = p.col < 0 ? m : m + p.col * (colW + m);
        const int gw = p.col < 0 ? w - 2 * m : colW;
        int captionW = 0;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].group == groups[g])
                captionW = std::max(captionW, textWidth(*statCaptions[i], rows[i].label) + 10);
        statGroups[g]->setBounds({x, bandTop[p.band], gw, bandHeight[p.band]});
        int row = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].group != groups[g]) continue;
            const int ry = bandTop[p.band] + head + row++ * rowH;
            statCaptions[i]->setBounds({x + 12, ry, captionW, 18});
            statValues[i]->setBounds({x + 12 + captionW, ry, gw - 24 - captionW, 18});
        }
    }
    lblStatsNote.setBounds({m, bandTop[4], w - 2 * m, std::max(h - bandTop[4] - m, 36)});
}

int TfrmLogs::textWidth(const platform::Control& c, std::string_view text) const {
    HDC dc = GetDC(c.hwnd());
    if (!dc) return static_cast<int>(text.size()) * 7;
    auto f = reinterpret_cast<HGDIOBJ>(SendMessageW(c.hwnd(), WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, f ? f : font());
    std::wstring w = platform::Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(c.hwnd(), dc);
    return unscale(size.cx);
}

void TfrmLogs::SetActivePicture() {
    int active = pcLogs.activePage();
    PageKind kind = active >= 0 ? LogsPages()[static_cast<size_t>(active)].kind : PageKind::Log;
    imgLogs.setVisible(kind == PageKind::Log);
    imgStatistics.setVisible(kind == PageKind::Statistics);
    imgSettings.setVisible(kind == PageKind::Settings);
}

void TfrmLogs::drawPicture(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    const RECT& r = di.rcItem;
    DrawBand(dc, r);
    const int s = scale(1);
    const int left = r.left + scale(8), top = r.top + scale(14);
    const COLORREF white = RGB(255, 255, 255), pale = RGB(200, 220, 245), accent = RGB(255, 196, 64);
    if (di.hwndItem == imgLogs.hwnd()) {
        // A sheet with lines of text and a folded corner.
        POINT sheet[5] = {{left + 4 * s, top},
                          {left + 32 * s, top},
                          {left + 44 * s, top + 12 * s},
                          {left + 44 * s, top + 52 * s},
                          {left + 4 * s, top + 52 * s}};
        platform::UniqueGdiObject brush(CreateSolidBrush(white));
        platform::UniqueGdiObject pen(CreatePen(PS_SOLID, s, RGB(120, 150, 190)));
        HGDIOBJ oldBrush = SelectObject(dc, brush.get()), oldPen = SelectObject(dc, pen.get());
        Polygon(dc, sheet, 5);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        POINT fold[3] = {{left + 32 * s, top}, {left + 32 * s, top + 12 * s}, {left + 44 * s, top + 12 * s}};
        platform::UniqueGdiObject foldBrush(CreateSolidBrush(pale));
        oldBrush = SelectObject(dc, foldBrush.get());
        oldPen = SelectObject(dc, pen.get());
        Polygon(dc, fold, 3);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        for (int i = 0; i < 6; ++i) {
            int ly = top + (18 + i * 5) * s;
            int lw = (i % 3 == 2 ? 20 : 30) * s;
            FillRectColor(dc, {left + 10 * s, ly, left + 10 * s + lw, ly + 2 * s}, RGB(60, 100, 160));
        }
    } else if (di.hwndItem == imgStatistics.hwnd()) {
        // A bar chart on an axis.
        const int base = top + 46 * s;
        const int heights[4] = {18, 30, 24, 40};
        for (int i = 0; i < 4; ++i) {
            int bx = left + (6 + i * 10) * s;
            FillRectColor(dc, {bx, base - heights[i] * s, bx + 7 * s, base}, i == 3 ? accent : (i % 2 ? white : pale));
        }
        FillRectColor(dc, {left + 2 * s, top + 2 * s, left + 4 * s, base + 2 * s}, white);
        FillRectColor(dc, {left + 2 * s, base, left + 48 * s, base + 2 * s}, white);
    } else {
        // Three switch boxes, two of them ticked.
        for (int i = 0; i < 3; ++i) {
            int by = top + i * 16 * s;
            FillRectColor(dc, {left + 6 * s, by, left + 18 * s, by + 12 * s}, white);
            FillRectColor(dc, {left + 22 * s, by + 5 * s, left + 46 * s, by + 7 * s}, pale);
            if (i != 1) {
                platform::UniqueGdiObject pen(CreatePen(PS_SOLID, 2 * s, RGB(20, 110, 40)));
                HGDIOBJ old = SelectObject(dc, pen.get());
                MoveToEx(dc, left + 8 * s, by + 6 * s, nullptr);
                LineTo(dc, left + 11 * s, by + 9 * s);
                LineTo(dc, left + 16 * s, by + 3 * s);
                SelectObject(dc, old);
            }
        }
    }
}

// ---- life cycle ----

void TfrmLogs::FormCreate() {
    m_store.restore(*this, StoredProperties());
    // A restored pane width is where its splitter stands.
    for (auto& lp : logPages)
        if (lp.info->twoViews()) lp.splitter.setPosition(lp.panes[0].bounds().w);
    layout();
    GetStats();
}

void TfrmLogs::FormShow() {
    readSwitches();
    FormActivate();
}

void TfrmLogs::readSwitches() {
    std::vector<std::string> unreadable;
    // The boxes show the switches in force: a stored Logs switch wins over the window state.
    for (const auto& s : kManualSwitches) {
        try {
            if (auto on = StoredFlag(s.key, s.value)) (this->*s.box).setChecked(*on);
        } catch (const platform::RegTypeError&) {
            unreadable.push_back(std::string("\"") + s.value + "\"");
        }
    }
    for (const auto& s : kAutomaticSwitches) {
        try {
            (this->*s.box).setChecked(app::ReadRegBool(s.key, s.value));
        } catch (const platform::RegTypeError&) {
            (this->*s.box).setChecked(true);
            unreadable.push_back(std::string("\"") + s.value + "\" (" + KeyLabel(s.key) + ")");
        }
    }
    if (unreadable.empty()) {
        lblSettingsNote.setVisible(false);
        return;
    }
    std::string names;
    for (const auto& n : unreadable)
        names += (names.empty() ? "" : ", ") + n;
    lblSettingsNote.setCaption("Not stored as a flag, so shown with its box as it was: " + names +
                               ". Closing this window stores the boxes' states again.");
    lblSettingsNote.setVisible(true);
}

void TfrmLogs::FormActivate() {
    if (m_activated) return;
    m_activated = true;
    if (LogPage* junk = logPage("Junk Files"); junk && !junk->loaded && pcLogs.activePage() == 0) loadPage(*junk);
}

bool TfrmLogs::FormCloseQuery() {
    // A switch that cannot be written is reported; the window still closes.
    try {
        for (const auto& s : kManualSwitches)
            app::WriteRegBool(s.key, s.value, (this->*s.box).checked());
        for (const auto& s : kAutomaticSwitches)
            app::WriteRegBool(s.key, s.value, (this->*s.box).checked());
    } catch (const std::exception& e) {
        platform::ShowErrorBox(std::string("The logging switches could not be saved: ") + e.what(), hwnd());
    }
    return true;
}

void TfrmLogs::FormClose() {
    try {
        m_store.save(*this, StoredProperties());
    } catch (const std::exception& e) {
        platform::ShowErrorBox(std::string("The window's settings could not be saved: ") + e.what(), hwnd());
    }
}

void TfrmLogs::FormHelp() {
    app::OpenHelpTopic(kLogsHelpTopic);
}

void TfrmLogs::FormResize() {
    layout();
}

void TfrmLogs::FormKeyDown(WPARAM key) {
    if (key == VK_F5) mnuRefreshClick();
}

LRESULT TfrmLogs::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    switch (msg) {
    case WM_COMMAND:
        // Menu commands carry no control handle and notification code 0.
        if (lp == 0 && HIWORD(wp) == 0 && MainMenu.handleCommand(LOWORD(wp))) {
            handled = true;
            return 0;
        }
        break;
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (di && (di->hwndItem == imgLogs.hwnd() || di->hwndItem == imgStatistics.hwnd() ||
                   di->hwndItem == imgSettings.hwnd())) {
            drawPicture(*di);
            handled = true;
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && m_built) FormActivate();
        break;
    case WM_GETMINMAXINFO: {
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        mm->ptMinTrackSize.x = scale(660);
        mm->ptMinTrackSize.y = scale(440);
        handled = true;
        return 0;
    }
    default:
        break;
    }
    return 0;
}

// ---- pages and views ----

void TfrmLogs::pcLogsChange() {
    layout();
    SetActivePicture();
    int active = pcLogs.activePage();
    if (active < 0) return;
    if (LogPage* lp = logPage(LogsPages()[static_cast<size_t>(active)].caption); lp && !lp->loaded) loadPage(*lp);
}

void TfrmLogs::loadPage(LogPage& lp) {
    for (size_t v = 0; v < lp.viewCount() && hwnd(); ++v)
        DoRefresh(lp.views[v], lp.info->views[v].file);
    lp.loaded = true;
}

void TfrmLogs::DoRefresh(platform::Edit& view, const std::string& fileName) {
    const std::string path = LogPath(fileName);
    if (platform::FileExists(path)) {
        view.setText("");
        try {
            SetViewText(view, LoadLogText(path));
        } catch (const std::exception& e) {
            // The file stays as it is; the view says why it cannot show it.
            view.setText("The log file \"" + path + "\" could not be read: " + e.what());
        }
        platform::ProcessMessages();
        if (!hwnd()) return;
        view.caretToEnd();
    } else {
        view.setText(kNoEventsLogged);
    }
    if (auto ref = FindViewOfFile(fileName)) UpdateButtons(logPages[ref->page]);
}

void TfrmLogs::UpdateButtons(LogPage& page) {
    bool allEmpty = true;
    for (size_t v = 0; v < page.viewCount(); ++v)
        allEmpty = allEmpty && ReadsNoEvents(page.views[v]);
    page.cmdClear->setEnabled(!allEmpty);
    page.cmdView->setEnabled(!allEmpty);
}

void TfrmLogs::ClearLog(const std::string& fileName) {
    auto ref = FindViewOfFile(fileName);
    if (!ref) return;
    LogPage& lp = logPages[ref->page];
    platform::Edit& view = lp.views[ref->view];
    if (!platform::Confirm(kClearQuestion, kClearCaption, hwnd())) return;
    const std::string path = LogPath(fileName);
    if (!DeleteFileW(platform::Widen(path).c_str())) {
        DWORD err = GetLastError();
        if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND) {
            platform::ShowMessage("The log file \"" + path + "\" could not be deleted: " + platform::ErrorText(err),
                                  "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
            DoRefresh(view, fileName);
            return;
        }
    }
    view.setText("");
    view.setText(kNoEventsLogged);
    if (lp.info->twoViews()) {
        UpdateButtons(lp);
    } else {
        lp.cmdClear->setEnabled(false);
        lp.cmdView->setEnabled(false);
    }
}

void TfrmLogs::LogView(const std::string& fileName) {
    const std::string path = LogPath(fileName);
    if (!platform::FileExists(path)) {
        platform::ShowMessage(kNothingLoggedYet, "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Information,
                              hwnd());
        return;
    }
    if (!platform::ShellOpen({"Open", path, "", "", SW_SHOWNORMAL}))
        platform::ShowMessage("The log file \"" + path + "\" could not be opened in the text editor.", "Vantrel",
                              platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
}

void TfrmLogs::RefreshAll() {
    for (auto& lp : logPages)
        lp.loaded = false;
    for (auto& lp : logPages)
        for (size_t v = 0; v < lp.viewCount() && hwnd(); ++v)
            DoRefresh(lp.views[v], lp.info->views[v].file);
    if (hwnd()) GetStats();
}

// ---- statistics ----

void TfrmLogs::GetStats() {
    CounterSet counters;
    for (const auto& name : CounterNames()) {
        try {
            counters.set(name, app::ReadRegInt(kLogsKey, name));
        } catch (const platform::RegTypeError&) {
            counters.setUnreadable(name);
        }
    }
    const auto& rows = StatisticsRows();
    for (size_t i = 0; i < rows.size(); ++i)
        statValues[i]->setCaption(RowText(rows[i], counters));
    HistoricalTotals totals = ComputeTotals(counters);
    StatusBar1.setPanelText(0, StatusFilesText(totals));
    StatusBar1.setPanelText(1, StatusSpaceText(totals));
    std::string note = UnreadableNote(counters);
    lblStatsNote.setCaption(note);
    lblStatsNote.setVisible(!note.empty());
}

void TfrmLogs::ResetClick(const ResetItem& item) {
    if (platform::Confirm(kResetQuestion, kResetCaption, hwnd()))
        for (const auto& counter : item.counters)
            app::DeleteRegValue(kLogsKey, counter);
    GetStats();
}

// ---- menu ----

void TfrmLogs::mnuRefreshClick() {
    RefreshAll();
}

void TfrmLogs::mnuHowToClick() {
    app::OpenHelpTopic(kLogsHelpTopic);
}

void TfrmLogs::mnuWebClick() {
    platform::ShellOpen({"OPEN", kSupportPage, "", "", SW_SHOWNORMAL});
    app::ShowHint("Web", std::string(kWebHint) + kSupportPage);
}

} // namespace logs
