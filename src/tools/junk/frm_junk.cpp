#include "tools/junk/frm_junk.h"

#include <shellapi.h>

#include <cmath>
#include <exception>
#include <unordered_map>

#include "app/commontools.h"
#include "app/common.h"
#include "app/help.h"
#include "app/hint.h"
#include "app/settings.h"
#include "logs/logs.h"
#include "logs/pure/log_lines.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "scan/pure/scan_rules.h"

namespace tools::junk {

namespace {

constexpr const char* kCaption = "Find and Clean Junk and Obsolete Files";
constexpr const char* kScanCaption = "&Scan";
constexpr const char* kStopCaption = "&Stop";
constexpr const char* kScanHint = "Begin scanning for files";
constexpr const char* kStopHint = "Abort the current scan (may take a moment).";

constexpr const char* kRemoveItemQuestion =
    "Are you sure you wish to permanently remove the selected item?  This procedure cannot be reversed.\r\n\r\nIf "
    "you would merely like to exclude this item you may do so by \"unchecking\" its corresponding box.";
constexpr const char* kRemoveFilesQuestion = "Are you sure you wish to remove the selected file(s) ?";
constexpr const char* kInvalidMoveFolder =
    "You must specify a valid folder to move files to if you are going to use this removal option.";
constexpr const char* kInvalidDays = "Please enter the number of days (0 to 999) for the option \"Only find files "
                                     "that have not been accessed in\".";
constexpr const char* kJunkAddHint = "Use this option to add specific files or file extensions to look for when "
                                     "scanning your drives.  Wildcards such as \"*\" and \"?\" are supported.";
constexpr const char* kFindFoldersHint =
    "Using this option you may add specific folders to look within when scanning for junk and obsolete files.  Any "
    "files contained in these folders will be listed as candidates for removal, regardless of the settings under the "
    "\"Files to Find\" tab.";
constexpr const char* kExcludeFoldersHint = "Using this option you may exclude specific folders from the file search.  "
                                            "Any files within the folders in this list will be ignored.";

constexpr int kRemovalPage = 4;
// Interactive pumping inside the file handlers: often enough to stay responsive, rarely enough
// that a drive of tens of thousands of files is not spent in the message queue.
constexpr ULONGLONG kPumpIntervalMs = 25;
constexpr ULONGLONG kRepaintIntervalMs = 250;
// The folder being scanned is shown at most this often: setting a status text is a repaint
// request, a server round trip under Wine, and folders pass far faster than anyone can read.
constexpr ULONGLONG kStatusIntervalMs = 25;

const std::vector<std::string>& StoredProperties() {
    static const std::vector<std::string> props{"cbConfirm.Checked",  "cbDays.Checked", "cbInUse.Checked",
                                                "cbSkipAttr.Checked", "cbTemp.Checked", "cbZeroLength.Checked",
                                                "meDays.Text",        "deMove.Text"};
    return props;
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return std::string(s);
}

// What the walk's listing says of the file it reports.
WIN32_FILE_ATTRIBUTE_DATA ListedData(const scan::TTreeScanner& walk) {
    auto time = [](uint64_t t) { return FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)}; };
    WIN32_FILE_ATTRIBUTE_DATA d{};
    d.dwFileAttributes = walk.FileAttributes();
    d.ftCreationTime = time(walk.FileCreationTime());
    d.ftLastAccessTime = time(walk.FileLastAccessTime());
    d.ftLastWriteTime = time(walk.FileLastWriteTime());
    const auto size = static_cast<uint64_t>(walk.FileSize());
    d.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    d.nFileSizeLow = static_cast<DWORD>(size);
    return d;
}

// The result list's own window procedure in front of the list's. (The common controls' subclass
// helper finds its data in a window property on every message, which under Wine is a server
// round trip; filling the list sends it a dozen messages a row.)
struct ResultListHook {
    WNDPROC previous = nullptr;
    TfrmJunk* form = nullptr;
};
std::unordered_map<HWND, ResultListHook>& ResultListHooks() {
    static std::unordered_map<HWND, ResultListHook> hooks;
    return hooks;
}

LRESULT CALLBACK ResultListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto it = ResultListHooks().find(hwnd);
    if (it == ResultListHooks().end()) return DefWindowProcW(hwnd, msg, wp, lp);
    const ResultListHook hook = it->second;
    // Alt+Enter arrives as a system key, which the form's key hook never sees.
    if (msg == WM_SYSKEYDOWN && wp == VK_RETURN) {
        try {
            hook.form->mnuResults.click("mnuProperties");
        } catch (const std::exception& e) {
            platform::ShowErrorBox(e.what(), GetAncestor(hwnd, GA_ROOT));
        }
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.previous));
        ResultListHooks().erase(hwnd);
    }
    return CallWindowProcW(hook.previous, hwnd, msg, wp, lp);
}

void HookResultList(HWND list, TfrmJunk* form) {
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ResultListProc)));
    ResultListHooks()[list] = {previous, form};
}

void UnhookResultList(HWND list) {
    auto it = ResultListHooks().find(list);
    if (it == ResultListHooks().end()) return;
    if (GetWindowLongPtrW(list, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ResultListProc))
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
    ResultListHooks().erase(it);
}

} // namespace

scan::TShellFileOp& ShellFileOp1() {
    return app::CommonTools().ShellFileOp1;
}

TfrmJunk::TfrmJunk() : Form("TfrmJunk") {
    DiskListView1.Columns = {{"Drives to scan", 0}};
    lv.Columns = {{"Name", 240, false},          {"Size", 70, true},       {"Type", 90, false},
                  {"Last Modified", 116, false}, {"Attributes", 62, true}, {"File Version", 80, true},
                  {"Product Version", 90, true}};

    ts.FindHiddenFiles = true;
    ts.FindHiddenFolders = true;
    ts.OnFileFound = [this](scan::TTreeScanner& s) { tsFileFound(s); };
    ts.OnDirectoryFound = [this](scan::TTreeScanner& s) { tsDirectoryFound(s); };
    ts.OnDirectoryDone = [](scan::TTreeScanner&) {};
    ts.OnSearchDone = [this](scan::TTreeScanner& s) { tsSearchDone(s); };
    tsZero.SetFileMask("*.*");
    tsZero.FindHiddenFiles = true;
    tsZero.FindHiddenFolders = true;
    tsZero.OnFileFound = [this](scan::TTreeScanner& s) { tsZeroFileFound(s); };
    tsZero.OnDirectoryFound = [this](scan::TTreeScanner& s) { tsDirectoryFound(s); };
    tsZero.OnDirectoryDone = [](scan::TTreeScanner&) {};
    tsZero.OnSearchDone = [this](scan::TTreeScanner& s) { tsSearchDone(s); };
}

TfrmJunk::~TfrmJunk() {
    if (lv.hwnd() && IsWindow(lv.hwnd())) UnhookResultList(lv.hwnd());
}

// ---- building the window ----

void TfrmJunk::buildWindow(HWND owner) {
    createWindow({kCaption, 660, 548}, owner);

    addPageControl(pcJunk, "pcJunk", {8, 8, 530, 232});
    pcJunk.addPage("tsDrives", "Drive(s) to Scan");
    pcJunk.addPage("tsFiles", "Files to Find");
    pcJunk.addPage("tsFolders", "Folders");
    pcJunk.addPage("tsOther", "Other Considerations");
    pcJunk.addPage("tsRemoval", "Removal");
    // The first page was placed while the tab control had no tabs yet, over the row where the
    // tabs now are: every page takes the area below the tabs.
    for (int i = 0; i < pcJunk.pageCount(); ++i)
        pcJunk.page(i).setBounds(pcJunk.pageArea());
    buildPages();

    addButton(cmdGo, "cmdGo", kScanCaption, {548, 32, 104, 28});
    cmdGo.setHint(kScanHint);
    cmdGo.onClick = [this] { cmdGoClick(); };
    addButton(cmdExit, "cmdExit", "&Exit", {548, 66, 104, 28});
    cmdExit.setHint("Exit the Junk and Obsolete File tool");
    cmdExit.onClick = [this] { cmdExitClick(); };
    addButton(cmdHelp, "cmdHelp", "&Help", {548, 100, 104, 28});
    cmdHelp.onClick = [this] { FormHelp(); };
    setCancelButton(&cmdExit);
    add(aniSearch, "aniSearch", WC_STATICW, "", SearchAnimation::Style(), {578, 150, 44, 44});
    aniSearch.setVisible(false);

    add(tbResults, "tbResults", ResultToolbar::ClassName(), "", ResultToolbar::Style(), {8, 246, 644, 26});
    tbResults.addButton(
        "cmdDelete", "Remove", true, [this] { cmdDeleteClick(); },
        [this] {
            RECT r = tbResults.buttonRect("cmdDelete");
            mnuRemove.popup(hwnd(), {r.left, r.bottom});
        });
    tbResults.addButton("cmdQuickView", "QuickView", false, [this] { QuickViewClick(); });
    tbResults.addButton("cmdProperties", "Properties", false, [this] { PropertiesClick(); });
    tbResults.setVisible(false);

    addListView(lv, "lv", {8, 274, 644, 244}, nullptr, false, true);
    m_fileIcons =
        ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 1, 64);
    SHFILEINFOW generic{};
    if (SHGetFileInfoW(L"file", FILE_ATTRIBUTE_NORMAL, &generic, sizeof(generic),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON) &&
        generic.hIcon) {
        ImageList_AddIcon(m_fileIcons, generic.hIcon);
        DestroyIcon(generic.hIcon);
    } else {
        ImageList_AddIcon(m_fileIcons, LoadIconW(nullptr, IDI_APPLICATION));
    }
    lv.setImageList(m_fileIcons, LVSIL_SMALL); // the list frees it
    lv.onChange = [this](int) { UpdateCommands(); };
    lv.onDblClick = [this](int row) { lvDblClick(row); };
    HookResultList(lv.hwnd(), this);

    addStatusBar(StatusBar1, "StatusBar1", {170, -1});
    RECT panel{};
    SendMessageW(StatusBar1.hwnd(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
    addProgressBar(ProgressBar1, "ProgressBar1",
                   {unscale(panel.left) + 2, unscale(panel.top) + 2, unscale(panel.right - panel.left) - 4,
                    unscale(panel.bottom - panel.top) - 4},
                   &StatusBar1);

    buildMenus();
}

void TfrmJunk::buildPages() {
    platform::Panel& drives = pcJunk.page(0);
    addLabel(lblDrives, "lblDrives", "Check the boxes of the drive(s) you wish to scan.", {8, 8, 500, 16}, &drives);
    addListView(DiskListView1, "DiskListView1", {8, 28, 320, 162}, &drives, true, true);
    DiskListView1.onItemCheck = [this](int) { SyncDriveSelection(); };
    DiskListView1.onChange = [this](int) { SyncDriveSelection(); };

    platform::Panel& files = pcJunk.page(1);
    addLabel(lblScan, "lblScan", "Check the box next to the file type(s) you wish to scan for.", {8, 8, 500, 16},
             &files);
    addListView(lvScan, "lvScan", {8, 28, 400, 162}, &files, true);
    lvScan.addColumn("File type", 130);
    lvScan.addColumn("Description", 246);
    lvScan.onChange = [this](int) { UpdateCommands(); };
    lvScan.onDblClick = [this](int) { cmdEditTypeClick(); };
    addButton(cmdAddType, "cmdAddType", "&Add...", {418, 28, 92, 26}, &files);
    addButton(cmdEditType, "cmdEditType", "&Edit", {418, 60, 92, 26}, &files);
    addButton(cmdRemoveType, "cmdRemoveType", "&Remove", {418, 92, 92, 26}, &files);
    cmdAddType.onClick = [this] { cmdAddTypeClick(); };
    cmdEditType.onClick = [this] { cmdEditTypeClick(); };
    cmdRemoveType.onClick = [this] { cmdRemoveTypeClick(); };

    platform::Panel& folders = pcJunk.page(2);
    addLabel(lblFolderFind, "lblFolderFind", "Find ALL files in these folders, regardless type...", {8, 4, 400, 16},
             &folders);
    addListView(lvFolderFind, "lvFolderFind", {8, 20, 400, 76}, &folders, true);
    addLabel(lblFolderExclude, "lblFolderExclude", "Exclude all of the files in these folders...", {8, 102, 400, 16},
             &folders);
    addListView(lvFolderExclude, "lvFolderExclude", {8, 118, 400, 76}, &folders, true);
    for (platform::ListView* list : {&lvFolderFind, &lvFolderExclude}) {
        list->addColumn("Folder Location", 230);
        list->addColumn("Description", 146);
        list->onChange = [this](int) { UpdateCommands(); };
        list->onDblClick = [this, list](int) { EditFolderClick(*list); };
    }
    addButton(cmdAddFind, "cmdAddFind", "&Add Folder...", {418, 20, 92, 24}, &folders);
    addButton(cmdEditFind, "cmdEditFind", "&Edit", {418, 46, 92, 24}, &folders);
    addButton(cmdRemoveFind, "cmdRemoveFind", "&Remove", {418, 72, 92, 24}, &folders);
    addButton(cmdAddExclude, "cmdAddExclude", "A&dd Folder...", {418, 118, 92, 24}, &folders);
    addButton(cmdEditExclude, "cmdEditExclude", "Edi&t", {418, 144, 92, 24}, &folders);
    addButton(cmdRemoveExclude, "cmdRemoveExclude", "Re&move", {418, 170, 92, 24}, &folders);
    cmdAddFind.onClick = [this] { AddFolderClick(lvFolderFind); };
    cmdEditFind.onClick = [this] { EditFolderClick(lvFolderFind); };
    cmdRemoveFind.onClick = [this] { RemoveFolderClick(lvFolderFind); };
    cmdAddExclude.onClick = [this] { AddFolderClick(lvFolderExclude); };
    cmdEditExclude.onClick = [this] { EditFolderClick(lvFolderExclude); };
    cmdRemoveExclude.onClick = [this] { RemoveFolderClick(lvFolderExclude); };

    platform::Panel& other = pcJunk.page(3);
    addCheckBox(cbDays, "cbDays", "&Only find files that have not been accessed in", {12, 14, 290, 20}, &other);
    addEdit(meDays, "meDays", "30", {304, 13, 44, 22}, &other, ES_NUMBER | ES_RIGHT);
    SendMessageW(meDays.hwnd(), EM_LIMITTEXT, 3, 0);
    add(udDays, "udDays", UPDOWN_CLASSW, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
        {348, 13, 16, 22}, &other);
    SendMessageW(udDays.hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(meDays.hwnd()), 0);
    SendMessageW(udDays.hwnd(), UDM_SETRANGE32, 0, 999);
    SendMessageW(udDays.hwnd(), UDM_SETPOS32, 0, 30);
    addLabel(lblDaysWord, "lblDaysWord", "days", {370, 16, 40, 16}, &other);
    addCheckBox(cbSkipAttr, "cbSkipAttr", "&Skip read-only and system files", {12, 48, 480, 20}, &other);
    addCheckBox(cbInUse, "cbInUse", "S&kip files that are currently being used by their associated application",
                {12, 76, 480, 20}, &other);
    addCheckBox(cbTemp, "cbTemp", "Find &unused files in the Windows \"Temporary\" folder", {12, 104, 480, 20}, &other);
    addCheckBox(cbZeroLength, "cbZeroLength", "&Find zero length files", {12, 132, 480, 20}, &other);
    cbSkipAttr.setChecked(true);
    cbInUse.setChecked(true);

    platform::Panel& removal = pcJunk.page(kRemovalPage);
    addGroupBox(gbRemoval, "gbRemoval", "Removal Options", {8, 6, 504, 186}, &removal);
    add(imgRecycle, "imgRecycle", WC_STATICW, "", ClickPicture::Style(), {22, 30, 24, 24}, &removal);
    addRadio(optRecycle, "optRecycle", "&Move removed files to recycle bin", {52, 32, 300, 20}, true, &removal);
    add(imgDelete, "imgDelete", WC_STATICW, "", ClickPicture::Style(), {22, 62, 24, 24}, &removal);
    addRadio(optDelete, "optDelete", "&Permanently delete removed files", {52, 64, 300, 20}, false, &removal);
    add(imgMoveTo, "imgMoveTo", WC_STATICW, "", ClickPicture::Style(), {22, 94, 24, 24}, &removal);
    addRadio(optMove, "optMove", "M&ove removed files to:", {52, 96, 160, 20}, false, &removal);
    addEdit(deMove, "deMove", "", {214, 95, 262, 22}, &removal, WS_GROUP);
    addButton(btnMoveBrowse, "btnMoveBrowse", "...", {478, 95, 26, 22}, &removal);
    addCheckBox(cbConfirm, "cbConfirm", "&Confirm before removing files", {22, 142, 300, 20}, &removal);
    imgRecycle.setStockIcon(SIID_RECYCLER);
    imgDelete.setStockIcon(SIID_DELETE);
    imgMoveTo.setStockIcon(SIID_FOLDER);
    imgRecycle.onClick = [this] { optRecycle.click(); };
    imgDelete.onClick = [this] { optDelete.click(); };
    imgMoveTo.onClick = [this] { optMove.click(); };
    optRecycle.onClick = [this] { optClick(); };
    optDelete.onClick = [this] { optClick(); };
    optMove.onClick = [this] { optClick(); };
    btnMoveBrowse.onClick = [this] {
        auto folder = platform::CurrentDialogs().browseFolder(hwnd(), "Move removed files to:", deMove.text());
        if (!folder || folder->empty()) return;
        // The browser may name a folder that is to be made.
        if (!platform::FolderExists(*folder)) platform::ForceFolders(*folder);
        deMove.setText(*folder);
    };
    optRecycle.setChecked(true);
    cbConfirm.setChecked(true);
    deMove.setEnabled(false);
    btnMoveBrowse.setEnabled(false);
}

void TfrmJunk::buildMenus() {
    mnuScan.addItem("mnuAddType", "&Add New Item", "", [this] { cmdAddTypeClick(); });
    mnuScan.addItem("mnuEditType", "&Edit Selected Item", "", [this] { cmdEditTypeClick(); });
    mnuScan.addItem("mnuRemoveType", "&Remove Selected Item", "", [this] { cmdRemoveTypeClick(); });
    mnuScan.addSeparator();
    mnuScan.addItem("mnuCheckAllTypes", "&Check all items", "", [this] { app::CheckAllItems(true, lvScan); });
    mnuScan.addItem("mnuUncheckAllTypes", "U&ncheck all items", "", [this] { app::CheckAllItems(false, lvScan); });

    struct FolderMenu {
        PopupMenu& menu;
        platform::ListView& list;
        const char* suffix;
    };
    for (FolderMenu m :
         {FolderMenu{mnuFolderFind, lvFolderFind, "Find"}, FolderMenu{mnuFolderExclude, lvFolderExclude, "Exclude"}}) {
        platform::ListView* list = &m.list;
        const std::string s = m.suffix;
        m.menu.addItem("mnuAdd" + s, "&Add New Item", "", [this, list] { AddFolderClick(*list); });
        m.menu.addItem("mnuEdit" + s, "&Edit Selected Item", "", [this, list] { EditFolderClick(*list); });
        m.menu.addItem("mnuRemove" + s, "&Remove Selected Item", "", [this, list] { RemoveFolderClick(*list); });
        m.menu.addSeparator();
        m.menu.addItem("mnuCheckAll" + s, "&Check all items", "", [list] { app::CheckAllItems(true, *list); });
        m.menu.addItem("mnuUncheckAll" + s, "&Uncheck all items", "", [list] { app::CheckAllItems(false, *list); });
    }

    mnuResults.addItem("mnuRemoveFiles", "&Remove", "Del", [this] { cmdDeleteClick(); });
    mnuResults.addItem("mnuSelectAll", "&Select All", "Ctrl+A", [this] { SelectAllClick(); });
    mnuResults.addSeparator();
    mnuResults.addItem("mnuQuickView", "&QuickView", "Enter", [this] { QuickViewClick(); });
    mnuResults.addItem("mnuProperties", "P&roperties", "Alt+Enter", [this] { PropertiesClick(); });

    mnuRemove.addItem("mnuRemoveSelected", "&Remove Selected File(s)", "", [this] { cmdDeleteClick(); });
    mnuRemove.addItem("mnuRemoveAll", "Remove &all listed files", "", [this] { RemoveAllClick(); });
}

// ---- life of the window ----

void TfrmJunk::FormCreate() {
    RemovedBytes = 0;
    RemovedFiles = 0;
    DoJunk = logs::InteractiveLogOn("DoJunk");
    LoadCriteria();
    UpdateCommands();
}

void TfrmJunk::FormShow() {
    if (!Unattended && DoJunk) logs::WriteOpeningBlock(logs::kManualJunkLog, logs::kOpenSession);
    // The first showing ever (the options were never stored) checks the fixed drives.
    scan::CheckFixedDrives(kJunkStateKey, "pos", DiskListView1);
    SyncDriveSelection();
}

bool TfrmJunk::FormCloseQuery() {
    const std::vector<std::string> total{logs::SpaceLine(RemovedBytes)};
    if (Unattended && LogUnattended)
        logs::WriteOperationEndBlock(logs::kJunkLog, total);
    else if (!Unattended && DoJunk)
        logs::WriteClosingBlock(logs::kManualJunkLog, logs::kCloseSession, total);
    logs::AddToCounter("JunkBytes", RemovedBytes);
    logs::AddToCounter("JunkFiles", RemovedFiles);
    ts.ContinueSearch = false;
    tsZero.ContinueSearch = false;
    m_stopped = true;
    m_checker.Discard();
    SaveCriteria();
    return true;
}

void TfrmJunk::FormHelp() {
    app::OpenHelpTopic(kHelpTopic);
}

void TfrmJunk::cmdExitClick() {
    lv.clear();
    m_index.clear();
    close();
}

void TfrmJunk::FormKeyDown(WPARAM key) {
    if (GetFocus() != lv.hwnd()) return;
    if (key == VK_DELETE)
        mnuResults.click("mnuRemoveFiles");
    else if (key == 'A' && GetKeyState(VK_CONTROL) < 0)
        mnuResults.click("mnuSelectAll");
    else if (key == VK_RETURN && GetKeyState(VK_MENU) >= 0)
        mnuResults.click("mnuQuickView");
}

LRESULT TfrmJunk::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    switch (msg) {
    case WM_COMMAND:
        // Toolbar buttons report through the toolbar's window with the button in the id.
        if (lp && reinterpret_cast<HWND>(lp) == tbResults.hwnd()) {
            handled = tbResults.dispatch(LOWORD(wp));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->hwndFrom == pcJunk.hwnd() && hdr->code == TCN_SELCHANGING) {
            handled = true;
            return pcJunkChanging() ? FALSE : TRUE;
        }
        break;
    }
    case WM_CONTEXTMENU: {
        const HWND from = reinterpret_cast<HWND>(wp);
        struct Target {
            platform::ListView& list;
            PopupMenu& menu;
        };
        for (Target t : {Target{lv, mnuResults}, Target{lvScan, mnuScan}, Target{lvFolderFind, mnuFolderFind},
                         Target{lvFolderExclude, mnuFolderExclude}}) {
            if (from == t.list.hwnd()) {
                handled = true;
                ShowListMenu(t.list, t.menu, lp);
                return 0;
            }
        }
        break;
    }
    case WM_TIMER:
        if (wp == SearchAnimation::kTimerId) {
            handled = true;
            aniSearch.nextFrame();
            return 0;
        }
        break;
    default:
        break;
    }
    return 0;
}

void TfrmJunk::ShowListMenu(platform::ListView& list, PopupMenu& menu, LPARAM where) {
    if (!list.enabled()) return;
    UpdateCommands();
    POINT pt{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where == static_cast<LPARAM>(-1)) {
        RECT r;
        GetWindowRect(list.hwnd(), &r);
        pt = {r.left + 8, r.top + 8};
    }
    menu.popup(hwnd(), pt);
}

// ---- criteria ----

void TfrmJunk::LoadCriteria() {
    app::WindowStateStore(kJunkStateKey, "pos").restore(*this, StoredProperties());
    optClick();

    platform::RegKey::Create(HKEY_CURRENT_USER, kJunkKey);
    app::RegIniFile ini(app::kProductKey);
    const std::string scanFor = ini.readString("Junk", "ScanFor", DefaultScanFor());
    const std::string scanDesc = ini.readString("Junk", "ScanDesc", DefaultScanDesc());
    const std::string drives = ini.readString("Junk", "Drives", kDefaultDrives);

    lvScan.beginUpdate();
    lvScan.clear();
    for (const auto& t : ReadFileTypes(scanFor, scanDesc)) {
        const int row = lvScan.addRow(t.pattern, {t.description});
        lvScan.setChecked(row, t.checked);
    }
    lvScan.endUpdate();

    DiskListView1.FillDrives();
    const size_t rows = static_cast<size_t>(DiskListView1.rowCount());
    for (int row = 0; row < DiskListView1.rowCount(); ++row) {
        auto letter = LetterBeforeFirstColon(DiskListView1.text(row));
        if (letter && StoredDriveChecked(drives, rows, *letter)) DiskListView1.setChecked(row, true);
    }
    SyncDriveSelection();

    app::LoadFolderList(lvFolderFind, kFindFoldersKey);
    app::LoadFolderList(lvFolderExclude, kExcludedFoldersKey);
}

void TfrmJunk::SaveCriteria() {
    app::RegIniFile ini(app::kProductKey);
    const auto types = FileTypes();
    ini.writeString("Junk", "ScanFor", WriteScanFor(types));
    try {
        ini.writeString("Junk", "ScanDesc", WriteScanDesc(types));
    } catch (const std::exception&) {
        // The descriptions are a convenience; the types and drives still get written.
    }
    SyncDriveSelection();
    ini.writeString("Junk", "Drives", DiskListView1.GetSelectedDrives());
    app::SaveFolderList(lvFolderFind, kFindFoldersKey);
    app::SaveFolderList(lvFolderExclude, kExcludedFoldersKey);
    app::WindowStateStore(kJunkStateKey, "pos").save(*this, StoredProperties());
}

std::vector<FileType> TfrmJunk::FileTypes() const {
    std::vector<FileType> types;
    for (int row = 0; row < lvScan.rowCount(); ++row)
        types.push_back({lvScan.text(row, 0), lvScan.text(row, 1), lvScan.checked(row)});
    return types;
}

void TfrmJunk::SyncDriveSelection() {
    if (m_syncingDrives) return;
    m_syncingDrives = true;
    platform::ScopeExit done([this] { m_syncingDrives = false; });
    for (int row = 0; row < DiskListView1.rowCount(); ++row) {
        const bool on = DiskListView1.checked(row);
        if (DiskListView1.selected(row) != on) DiskListView1.setSelected(row, on);
    }
}

std::vector<char> TfrmJunk::CheckedDriveLetters() const {
    std::vector<char> letters;
    for (int row = 0; row < DiskListView1.rowCount(); ++row)
        if (DiskListView1.checked(row))
            if (auto letter = scan::DriveLetterOfCaption(DiskListView1.text(row))) letters.push_back(*letter);
    return letters;
}

std::string TfrmJunk::AskStoredText(std::string_view caption, std::string_view prompt, std::string initial,
                                    bool isPattern, bool cancelKeepsInitial, bool& cancelled) {
    std::string current = initial;
    for (;;) {
        auto answer = platform::CurrentDialogs().inputQuery(hwnd(), caption, prompt, current);
        if (!answer) {
            cancelled = true;
            return cancelKeepsInitial ? initial : std::string();
        }
        if (auto problem = StoredTextProblem(*answer, isPattern)) {
            platform::ShowMessage(*problem, "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
            current = *answer;
            continue;
        }
        cancelled = false;
        return *answer;
    }
}

void TfrmJunk::cmdAddTypeClick() {
    app::ShowHint("JunkAdd", kJunkAddHint);
    bool cancelled = false;
    const std::string pattern = AskStoredText(
        "Add New File Type", "Extension or name of the file you wish to scan for:", "", true, false, cancelled);
    if (cancelled || pattern.empty()) return;
    const std::string description = AskStoredText(
        "New File Type Description", "Enter a short description for this new file type:", " ", false, true, cancelled);
    const int row = lvScan.addRow(pattern, {description});
    lvScan.setChecked(row, true);
    UpdateCommands();
}

void TfrmJunk::cmdEditTypeClick() {
    const int row = lvScan.selectedIndex();
    if (row < 0) return;
    bool cancelled = false;
    lvScan.setText(row, 0,
                   AskStoredText("Modify File Type", "Extension or name of the file you wish to scan for:",
                                 lvScan.text(row, 0), true, true, cancelled));
    lvScan.setText(row, 1,
                   AskStoredText("Modify File Type Description", "Enter a short description for this file type:",
                                 lvScan.text(row, 1), false, true, cancelled));
}

void TfrmJunk::cmdRemoveTypeClick() {
    if (lvScan.selectedIndex() < 0) return;
    if (!platform::Confirm(kRemoveItemQuestion, "Please Confirm", hwnd())) return;
    app::DeleteSelectedItem(lvScan);
    UpdateCommands();
}

void TfrmJunk::AddFolderClick(platform::ListView& list) {
    const bool find = &list == &lvFolderFind;
    app::ShowHint("JunkFolders", find ? kFindFoldersHint : kExcludeFoldersHint);
    app::BrowseFolder(list, false);
    app::SaveFolderList(list, find ? kFindFoldersKey : kExcludedFoldersKey);
    UpdateCommands();
}

void TfrmJunk::EditFolderClick(platform::ListView& list) {
    if (list.selectedIndex() < 0) return;
    app::BrowseFolder(list, true);
    app::SaveFolderList(list, &list == &lvFolderFind ? kFindFoldersKey : kExcludedFoldersKey);
    UpdateCommands();
}

void TfrmJunk::RemoveFolderClick(platform::ListView& list) {
    if (list.selectedIndex() < 0) return;
    if (!platform::Confirm(kRemoveItemQuestion, "Please Confirm", hwnd())) return;
    app::DeleteSelectedItem(list);
    app::SaveFolderList(list, &list == &lvFolderFind ? kFindFoldersKey : kExcludedFoldersKey);
    UpdateCommands();
}

// ---- removal options ----

RemovalMethod TfrmJunk::SelectedMethod() const {
    if (optDelete.checked()) return RemovalMethod::Delete;
    if (optMove.checked()) return RemovalMethod::Move;
    return RemovalMethod::Recycle;
}

bool TfrmJunk::RemovalFolderValid() const {
    const std::string folder = Trimmed(deMove.text());
    return !folder.empty() && platform::FolderExists(folder);
}

void TfrmJunk::RefuseRemovalFolder() {
    platform::ShowMessage(kInvalidMoveFolder, "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
    deMove.setFocus();
    deMove.selectAll();
}

void TfrmJunk::optClick() {
    const bool move = optMove.checked();
    deMove.setEnabled(move);
    btnMoveBrowse.setEnabled(move);
    if (move && !RemovalFolderValid() && isOpen() && !Unattended) btnMoveBrowse.click();
}

bool TfrmJunk::pcJunkChanging() {
    if (pcJunk.activePage() != kRemovalPage || !optMove.checked() || RemovalFolderValid()) return true;
    RefuseRemovalFolder();
    return false;
}

// ---- commands ----

void TfrmJunk::UpdateCommands() {
    const bool scanning = cmdGo.caption() == kStopCaption;
    const ResultCommands rc = ResultCommandStates(lv.rowCount(), lv.selectedCount(), scanning);
    if (tbResults.visible() != rc.toolbarVisible) tbResults.setVisible(rc.toolbarVisible);
    tbResults.setButtonEnabled("cmdDelete", rc.remove || rc.removeAll);
    tbResults.setButtonEnabled("cmdQuickView", rc.quickView && !m_quickViewFailed);
    tbResults.setButtonEnabled("cmdProperties", rc.properties);
    mnuResults.setEnabled("mnuRemoveFiles", rc.remove);
    mnuResults.setEnabled("mnuSelectAll", rc.selectAll);
    mnuResults.setEnabled("mnuQuickView", rc.quickView);
    mnuResults.setEnabled("mnuProperties", rc.properties);
    mnuRemove.setEnabled("mnuRemoveSelected", rc.remove);
    mnuRemove.setEnabled("mnuRemoveAll", rc.removeAll);

    const ListCommands types = ListCommandStates(lvScan.rowCount(), lvScan.selectedCount());
    cmdEditType.setEnabled(types.edit);
    cmdRemoveType.setEnabled(types.remove);
    mnuScan.setEnabled("mnuEditType", types.edit);
    mnuScan.setEnabled("mnuRemoveType", types.remove);
    mnuScan.setEnabled("mnuCheckAllTypes", types.checkAll);
    mnuScan.setEnabled("mnuUncheckAllTypes", types.checkAll);

    struct FolderControls {
        platform::ListView& list;
        platform::Button &edit, &remove;
        PopupMenu& menu;
        const char* suffix;
    };
    for (FolderControls f :
         {FolderControls{lvFolderFind, cmdEditFind, cmdRemoveFind, mnuFolderFind, "Find"},
          FolderControls{lvFolderExclude, cmdEditExclude, cmdRemoveExclude, mnuFolderExclude, "Exclude"}}) {
        const ListCommands c = ListCommandStates(f.list.rowCount(), f.list.selectedCount());
        const std::string s = f.suffix;
        f.edit.setEnabled(c.edit);
        f.remove.setEnabled(c.remove);
        f.menu.setEnabled("mnuEdit" + s, c.edit);
        f.menu.setEnabled("mnuRemove" + s, c.remove);
        f.menu.setEnabled("mnuCheckAll" + s, c.checkAll);
        f.menu.setEnabled("mnuUncheckAll" + s, c.checkAll);
    }
}

void TfrmJunk::ShowRemovalToolbar(bool on) {
    tbResults.setVisible(on);
}

// ---- logging ----

void TfrmJunk::Log(std::string_view line) const {
    if (Unattended && LogUnattended)
        logs::WriteLog(logs::kJunkLog, line);
    else if (!Unattended && DoJunk)
        logs::WriteLog(logs::kManualJunkLog, line);
}

// ---- the scan ----

void TfrmJunk::cmdGoClick() {
    if (cmdGo.caption() == kStopCaption) {
        m_stopped = true;
        ScanEnd(false);
        return;
    }
    // A stopped scan that is still winding down inside this handler must finish first.
    if (m_scanRunning) return;
    if (cbDays.checked() && !ParseDayCount(meDays.text()) && !Unattended) {
        platform::ShowMessage(kInvalidDays, "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
        pcJunk.setActivePage(3);
        meDays.setFocus();
        meDays.selectAll();
        return;
    }

    m_scanRunning = true;
    m_stopped = false;
    platform::ScopeExit notRunning([this] { m_scanRunning = false; });
    if (Unattended && LogUnattended) {
        logs::WriteOperationStartBlock(logs::kJunkLog);
        logs::WriteLog(logs::kJunkLog, "  Start Scan...");
    } else if (!Unattended && DoJunk) {
        logs::WriteLog(logs::kManualJunkLog, "  Start Scan...");
    }

    std::exception_ptr failure;
    try {
        ScanStart();
        auto stopped = [this](const scan::TTreeScanner& s) { return m_stopped || !s.ContinueSearch; };
        auto advance = [this] { ProgressBar1.setPosition(ProgressBar1.position() + 1); };
        const std::vector<char> drives = CheckedDriveLetters();

        if (cbTemp.checked() && !stopped(ts)) {
            ts.InitialDirectory = app::GetTempDir();
            ts.SetFileMask("*.*");
            ts.Search();
            advance();
        }
        platform::ProcessMessages();

        if (lvFolderFind.rowCount() > 0) {
            for (int row = 0; row < lvFolderFind.rowCount(); ++row) {
                if (!lvFolderFind.checked(row)) continue;
                if (stopped(ts)) break;
                ts.InitialDirectory = lvFolderFind.text(row);
                ts.SetFileMask("*.*");
                ts.Search();
            }
            advance();
        }
        platform::ProcessMessages();

        platform::ScopeExit dropListings([this] {
            ts.Listings = tsZero.Listings = nullptr;
            m_listings.Clear();
        });
        ts.SetFileMaskCommaText(BuildMaskText(FileTypes()));
        if (!ts.FileMask().empty()) {
            if (cbZeroLength.checked()) {
                m_listings.Clear();
                m_listings.Recording = true;
                m_listings.KeepFile = [](const scan::TListingStore::Entry& e) { return e.size == 0; };
                ts.Listings = &m_listings;
            }
            for (char letter : drives) {
                ts.InitialDirectory = std::string(1, letter) + ":\\";
                if (stopped(ts)) break;
                ts.Search();
                if (stopped(ts)) break;
                advance();
            }
            ts.Listings = nullptr;
        }

        if (cbZeroLength.checked()) {
            m_listings.Recording = false;
            if (!m_listings.Empty()) tsZero.Listings = &m_listings;
            for (char letter : drives) {
                tsZero.InitialDirectory = std::string(1, letter) + ":\\";
                if (stopped(tsZero)) break;
                tsZero.Search();
                if (stopped(tsZero)) break;
                advance();
            }
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (!isOpen()) return; // closed while the walk wound down
    try {
        TakeChecked(true); // the last walks' rows and totals come before the end
        Log("  Scan End.");
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    ScanEnd(true);
    if (failure) std::rethrow_exception(failure);
}

void TfrmJunk::ScanStart() {
    for (int i = ImageList_GetImageCount(m_fileIcons) - 1; i >= 1; --i)
        ImageList_Remove(m_fileIcons, i);

    const int drives = static_cast<int>(CheckedDriveLetters().size());
    ProgressBar1.setRange(
        0, ProgressMaximum(drives, cbTemp.checked(), cbZeroLength.checked(), lvFolderFind.rowCount() > 0));
    ProgressBar1.setPosition(0);

    cmdGo.setCaption(kStopCaption);
    cmdGo.setHint(kStopHint);
    cmdHelp.setVisible(false);
    aniSearch.start();
    cmdExit.setEnabled(false);
    ShowRemovalToolbar(false);
    pcJunk.setEnabled(false);
    for (int i = 0; i < pcJunk.pageCount(); ++i)
        pcJunk.page(i).setEnabled(false);

    ts.SetFileMask("");
    ts.ContinueSearch = true;
    tsZero.ContinueSearch = true;

    lv.clear();
    m_index.clear();
    FreezeList(true);
    m_lastPaint = GetTickCount64();

    // What the file handlers test, taken once: the pages cannot change while the scan runs.
    m_scan = {};
    for (int row = 0; row < lvFolderExclude.rowCount(); ++row)
        if (lvFolderExclude.checked(row))
            m_scan.excludedUpper.push_back(platform::UpperCase(lvFolderExclude.text(row)));
    m_scan.moveToUpper = platform::UpperCase(Trimmed(deMove.text()));
    m_scan.checks.skipAttr = cbSkipAttr.checked();
    m_scan.checks.daysOn = cbDays.checked();
    m_scan.checks.inUse = cbInUse.checked();
    m_scan.checks.days = ParseDayCount(meDays.text());
    m_scan.checks.today = std::floor(platform::Now());
    m_checker.Start(m_scan.checks);
    m_lastPump = GetTickCount64();
    m_lastStatus = 0;
    m_folderPending = false;
    UpdateCommands();
}

void TfrmJunk::ScanEnd(bool logSummary) {
    m_folderPending = false;
    // Files reported before the end (or the stop) are listed or not as if checked at once.
    if (isOpen()) TakeChecked(true);
    FreezeList(false);
    ts.ContinueSearch = false;
    tsZero.ContinueSearch = false;
    cmdGo.setCaption(kScanCaption);
    cmdGo.setHint(kScanHint);
    aniSearch.stop();
    cmdHelp.setVisible(true);
    cmdExit.setEnabled(true);
    ProgressBar1.setPosition(0);
    pcJunk.setEnabled(true);
    for (int i = 0; i < pcJunk.pageCount(); ++i)
        pcJunk.page(i).setEnabled(true);

    if (lv.rowCount() == 0) {
        ShowRemovalToolbar(false);
    } else {
        ShowRemovalToolbar(true);
        if (lv.selectedIndex() < 0) {
            lv.setSelected(0, true);
            lv.setFocused(0);
        }
        if (visible()) lv.setFocus();
    }
    m_quickViewFailed = false;
    UpdateCommands();

    // The summary closes the scan once: the call that ends the handler writes it, also after a stop.
    if (!logSummary) return;
    const std::string summary = ScanSummaryLine(NumBytes(), lv.rowCount());
    if (Unattended && LogUnattended) {
        logs::WriteLog(logs::kJunkLog, "");
        logs::WriteLog(logs::kJunkLog, summary);
    } else if (!Unattended && DoJunk) {
        logs::WriteLog(logs::kManualJunkLog, "");
        logs::WriteLog(logs::kManualJunkLog, summary);
    }
}

void TfrmJunk::PumpNow() {
    const ULONGLONG now = GetTickCount64();
    if (now - m_lastPump < kPumpIntervalMs) return;
    m_lastPump = now;
    ShowScanningFolder(now);
    // The list draws only now and then while it fills: a list view that redraws for every row
    // it gains spends far more time drawing than the scan spends finding.
    const bool repaint = m_listFrozen && now - m_lastPaint >= kRepaintIntervalMs;
    if (repaint) {
        m_lastPaint = now;
        lv.endUpdate();
    }
    platform::ProcessMessages();
    if (repaint) lv.beginUpdate();
}

void TfrmJunk::FreezeList(bool frozen) {
    if (frozen == m_listFrozen) return;
    m_listFrozen = frozen;
    if (frozen)
        lv.beginUpdate();
    else
        lv.endUpdate();
}

bool TfrmJunk::Ignored(const std::string& path) {
    const std::string folder = platform::UpperCase(FolderOf(path));
    for (const auto& excluded : m_scan.excludedUpper)
        if (FolderPathContains(folder, excluded)) return true;
    return FolderPathContains(folder, m_scan.moveToUpper);
}

void TfrmJunk::tsFileFound(scan::TTreeScanner& sender) {
    PumpNow();
    if (!sender.ContinueSearch) return;
    const std::string path = sender.FileFound();
    if (Ignored(path)) return;
    // The duplicate test is a hash look-up and the other tests open the file, so it goes first;
    // neither test changes anything, so the outcome is that of the documented order. (A walk
    // reports a file once, and each walk's answers are all taken before the next starts.)
    if (IsInListView(path)) return;
    m_checker.Submit({.path = path, .attributes = sender.FileAttributes(), .listed = ListedData(sender)});
    TakeChecked(false);
}

void TfrmJunk::tsZeroFileFound(scan::TTreeScanner& sender) {
    PumpNow();
    if (!sender.ContinueSearch) return;
    // The walk's own size rules out almost every file before any look-up; the check confirms
    // the rest by an exact look-up.
    if (sender.FileSize() != 0) return;
    const std::string path = sender.FileFound();
    if (Ignored(path)) return;
    if (IsInListView(path)) return;
    m_checker.Submit({path, sender.FileAttributes(), true});
    TakeChecked(false);
}

void TfrmJunk::TakeChecked(bool wait) {
    m_checker.Collect(wait, [this](Checked& checked) {
        if (checked.walkEnd) {
            if (isOpen()) WalkEnded(checked.path, checked.zeroWalk);
            return;
        }
        // A window closed meanwhile has no list to add to. A file the file-type walk handed
        // over and the zero-length walk found again before its answer came is listed once.
        if (checked.listed && isOpen() && lv.hwnd() && !IsInListView(checked.path)) {
            AddRow(checked);
        } else if (checked.restoreAccess) {
            RestoreLastAccess(checked.path, checked.access); // no row will read it
        }
    });
}

bool TfrmJunk::RestrictedFile(const std::string& path) {
    platform::UniqueFile held;
    return RestrictedBy(m_scan.checks, path, platform::GetAttributes(path), held);
}

bool TfrmJunk::IsInListView(const std::string& path) const {
    return m_index.contains(platform::UpperCase(path));
}

void TfrmJunk::AddRow(const Checked& checked) {
    const std::string& path = checked.path;
    // The version and icon readers read the file once more; its access time goes back after them.
    platform::ScopeExit putBack([&] {
        if (checked.restoreAccess) RestoreLastAccess(path, checked.access);
    });
    int64_t size = 0;
    // Image 0 until the file's own icon is found.
    if (!lv.AddFileItem(path, checked.data, checked.executable, size, 0)) return; // the shell cannot name it
    const int row = lv.rowCount() - 1;
    // The row's caption is the path in lower case; the key is made from it as the list holds it,
    // without asking the list for it back.
    m_index.add(platform::UpperCase(platform::LowerCase(path)), size);
    if (checked.mayHoldIcons) AddAssociatedIcon(path, row);
}

void TfrmJunk::AddAssociatedIcon(const std::string& path, int row) {
    try {
        int image = 0;
        HICON icon = ExtractIconW(GetModuleHandleW(nullptr), platform::Widen(path).c_str(), 0);
        // 1 means "not a file with icons".
        if (icon && icon != reinterpret_cast<HICON>(1)) {
            const int added = ImageList_AddIcon(m_fileIcons, icon);
            DestroyIcon(icon);
            if (added >= 0) image = added;
        }
        lv.setImage(row, image);
    } catch (...) {
        // The icon is decoration; the row stays.
    }
}

void TfrmJunk::tsDirectoryFound(scan::TTreeScanner& sender) {
    m_scanningFolder = sender.FileFound();
    m_folderPending = true;
    ShowScanningFolder(GetTickCount64());
}

void TfrmJunk::ShowScanningFolder(ULONGLONG now) {
    if (!m_folderPending || now - m_lastStatus < kStatusIntervalMs) return;
    m_lastStatus = now;
    m_folderPending = false;
    StatusBar1.setPanelText(1, ScanningText(m_scanningFolder));
}

void TfrmJunk::tsSearchDone(scan::TTreeScanner& sender) {
    // The totals count every file this walk reported, so they wait for the last answer; the
    // next walk need not.
    Candidate end;
    end.path = sender.InitialDirectory;
    end.walkEnd = true;
    end.zeroWalk = &sender == &tsZero;
    m_checker.Submit(std::move(end));
    TakeChecked(false);
}

void TfrmJunk::WalkEnded(const std::string& initialDirectory, bool zeroWalk) {
    m_folderPending = false; // the totals take the panel
    StatusBar1.setPanelText(1, ScanCompleteText(NumBytes(), lv.rowCount()));
    if (NumBytes() != 0) Log(ScannedLine(initialDirectory, zeroWalk));
}

// ---- the removal ----

void TfrmJunk::cmdDeleteClick() {
    if (lv.selectedCount() == 0) return;
    if (SelectedMethod() == RemovalMethod::Move && !RemovalFolderValid()) {
        // A folder that vanished since it was chosen: nothing is moved anywhere else.
        if (!Unattended) RefuseRemovalFolder();
        return;
    }
    if (!Unattended && cbConfirm.checked()) {
        if (platform::ShowMessage(kRemoveFilesQuestion, "Please confirm", platform::MsgButtons::YesNo,
                                  platform::MsgIcon::Warning, hwnd()) != platform::MsgResult::Yes)
            return;
    }

    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    // Nothing that could change the list or the options runs while files are removed.
    auto setBusy = [this](bool busy) {
        lv.setEnabled(!busy);
        tbResults.setEnabled(!busy);
        cmdGo.setEnabled(!busy);
        cmdExit.setEnabled(!busy);
        pcJunk.setEnabled(!busy);
        for (int i = 0; i < pcJunk.pageCount(); ++i)
            pcJunk.page(i).setEnabled(!busy);
    };
    const std::vector<int> rows = lv.selectedRows();
    const int firstDeleted = rows.front();
    setBusy(true);
    platform::ScopeExit finish([&] {
        FreezeList(false);
        setBusy(false);
        SetCursor(previous);
        StatusBar1.setPanelText(1, RecoveredText(RemovedBytes, RemovedFiles));
    });

    for (int row : rows) {
        const std::string path = lv.text(row);
        if (!platform::PathExists(path)) continue; // gone since the scan: nothing to remove or count
        if (app::FileInUse(path)) {
            Log(InUseLine(path));
            if (!Unattended && DoJunk) app::ShowHint("JunkInUse", InUseHintText(path));
            continue;
        }
        Perform_Delete(path);
    }
    FreezeList(true);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        RemoveRowAt(*it);
        platform::ProcessMessages();
    }
    FreezeList(false);

    finish.dismiss();
    setBusy(false);
    SetCursor(previous);
    StatusBar1.setPanelText(1, RecoveredText(RemovedBytes, RemovedFiles));
    if (lv.rowCount() > 0) {
        const int next = firstDeleted < lv.rowCount() ? firstDeleted : 0;
        lv.setSelected(next, true);
        lv.setFocused(next);
    }
    UpdateCommands();
}

void TfrmJunk::RemoveRowAt(int row) {
    m_index.remove(platform::UpperCase(lv.text(row)));
    lv.deleteRow(row);
}

bool TfrmJunk::Perform_Delete(const std::string& path) {
    platform::ProcessMessages();
    const auto size = platform::FileSize(path);
    const RemovalMethod method = SelectedMethod();
    const std::string moveTo = deMove.text();
    scan::TShellFileOp& op = ShellFileOp1();
    op.AddFile(path);
    bool aborted = false;
    switch (method) {
    case RemovalMethod::Recycle:
        aborted = op.Recycle();
        break;
    case RemovalMethod::Delete:
        aborted = op.Delete();
        break;
    case RemovalMethod::Move:
        aborted = op.Move(Trimmed(moveTo));
        break;
    }
    // The shell's own result is not to be trusted (Wine never reports an abort): a file that is
    // still in its place was not removed, and is neither counted nor logged as removed.
    if (platform::PathExists(path)) {
        Log("  Unable to remove \"" + path + "\".");
        return aborted;
    }
    ++RemovedFiles;
    RemovedBytes += size ? static_cast<int64_t>(*size) : 0;
    Log(RemovalLine(method, path, moveTo));
    return aborted;
}

void TfrmJunk::RemoveAllClick() {
    if (lv.rowCount() == 0) return;
    lv.selectAll();
    UpdateCommands();
    cmdDeleteClick();
}

void TfrmJunk::SelectAllClick() {
    lv.selectAll();
    UpdateCommands();
}

void TfrmJunk::QuickViewClick() {
    if (lv.selectedCount() != 1) return;
    const std::string path = lv.text(lv.selectedIndex());
    const std::string system = platform::SystemDirectory();
    const std::string viewer = QuickViewerPath(system);
    bool started = false;
    if (!system.empty() && platform::FileExists(viewer))
        started = platform::ShellOpen({"open", viewer, "\"" + path + "\"", "", SW_SHOWNORMAL});
    else
        started = platform::ShellOpen({"open", path, "", "", SW_SHOWNORMAL});
    m_quickViewFailed = !started;
    UpdateCommands();
}

void TfrmJunk::PropertiesClick() {
    if (lv.selectedCount() != 1) return;
    scan::ShowFileProperties(lv.text(lv.selectedIndex()), hwnd());
}

void TfrmJunk::lvDblClick(int) {
    const int row = lv.selectedIndex();
    if (row < 0) return;
    const std::string path = lv.text(row);
    if (platform::FileExists(path)) {
        scan::ShowFileProperties(path, hwnd());
        return;
    }
    RemoveRowAt(row);
    UpdateCommands();
}

void ShowJunkCleaner(HWND owner) {
    TfrmJunk frmJunk;
    frmJunk.showModal(owner);
}

} // namespace tools::junk
