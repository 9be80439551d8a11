#include "tools/regclean/frm_regclean.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <exception>
#include <map>
#include <unordered_map>
#include <stdexcept>

#include "app/common.h"
#include "app/help.h"
#include "app/hint.h"
#include "app/paths.h"
#include "app/settings.h"
#include "logs/logs.h"
#include "logs/pure/log_lines.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "tools/regclean/regclean.h"
#include "tools/regclean/registry_editor.h"
#include "tools/regclean/undo_file.h"

namespace tools::regclean {

namespace {
constexpr const char* kCaption = "Registry Cleaner";
constexpr const char* kScanCaption = "Scan &Registry";
constexpr const char* kStopCaption = "&Stop";
constexpr const char* kScanHint = "Begin scanning your registry";
constexpr const char* kStopHint = "Abort the current scan (may take a moment)";
constexpr const char* kHelpTopic = "Cleaning_your_system_registry";
constexpr const char* kStateKey = "Software\\Quorvel\\Vantrel\\regclean";
constexpr const char* kStateSection = "Pos";
constexpr const char* kAdminHint =
    "In order to utilize the Registry Cleaner's backup and restore functions you must be logged in as an "
    "administrator, thus these features have been temporarily removed.";
constexpr int kBackupPage = 1;
// The registry nests keys at most 512 deep; a deeper walk can only come from a cycle of links.
constexpr int kMaxDepth = 512;
constexpr int kRegistryImage = 0;
constexpr int kDllImage = 1;
constexpr ULONGLONG kPumpIntervalMs = 10;
constexpr ULONGLONG kRefreshIntervalMs = 250;

const std::vector<std::string>& StoredProperties() {
    static const std::vector<std::string> props{"cbRescan.Checked", "cbBackup.Checked"};
    return props;
}

std::wstring StripLeadingBackslashes(std::wstring path) {
    size_t n = path.find_first_not_of(L'\\');
    return n == std::wstring::npos ? std::wstring() : path.substr(n);
}

// The answers of GetDriveType, SetCurrentDirectory and GetFileAttributes for one scan.
// - Drive types are kept: GetDriveType costs far more than any other call the rules make.
// - So does SetCurrentDirectory, and registries name the same folders over and over: each folder
//   is entered once, later answers come from memory, and the folder last entered successfully is
//   made current for real before anything depends on it (a relative path, the scan's end).
// - Paths past MAX_PATH are looked up in the "\\?\" form: SetCurrentDirectory refuses them,
//   which would make a folder that exists look missing.
class Win32PathProbe : public PathProbe {
public:
    DriveType driveType(std::string_view root) override {
        char letter = static_cast<char>(root.empty() ? 0 : root[0] & ~0x20);
        if (letter >= 'A' && letter <= 'Z') {
            auto& cached = m_drives[static_cast<size_t>(letter - 'A')];
            if (!cached) cached = static_cast<DriveType>(GetDriveTypeW(platform::Widen(root).c_str()));
            return *cached;
        }
        return static_cast<DriveType>(GetDriveTypeW(platform::Widen(root).c_str()));
    }
    bool enterFolder(std::string_view folder) override {
        std::string key(folder);
        auto known = m_folders.find(key);
        if (known != m_folders.end()) {
            if (known->second && m_current != key) {
                m_last = key;
                m_settled = false;
            }
            return known->second;
        }
        std::wstring w = platform::Widen(folder);
        bool entered;
        if (w.size() < MAX_PATH - 2) {
            entered = SetCurrentDirectoryW(w.c_str()) != 0;
            if (entered) {
                m_current = m_last = key;
                m_settled = true;
            }
        } else {
            DWORD a = GetFileAttributesW(LongForm(w).c_str());
            entered = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
        }
        m_folders.emplace(std::move(key), entered);
        return entered;
    }
    bool pathExists(std::string_view path) override { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
    bool fileExists(std::string_view path) override {
        DWORD a = Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
    }
    // Makes the folder last entered the current one.
    void settle() {
        if (m_settled) return;
        m_settled = true;
        if (SetCurrentDirectoryW(platform::Widen(m_last).c_str())) m_current = m_last;
    }

private:
    static bool IsAbsolute(std::string_view path) {
        return path.substr(0, 2) == "\\\\" || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
    }
    static std::wstring LongForm(const std::wstring& path) {
        if (path.size() < MAX_PATH || path.rfind(L"\\\\", 0) == 0) return path;
        DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
        if (n == 0) return path;
        std::wstring full(n, L'\0');
        n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
        full.resize(n);
        return L"\\\\?\\" + full;
    }
    DWORD Attributes(std::string_view path) {
        if (!IsAbsolute(path)) settle();
        return GetFileAttributesW(LongForm(platform::Widen(path)).c_str());
    }
    std::array<std::optional<DriveType>, 26> m_drives{};
    std::unordered_map<std::string, bool> m_folders;
    std::string m_current, m_last;
    bool m_settled = true;
};

// Text of a REG_SZ or REG_EXPAND_SZ as stored: up to the first NUL, an odd last byte dropped.
std::wstring StringData(const BYTE* data, DWORD size) {
    const auto* w = reinterpret_cast<const wchar_t*>(data);
    size_t n = size / sizeof(wchar_t), len = 0;
    while (len < n && w[len] != L'\0')
        ++len;
    return std::wstring(w, len);
}

// UTF-8 for the rules; nullopt when the text holds UTF-16 that UTF-8 cannot carry (a lone
// surrogate), since the file system would then be asked about another name.
std::optional<std::string> RuleText(const std::wstring& w) {
    std::string s = platform::Narrow(w);
    if (s.find("\xEF\xBF\xBD") != std::string::npos && platform::Widen(s) != w) return std::nullopt;
    return s;
}

struct ValueEntry {
    std::wstring name;
    std::wstring data;
};

// One pass over a key's values, keeping only strings. A key that vanishes meanwhile ends the list.
std::vector<ValueEntry> StringValues(HKEY key, DWORD maxName, DWORD maxData) {
    std::vector<ValueEntry> out;
    std::wstring name(maxName + 2, L'\0');
    std::vector<BYTE> data(maxData + 4);
    int retries = 0;
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
        LONG rc = RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA && retries++ < 8) {
            // The value grew since the key was queried.
            name.resize(std::max<size_t>(name.size() * 2, 16386));
            data.resize(std::max<size_t>(data.size() * 2, dataLen + 4));
            --i;
            continue;
        }
        retries = 0;
        if (rc != ERROR_SUCCESS) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
        out.push_back({std::wstring(name.data(), nameLen), StringData(data.data(), dataLen)});
    }
    return out;
}

std::vector<std::wstring> ValueNames(HKEY key) {
    std::vector<std::wstring> out;
    DWORD maxName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return out;
    std::wstring name(maxName + 2, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        LONG rc = RegEnumValueW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && name.size() < 32770) {
            name.resize(32770);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        out.emplace_back(name.data(), len);
    }
    return out;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
    std::vector<std::wstring> out;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out.emplace_back(name, len);
    }
    return out;
}

platform::UniqueHKey OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, StripLeadingBackslashes(path).c_str(), 0, access, &h) != ERROR_SUCCESS) return {};
    return platform::UniqueHKey(h);
}

// Our own artwork, drawn pixel by pixel: the registry's three blocks and a DLL page with a cog.
using Pixels = std::vector<uint32_t>;
void Fill(Pixels& p, int size, int x0, int y0, int x1, int y1, uint32_t argb) {
    for (int y = std::max(0, y0); y < std::min(size, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(size, x1); ++x)
            p[static_cast<size_t>(y * size + x)] = argb;
}
void Block(Pixels& p, int size, int x, int y, int w, uint32_t face, uint32_t edge) {
    Fill(p, size, x, y, x + w, y + w, edge);
    Fill(p, size, x + 1, y + 1, x + w - 1, y + w - 1, face);
}
Pixels RegistryPixels(int size) {
    Pixels p(static_cast<size_t>(size * size), 0);
    int u = size / 16;
    Block(p, size, 4 * u, 1 * u, 7 * u, 0xFFD04040, 0xFF602020);
    Block(p, size, 1 * u, 8 * u, 7 * u, 0xFF3070D0, 0xFF203060);
    Block(p, size, 8 * u, 8 * u, 7 * u, 0xFF40A040, 0xFF205020);
    return p;
}
Pixels DllPixels(int size) {
    Pixels p(static_cast<size_t>(size * size), 0);
    int u = size / 16;
    Fill(p, size, 2 * u, 0, 12 * u, 16 * u, 0xFF707070);
    Fill(p, size, 3 * u, 1 * u, 11 * u, 15 * u, 0xFFFFFFFF);
    Fill(p, size, 7 * u, 7 * u, 15 * u, 15 * u, 0xFF503090);
    Fill(p, size, 9 * u, 9 * u, 13 * u, 13 * u, 0xFFD0C0F0);
    Fill(p, size, 10 * u, 6 * u, 12 * u, 16 * u, 0xFF503090);
    Fill(p, size, 6 * u, 10 * u, 16 * u, 12 * u, 0xFF503090);
    Fill(p, size, 10 * u, 10 * u, 12 * u, 12 * u, 0xFFFFFFFF);
    return p;
}
HICON MakeIcon(const Pixels& pixels, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color) return nullptr;
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    std::vector<BYTE> maskBits(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((pixels[static_cast<size_t>(y * size + x)] >> 24) == 0)
                maskBits[static_cast<size_t>(y * ((size + 15) / 16) * 2 + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}
} // namespace

// ---- ClickImage ----

bool ClickImage::click() {
    if (!enabled() || !visible()) return false;
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, STN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

bool ClickImage::onCommand(WORD code) {
    if (code != STN_CLICKED) return false;
    if (onClick) onClick();
    return true;
}

// ---- TfrmRegClean ----

TfrmRegClean::TfrmRegClean() : Form("TfrmRegClean") {}

TfrmRegClean::~TfrmRegClean() = default;

std::string TfrmRegClean::BackupFolder() {
    return app::DataFolder() + "Registry Backup\\";
}

std::string TfrmRegClean::BackupFile() {
    return BackupFolder() + "Reg_Backup.reg";
}

std::string TfrmRegClean::undoFilePath() const {
    return m_undo ? m_undo->path() : std::string();
}

void TfrmRegClean::buildWindow(HWND owner) {
    createWindow({kCaption, 620, 470, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT}, owner);

    m_images.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (const Pixels& p : {RegistryPixels(16), DllPixels(16)}) {
        platform::UniqueHIcon icon(MakeIcon(p, 16));
        ImageList_AddIcon(static_cast<HIMAGELIST>(m_images.get()), icon.get());
    }
    m_bigIcon.reset(MakeIcon(RegistryPixels(32), 32));

    addListView(lvScanFor, "lvScanFor", {8, 8, 356, 104}, nullptr, true, true);
    lvScanFor.addColumn("Location to scan", 175);
    lvScanFor.addColumn("Description", 300);
    lvScanFor.setImageList(static_cast<HIMAGELIST>(m_images.get()));
    lvScanFor.onItemCheck = [this](int) {
        for (int i = 0; i < lvScanFor.rowCount(); ++i)
            lvScanFor.setSelected(i, lvScanFor.checked(i));
    };

    addPageControl(pcRegistry, "pcRegistry", {372, 4, 240, 108});
    m_tsOptions = &pcRegistry.addPage("tsOptions", "Scan Options");
    m_tsBackup = &pcRegistry.addPage("tsBackup", "Backup / Restore");
    addCheckBox(cbExclude, "cbExclude", "&Exclude references to CDROM or network drives", {8, 6, 224, 34}, m_tsOptions);
    addCheckBox(cbRescan, "cbRescan", "&Re-scan after removal", {8, 44, 224, 20}, m_tsOptions);
    addLabel(Image2, "Image2", "", {6, 6, 32, 32}, m_tsBackup, SS_ICON | SS_NOTIFY);
    SendMessageW(Image2.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(m_bigIcon.get()), 0);
    Image2.setHint("Use this option to make a backup of your registry before performing a scan");
    Image2.onClick = [this] { cbBackup.setChecked(!cbBackup.checked()); };
    addCheckBox(cbBackup, "cbBackup", "&Backup registry files before scanning", {44, 6, 188, 34}, m_tsBackup);
    cbBackup.setHint("Use this option to make a backup of your registry before performing a scan");
    addButton(cmdBackup, "cmdBackup", "&Perform Backup Now", {4, 48, 114, 24}, m_tsBackup);
    cmdBackup.setHint("Backup registry information now");
    // A close asked for while the editor ran waits for it (FormCloseQuery) and happens now.
    cmdBackup.onClick = [this] {
        if (!m_scanning && !m_busy) BackupRegistry(false);
        if (m_closePending) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    };
    addButton(cmdRestore, "cmdRestore", "&Restore From Backup", {122, 48, 114, 24}, m_tsBackup);
    cmdRestore.setHint("Restore last saved registry backup");
    cmdRestore.onClick = [this] {
        if (!m_scanning && !m_busy) RestoreRegistry(false);
        if (m_closePending) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    };
    for (platform::CheckBox* cb : {&cbExclude, &cbBackup})
        SetWindowLongPtrW(cb->hwnd(), GWL_STYLE, GetWindowLongPtrW(cb->hwnd(), GWL_STYLE) | BS_MULTILINE);
    cbExclude.setChecked(true);
    cbRescan.setChecked(false);
    cbBackup.setChecked(true);

    add(tb, "tb", platform::Toolbar::HostClassName(), "", 0, {8, 114, 200, 28});
    tb.addButton("cmdRemove", "Remove", "Remove the selected reference(s) from the registry ", true);
    tb.setOnClick("cmdRemove", [this] { cmdRemoveClick(); });
    tb.setOnDropDown("cmdRemove", [this] {
        RECT r = tb.buttonRect("cmdRemove");
        ShowResultsMenu({r.left, r.bottom});
    });
    tb.setButtonEnabled("cmdRemove", false);
    tb.setVisible(false);

    pmResults.addItem("mnuSelected", "&Remove Selected Entries", "Del", [this] { Remove_Selected(); });
    pmResults.addItem("mnuAll", "Remove &All Entries", "Ctrl+Del", [this] { Remove_All(); });
    pmResults.addSeparator();
    pmResults.addItem("mnuSelectAll", "&Select All", "Ctrl+A", [this] {
        lv.selectAll();
        UpdateMenuStates();
    });

    addListView(lv, "lv", {8, 144, 604, 260}, nullptr, false, true);
    lv.addColumn("Registry Key", 250);
    lv.addColumn("Last Modification", 150);
    lv.addColumn("Key", 110);
    lv.addColumn("Invalid Reference Value", 200);
    lv.setImageList(static_cast<HIMAGELIST>(m_images.get()));
    lv.onChange = [this](int) { UpdateMenuStates(); };

    addButton(btnStart, "btnStart", kScanCaption, {8, 412, 120, 26});
    btnStart.setHint(kScanHint);
    btnStart.onClick = [this] { btnStartClick(); };
    addProgressBar(aniSearch, "aniSearch", {136, 418, 160, 14});
    SetWindowLongPtrW(aniSearch.hwnd(), GWL_STYLE, GetWindowLongPtrW(aniSearch.hwnd(), GWL_STYLE) | PBS_MARQUEE);
    aniSearch.setVisible(false);
    addButton(cmdHelp, "cmdHelp", "&Help", {420, 412, 92, 26});
    cmdHelp.onClick = [this] { FormHelp(); };
    addButton(cmdExit, "cmdExit", "&Exit", {520, 412, 92, 26});
    cmdExit.onClick = [this] {
        m_stop = true;
        close();
    };
    addStatusBar(StatusBar1, "StatusBar1", {300, -1});
    setDefaultButton(&btnStart);
    setCancelButton(&btnStart);
    UpdateMenuStates();
}

void TfrmRegClean::FormCreate() {
    GetOptions();
}

void TfrmRegClean::GetOptions() {
    lvScanFor.clear();
    for (size_t i = 0; i < kScanAreas.size(); ++i) {
        const ScanArea& a = kScanAreas[i];
        int row = lvScanFor.addRow(a.location, {a.description}, i == 3 ? kDllImage : kRegistryImage);
        lvScanFor.setChecked(row, app::ReadRegBool(kOptionsKey, a.storedAs));
    }
}

void TfrmRegClean::FormShow() {
    m_shown = true;
    // Shown here rather than at creation: a window driven unattended is never shown and must not
    // stop for a hint.
    if (!app::IsAdmin()) app::ShowHint("Registry", kAdminHint);
    app::WindowStateStore(kStateKey, kStateSection).restore(*this, StoredProperties());
    tb.setVisible(false);
    tb.setButtonEnabled("cmdRemove", false);
    bool nt = platform::IsNT();
    pcRegistry.setPageVisible(kBackupPage, !nt);
    cbBackup.setChecked(!nt);
    m_doReg = logs::InteractiveLogOn("DoReg");
    m_removed = 0;
    if (InteractiveLogging()) logs::WriteOpeningBlock(logs::kManualRegistryLog, "SESSION START: ");
    FormResize();
}

bool TfrmRegClean::FormCloseQuery() {
    if (m_scanning || m_busy) {
        // Let the scan (or the editor wait) unwind first; it closes the window when it ends.
        m_stop = true;
        m_closePending = true;
        return false;
    }
    m_closePending = false;
    std::optional<std::string> error;
    try {
        for (size_t i = 0; i < kScanAreas.size(); ++i)
            app::WriteRegBool(kOptionsKey, kScanAreas[i].storedAs, lvScanFor.checked(static_cast<int>(i)));
        if (InteractiveLogging())
            logs::WriteClosingBlock(logs::kManualRegistryLog, "CLOSE SESSION: ", {RemovedCountLine(m_removed)});
    } catch (const std::exception& e) {
        error = e.what();
    }
    try {
        logs::AddToCounter("RegRefs", m_removed);
    } catch (const std::exception& e) {
        if (!error) error = e.what();
    }
    // A failing store must not keep the window from closing; it is reported and the close goes on.
    if (error && !Unattended) platform::ShowErrorBox(*error, hwnd());
    return true;
}

void TfrmRegClean::FormClose() {
    if (m_shown) app::WindowStateStore(kStateKey, kStateSection).save(*this, StoredProperties());
}

void TfrmRegClean::FormHelp() {
    app::OpenHelpTopic(kHelpTopic);
}

void TfrmRegClean::FormResize() {
    if (!lv.created() || !StatusBar1.created()) return;
    RECT rc;
    GetClientRect(hwnd(), &rc);
    RECT sb;
    GetWindowRect(StatusBar1.hwnd(), &sb);
    int w = unscale(rc.right), h = unscale(rc.bottom - (sb.bottom - sb.top));
    if (w < 200 || h < 250) return;
    int right = w - 8;
    pcRegistry.setBounds({right - 240, 4, 240, 108});
    // The pages are siblings of the tab control and move with it.
    for (int i = 0; i < pcRegistry.pageCount(); ++i)
        pcRegistry.page(i).setBounds(pcRegistry.pageArea());
    lvScanFor.setBounds({8, 8, right - 240 - 16, 104});
    // The description fills the area list, so that its four rows need no scroll bar.
    RECT area;
    GetClientRect(lvScanFor.hwnd(), &area);
    lvScanFor.setColumnWidth(1, std::max(60, unscale(area.right) - lvScanFor.columnWidth(0)));
    int bottom = h - 8 - 26;
    lv.setBounds({8, 144, right - 8, bottom - 8 - 144});
    btnStart.setBounds({8, bottom, 120, 26});
    aniSearch.setBounds({136, bottom + 6, 160, 14});
    cmdExit.setBounds({right - 92, bottom, 92, 26});
    cmdHelp.setBounds({right - 92 - 8 - 92, bottom, 92, 26});
    std::vector<int> others{lv.columnWidth(1), lv.columnWidth(2), lv.columnWidth(3)};
    if (auto first = FirstColumnWidth(lv.bounds().w, others)) lv.setColumnWidth(0, *first);
}

void TfrmRegClean::FormKeyDown(WPARAM key) {
    if (!lv.created() || GetFocus() != lv.hwnd()) return;
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    UpdateMenuStates();
    if (key == VK_DELETE)
        pmResults.click(ctrl ? "mnuAll" : "mnuSelected");
    else if (key == 'A' && ctrl)
        pmResults.click("mnuSelectAll");
}

LRESULT TfrmRegClean::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    if (msg == WM_CONTEXTMENU && lv.created() && reinterpret_cast<HWND>(wp) == lv.hwnd()) {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (lp == -1) {
            // From the keyboard: below the focused row, or at the list's corner.
            RECT r{};
            int row = lv.focusedIndex();
            if (row < 0 || !ListView_GetItemRect(lv.hwnd(), row, &r, LVIR_LABEL)) GetClientRect(lv.hwnd(), &r);
            pt = {r.left, r.bottom};
            ClientToScreen(lv.hwnd(), &pt);
        }
        ShowResultsMenu(pt);
        handled = true;
    }
    return 0;
}

void TfrmRegClean::ShowResultsMenu(POINT screen) {
    UpdateMenuStates();
    pmResults.popup(hwnd(), screen);
}

void TfrmRegClean::UpdateMenuStates() {
    bool idle = !m_scanning && !m_busy;
    int selected = lv.selectedCount();
    pmResults.setEnabled("mnuSelected", idle && selected > 0);
    pmResults.setEnabled("mnuAll", idle && lv.rowCount() > 0);
    pmResults.setEnabled("mnuSelectAll", idle && selected > 0);
}

// ---- logging ----

void TfrmRegClean::WriteInteractive(std::string_view line) {
    logs::WriteLog(logs::kManualRegistryLog, line);
}

void TfrmRegClean::WriteUnattended(std::string_view line) {
    logs::WriteLog(logs::kRegistryLog, line);
}

void TfrmRegClean::LogInForce(std::string_view line) {
    if (UnattendedLogging())
        WriteUnattended(line);
    else if (InteractiveLogging())
        WriteInteractive(line);
}

void TfrmRegClean::Say(std::string_view text, platform::MsgIcon icon) {
    if (Unattended) {
        std::string line(text);
        std::replace(line.begin(), line.end(), '\r', ' ');
        LogInForce("  " + line);
        return;
    }
    platform::ShowMessage(text, kCaption, platform::MsgButtons::Ok, icon, hwnd());
}

// ---- scan ----

void TfrmRegClean::SetScanControlsEnabled(bool on) {
    cmdBackup.setEnabled(on);
    cmdRestore.setEnabled(on);
    pcRegistry.setEnabled(on);
    // The pages are siblings of the tab control; their options must not change during a scan either.
    m_tsOptions->setEnabled(on);
    m_tsBackup->setEnabled(on);
}

void TfrmRegClean::btnStartClick() {
    if (btnStart.caption() == kStopCaption) {
        m_stop = true;
        btnStart.setCaption(kScanCaption);
        btnStart.setHint(kScanHint);
        return;
    }
    if (m_scanning || m_busy) return;
    btnStart.setHint(kStopHint);
    btnStart.setCaption(kStopCaption);
    SetScanControlsEnabled(false);
    std::optional<std::string> error;
    m_scanning = true;
    try {
        if (UnattendedLogging()) {
            WriteUnattended("");
            WriteUnattended(logs::SeparatorLine());
            WriteUnattended("OPERATION START: " + logs::DateStamp());
            WriteUnattended(logs::SeparatorLine());
        }
        if (InteractiveLogging()) WriteInteractive("  Scanning registry for invalid references.");
        cmdExit.setEnabled(false);
        lv.clear();
        m_rows.clear();
        UpdateMenuStates();
        lv.beginUpdate();
        m_lastRefresh = GetTickCount64();
        ScanRegistry();
    } catch (const std::exception& e) {
        error = e.what();
    }
    lv.endUpdate();
    m_unshownRows = false;
    m_scanning = false;
    btnStart.setCaption(kScanCaption);
    btnStart.setHint(kScanHint);
    SetScanControlsEnabled(true);
    if (error) {
        // The walk failed: the findings so far stay listed and the status says the scan did not
        // complete, so that whoever waits for the scan's end sees it.
        aniSearch.setVisible(false);
        SendMessageW(aniSearch.hwnd(), PBM_SETMARQUEE, FALSE, 0);
        StatusBar1.setPanelText(0, kScanInterrupted);
        StatusBar1.setPanelText(1, kFoundPrefix + std::to_string(lv.rowCount()));
        FinishScan();
    }
    UpdateMenuStates();
    try {
        LogInForce(ScanCompleteLine(static_cast<size_t>(lv.rowCount())));
        if (error) {
            if (Unattended)
                LogInForce("  " + *error);
            else
                platform::ShowErrorBox(*error, hwnd());
        }
    } catch (const std::exception& e) {
        if (!Unattended) platform::ShowErrorBox(e.what(), hwnd());
    }
    if (m_closePending) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void TfrmRegClean::FinishScan() {
    bool found = lv.rowCount() > 0;
    tb.setVisible(found);
    tb.setButtonEnabled("cmdRemove", found);
    cmdExit.setEnabled(true);
}

bool TfrmRegClean::PumpAndCheckStop() {
    // Looking at the message queue costs a trip to the window server; a few times per 10 ms keep
    // the window as responsive as once per value does.
    ULONGLONG now = GetTickCount64();
    if (now - m_lastPump >= kPumpIntervalMs) {
        platform::ProcessMessages();
        m_lastPump = GetTickCount64();
        if (platform::QuitRequested()) m_stop = true;
        if (m_unshownRows && now - m_lastRefresh >= kRefreshIntervalMs) {
            // The list is frozen while the scan adds to it (a visible list view repaints on every
            // insertion); it catches up a few times a second.
            lv.endUpdate();
            UpdateWindow(lv.hwnd());
            lv.beginUpdate();
            m_unshownRows = false;
            m_lastRefresh = now;
        }
    }
    return m_stop;
}

void TfrmRegClean::ScanRegistry() {
    m_stop = false;
    if (cbBackup.checked()) {
        if (UnattendedLogging()) WriteUnattended("  Backing up registry files...");
        BackupRegistry(true);
    }
    aniSearch.setVisible(true);
    SendMessageW(aniSearch.hwnd(), PBM_SETMARQUEE, TRUE, 40);
    tb.setButtonEnabled("cmdRemove", false);
    m_probe = std::make_unique<Win32PathProbe>();
    m_exclude = cbExclude.checked();
    m_lastPump = 0;
    static const std::array<HKEY, 4> roots{HKEY_CURRENT_USER, HKEY_USERS, HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE};
    static const std::array<const wchar_t*, 4> starts{L"", L"", L"Software", nullptr};
    for (size_t i = 0; i < kScanAreas.size(); ++i) {
        if (m_stop) break;
        if (!lvScanFor.checked(static_cast<int>(i))) continue;
        const ScanArea& area = kScanAreas[i];
        LogInForce(area.logLine);
        StatusBar1.setPanelText(0, area.status);
        m_rootName = area.rootName;
        m_root = roots[i];
        if (i < 3) {
            std::wstring start = starts[i];
            platform::UniqueHKey key = OpenKey(m_root, start, KEY_READ);
            if (key) WalkKeys(key.get(), start);
        } else {
            platform::UniqueHKey key = OpenKey(m_root, platform::Widen(kSharedDllsPath), KEY_READ);
            if (key) DoAnalyzeDLLs(key.get());
        }
    }
    static_cast<Win32PathProbe&>(*m_probe).settle();
    aniSearch.setVisible(false);
    SendMessageW(aniSearch.hwnd(), PBM_SETMARQUEE, FALSE, 0);
    StatusBar1.setPanelText(0, m_stop ? kScanInterrupted : kScanCompleted);
    StatusBar1.setPanelText(1, kFoundPrefix + std::to_string(lv.rowCount()));
    if (lv.rowCount() == 0 && !m_stop) {
        if (!Unattended) {
            platform::ShowMessage("No invalid references detected.", "Information", platform::MsgButtons::Ok,
                                  platform::MsgIcon::Information, hwnd());
        } else if (UnattendedLogging()) {
            WriteUnattended("  Registry Already Clean: No invalid references detected.");
            WriteUnattended(logs::SeparatorLine());
            WriteUnattended("OPERATION COMPLETE: " + logs::DateStamp());
            WriteUnattended(logs::SeparatorLine());
        }
    }
    FinishScan();
}

void TfrmRegClean::WalkKeys(HKEY key, const std::wstring& path) {
    walkDepth(key, path, 0);
}

void TfrmRegClean::walkDepth(HKEY key, const std::wstring& path, int depth) {
    std::vector<std::wstring> names = SubkeyNames(key);
    HKEY current = key;
    platform::UniqueHKey reopened;
    for (const std::wstring& name : names) {
        if (platform::UniqueHKey sub = OpenKey(current, name, KEY_READ)) {
            KeyInfo info;
            if (RegQueryInfoKeyW(sub.get(), nullptr, nullptr, nullptr, &info.subkeys, nullptr, nullptr, nullptr,
                                 &info.maxValueName, &info.maxValueData, nullptr, &info.lastWrite) == ERROR_SUCCESS) {
                std::wstring subPath = path + L"\\" + name;
                CheckKeyValues(sub.get(), name, subPath, info);
                if (m_stop) return;
                if (info.subkeys > 0 && depth < kMaxDepth) walkDepth(sub.get(), subPath, depth + 1);
            }
        }
        if (m_stop) return;
        std::wstring absolute = (!path.empty() && path.front() == L'\\') ? path : L"\\" + path;
        reopened = OpenKey(m_root, absolute, KEY_READ);
        if (!reopened) throw std::runtime_error("Can not open key " + platform::Narrow(absolute));
        current = reopened.get();
    }
}

void TfrmRegClean::CheckKeyValues(HKEY key, const std::wstring& keyName, const std::wstring& keyPath,
                                  const KeyInfo& info) {
    std::vector<ValueEntry> values = StringValues(key, info.maxValueName, info.maxValueData);
    bool statusSet = false;
    for (const ValueEntry& v : values) {
        if (!statusSet) {
            // The same text for every value of the key: set once.
            StatusBar1.setPanelText(1, "Analyzing: " + platform::Narrow(keyName));
            statusSet = true;
        }
        if (PumpAndCheckStop()) return;
        std::optional<std::string> name = RuleText(v.name);
        bool invalid = name && !IsValidReference(*name);
        if (!invalid) {
            std::optional<std::string> data = RuleText(v.data);
            invalid = data && !IsValidReference(*data);
        }
        if (!invalid) continue;
        Finding f{m_rootName,
                  platform::Narrow(keyPath),
                  LastModification(info.lastWrite),
                  platform::Narrow(v.name),
                  platform::Narrow(v.data),
                  FindingKind::RegistryReference};
        AddFinding(f, {m_root, platform::Widen(m_rootName), keyPath, v.name});
    }
}

void TfrmRegClean::DoAnalyzeDLLs(HKEY key) {
    FILETIME lastWrite{};
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &lastWrite);
    std::wstring keyPath = platform::Widen(kSharedDllsPath);
    for (const std::wstring& name : ValueNames(key)) {
        if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            std::optional<std::string> path = RuleText(name);
            if (path && SharedDllMissing(*path, m_exclude, *m_probe)) {
                Finding f{m_rootName, kSharedDllsPath, LastModification(lastWrite),
                          *path,      *path,           FindingKind::SharedDll};
                AddFinding(f, {m_root, platform::Widen(m_rootName), keyPath, name});
            }
        }
        // Unlike the walk, the original loop never looked at messages; a stop must reach it too.
        if (PumpAndCheckStop()) return;
    }
}

bool TfrmRegClean::IsValidReference(std::string_view text) {
    if (m_scanning && m_probe) return tools::regclean::IsValidReference(text, m_exclude, *m_probe);
    // Outside a scan nothing is kept from one question to the next.
    Win32PathProbe probe;
    bool valid = tools::regclean::IsValidReference(text, cbExclude.checked(), probe);
    probe.settle();
    return valid;
}

std::string TfrmRegClean::LastModification(const FILETIME& ft) const {
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&ft, &st)) return {};
    return FormatLastModification(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
}

void TfrmRegClean::AddFinding(const Finding& finding, RowRef ref) {
    m_rows.push_back(std::move(ref));
    std::vector<std::string> cols = ColumnTexts(finding);
    lv.addRow(cols[0], {cols[1], cols[2], cols[3]}, finding.kind == FindingKind::SharedDll ? kDllImage : kRegistryImage,
              static_cast<LPARAM>(m_rows.size() - 1));
    if (lv.selectedCount() == 0) lv.setSelected(0, true);
    m_unshownRows = true;
}

// ---- backup and restore ----

bool TfrmRegClean::RunEditor(const std::string& parameters, bool backup, bool silent) {
    std::string file = BackupFile();
    std::string kept = file + ".old";
    bool hadOld = false;
    if (backup && platform::FileExists(file)) {
        // The previous backup is set aside so that a failed export neither passes for a new backup
        // nor destroys the old one.
        platform::DeleteFileAt(kept);
        hadOld = platform::MoveFileTo(file, kept);
    }
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    m_busy = true;
    UpdateMenuStates();
    EditorRun run;
    try {
        run = RunRegistryEditor(parameters, kEditorTimeoutMs);
    } catch (...) {
        m_busy = false;
        SetCursor(previous);
        if (hadOld) platform::MoveFileTo(kept, file);
        throw;
    }
    m_busy = false;
    SetCursor(previous);
    UpdateMenuStates();
    if (!run.started) {
        if (hadOld) platform::MoveFileTo(kept, file);
        throw platform::Win32Error("ShellExecuteEx", run.error);
    }
    std::string minutes = std::to_string(kEditorTimeoutMs / 60000);
    if (!backup) {
        if (!run.finished) {
            Say("The registry editor did not finish the restore within " + minutes + " minutes.",
                platform::MsgIcon::Warning);
            return false;
        }
        return true;
    }
    std::optional<uint64_t> size = platform::FileSize(file);
    if (run.finished && size && *size > 0) {
        if (hadOld) platform::DeleteFileAt(kept);
        if (!silent)
            platform::ShowMessage("Registry files successfully backed up to:\r\r" + file, kCaption,
                                  platform::MsgButtons::Ok, platform::MsgIcon::Information, hwnd());
        return true;
    }
    std::string reason;
    if (!run.finished) {
        // The editor may still be writing; leave both files alone.
        reason = "the registry editor did not finish within " + minutes + " minutes";
    } else {
        reason = "the registry editor did not write \"" + file + "\"";
        platform::DeleteFileAt(file);
        if (hadOld && platform::MoveFileTo(kept, file)) reason += "; the previous backup was kept";
    }
    if (silent)
        LogInForce("  Registry backup failed: " + reason + ".");
    else
        Say("The registry could not be backed up: " + reason + ".", platform::MsgIcon::Error);
    return false;
}

bool TfrmRegClean::BackupRegistry(bool silent) {
    if (InteractiveLogging()) WriteInteractive("  Backing up registry files.");
    bool result = true;
    try {
        CreateDirectoryW(platform::Widen(BackupFolder()).c_str(), nullptr);
        bool go = true;
        if (!silent && !Unattended && platform::FileExists(BackupFile())) {
            go = platform::ShowMessage("A backup copy of the registry exists - do you want to update it?",
                                       "Existing Backup...", platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                       hwnd()) == platform::MsgResult::Yes;
        }
        if (go) {
            StatusBar1.setPanelText(0, "Backing up registry files...");
            result = RunEditor("/e \"" + BackupFile() + "\"", true, silent);
        }
    } catch (const platform::Win32Error& e) {
        Say("There was an error while backing up the registry.\r\rError Number: " + std::to_string(e.code()),
            platform::MsgIcon::Error);
        result = false;
    } catch (const std::exception&) {
        Say("There was an error while backing up the registry.\r\rError Number: " + std::to_string(GetLastError()),
            platform::MsgIcon::Error);
        result = false;
    }
    StatusBar1.setPanelText(0, "Registry backup procedure complete...");
    return result;
}

bool TfrmRegClean::RestoreRegistry(bool silent) {
    if (InteractiveLogging()) WriteInteractive("  Restoring registry files from backup.");
    bool result = true;
    try {
        std::string file = BackupFile();
        if (!platform::FileExists(file)) {
            Say("No backup copy of the registry exists.", platform::MsgIcon::Information);
        } else if (silent || Unattended ||
                   platform::ShowMessage("Restoring replaces the registry with the backup copy in:\r\r" + file +
                                             "\r\rDo you want to continue?",
                                         "Please Confirm", platform::MsgButtons::YesNo, platform::MsgIcon::Warning,
                                         hwnd()) == platform::MsgResult::Yes) {
            StatusBar1.setPanelText(0, "Restoring Registry");
            result = RunEditor("/c \"" + file + "\"", false, silent);
        }
    } catch (const platform::Win32Error& e) {
        Say("There was an error while restoring the registry.\r\rError Number: " + std::to_string(e.code()),
            platform::MsgIcon::Error);
        result = false;
    } catch (const std::exception&) {
        Say("There was an error while restoring the registry.\r\rError Number: " + std::to_string(GetLastError()),
            platform::MsgIcon::Error);
        result = false;
    }
    StatusBar1.setPanelText(0, "Restore procedure complete");
    return result;
}

// ---- removal ----

std::vector<int> TfrmRegClean::RemoveWithPlan(const std::vector<int>& rows, bool unattendedBlock,
                                              std::optional<std::string>& error) {
    struct Item {
        int row = 0;
        std::string rootName, keyPath, valueName;
        const RowRef* ref = nullptr;
        HKEY key = nullptr;
    };
    // First every value is read and saved to the undo file, then the values are deleted: nothing is
    // deleted unless its copy is on disk.
    std::map<std::pair<HKEY, std::wstring>, platform::UniqueHKey> keys;
    std::vector<Item> items;
    if (!m_undo) m_undo = std::make_unique<UndoFile>(BackupFolder());
    for (int row : rows) {
        Item it;
        it.row = row;
        FindingKey fk = ParseFindingKey(lv.text(row, 0));
        it.rootName = fk.rootName;
        it.keyPath = fk.keyPath;
        it.valueName = lv.text(row, 2);
        auto index = static_cast<size_t>(lv.data(row));
        if (index >= m_rows.size()) {
            error = "Error opening registry key " + fk.keyPath;
            break;
        }
        it.ref = &m_rows[index];
        auto slot = std::make_pair(it.ref->root, it.ref->keyPath);
        auto found = keys.find(slot);
        if (found == keys.end()) {
            platform::UniqueHKey key = OpenKey(it.ref->root, it.ref->keyPath, KEY_QUERY_VALUE | KEY_SET_VALUE);
            if (!key) key = OpenKey(it.ref->root, it.ref->keyPath, KEY_READ);
            if (!key) {
                error = "Error opening registry key " + fk.keyPath;
                break;
            }
            found = keys.emplace(slot, std::move(key)).first;
        }
        it.key = found->second.get();
        m_undo->add(it.key, it.ref->rootName, it.ref->keyPath, it.ref->valueName);
        items.push_back(std::move(it));
    }
    bool saving = m_undo->hasPending();
    m_undo->flush();
    if (saving) {
        LogInForce("  Removed values are kept for undo in: " + m_undo->path());
        StatusBar1.setPanelText(0, "Removed values saved to " + m_undo->path());
    }
    if (unattendedBlock && UnattendedLogging()) WriteUnattended("  Start: Removing invalid references");
    std::vector<int> removed;
    // From the bottom up, so that the indexes stay valid; a list that goes entirely is emptied at once.
    auto dropRows = [&] {
        if (static_cast<int>(removed.size()) == lv.rowCount()) {
            lv.clear();
        } else {
            lv.beginUpdate();
            for (auto r = removed.rbegin(); r != removed.rend(); ++r)
                lv.deleteRow(*r);
            lv.endUpdate();
        }
    };
    try {
        for (const Item& it : items) {
            LogInForce("  Removing invalid reference...");
            LogInForce(KeyLogLine(it.rootName, it.keyPath));
            LogInForce(ValueLogLine(it.valueName));
            LONG rc = RegDeleteValueW(it.key, it.ref->valueName.c_str());
            if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
                // A value already gone (listed twice, through HKEY_CURRENT_USER and HKEY_USERS) counts too.
                ++m_removed;
                removed.push_back(it.row);
            } else {
                // Not removed: not counted, and the row stays.
                LogInForce("      NOT REMOVED: " + platform::ErrorText(static_cast<uint32_t>(rc)));
            }
        }
    } catch (...) {
        // A log that cannot be written ends the removal; what was deleted leaves the list all the same.
        dropRows();
        throw;
    }
    dropRows();
    return removed;
}

void TfrmRegClean::Remove_Selected() {
    if (m_scanning || m_busy) return;
    int n = lv.selectedCount();
    if (n == 0) return;
    if (!Unattended && platform::ShowMessage(RemoveSelectedQuestion(n), "Please Confirm", platform::MsgButtons::YesNo,
                                             platform::MsgIcon::Warning, hwnd()) != platform::MsgResult::Yes)
        return;
    std::optional<std::string> error;
    std::vector<int> removed = RemoveWithPlan(lv.selectedRows(), false, error);
    StatusBar1.setPanelText(1, kFoundPrefix + std::to_string(lv.rowCount()));
    if (!removed.empty()) {
        // Where the last removed row stood when it went, the rows above it being gone already.
        int lastFormer = removed.back() - static_cast<int>(removed.size() - 1);
        int next = NeighbourAfterRemoval(lastFormer, lv.rowCount());
        if (next >= 0) {
            lv.setSelected(next, true);
            lv.setFocused(next);
        }
    }
    UpdateMenuStates();
    if (error) throw std::runtime_error(*error);
    if (cbRescan.checked()) btnStartClick();
}

void TfrmRegClean::Remove_All() {
    if (m_scanning || m_busy || lv.rowCount() == 0) return;
    if (!Unattended && platform::ShowMessage("Are you sure you want to remove all displayed entries from the Registry?",
                                             "Please Confirm", platform::MsgButtons::YesNo, platform::MsgIcon::Warning,
                                             hwnd()) != platform::MsgResult::Yes)
        return;
    std::vector<int> rows(static_cast<size_t>(lv.rowCount()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    std::optional<std::string> error;
    RemoveWithPlan(rows, true, error);
    // Rows whose value could not be deleted stay listed (and removable again).
    tb.setButtonEnabled("cmdRemove", lv.rowCount() > 0);
    StatusBar1.setPanelText(1, kFoundPrefix + std::to_string(lv.rowCount()));
    UpdateMenuStates();
    if (error) throw std::runtime_error(*error);
    if (!Unattended && cbRescan.checked()) btnStartClick();
    if (UnattendedLogging()) {
        WriteUnattended("  Finish: Removing invalid references");
        WriteUnattended(logs::SeparatorLine());
        WriteUnattended("OPERATION COMPLETE: " + logs::DateStamp());
        WriteUnattended(RemovedCountLine(m_removed));
        WriteUnattended(logs::SeparatorLine());
    }
}

void TfrmRegClean::cmdRemoveClick() {
    if (lv.selectedCount() > 0) Remove_Selected();
}

void ShowRegistryCleaner() {
    TfrmRegClean form;
    form.showModal();
}

} // namespace tools::regclean
