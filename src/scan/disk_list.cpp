#include "scan/disk_list.h"

#include <shellapi.h>

#include "platform/registry.h"
#include "platform/strings.h"
#include "scan/pure/scan_rules.h"

namespace scan {

namespace {
void ChangeStyle(HWND h, LONG_PTR add, LONG_PTR remove) {
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    SetWindowLongPtrW(h, GWL_STYLE, (style | add) & ~remove);
}

// The callers find a drive by the letter and colon in parentheses; a shell that names drives
// otherwise (drive letters switched off in Explorer) gets them added.
std::string DriveCaption(std::string name, char letter) {
    std::string root = std::string(1, letter) + ":\\";
    if (DriveLetterOfCaption(name) == letter && platform::SameText(DriveRootOfCaption(name), root)) return name;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name + " (" + std::string(1, letter) + ":)";
}
} // namespace

void TDiskListView::afterCreate() {
    ListView::afterCreate();
    // Report style, read-only captions, several rows selectable, selection kept visible, headers
    // shown but not clickable, no sorting.
    ChangeStyle(m_hwnd, LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                LVS_EDITLABELS | LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER |
                    LVS_SHAREIMAGELISTS);
    if (HWND header = ListView_GetHeader(m_hwnd)) ChangeStyle(header, 0, HDS_BUTTONS);
    m_images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 8);
    ListView_SetImageList(m_hwnd, m_images, LVSIL_SMALL);
    if (Columns.empty()) Columns.push_back({"Select drives", 0});
    for (const auto& c : Columns)
        addColumn(c.caption, c.width > 0 ? c.width : 120);
    m_sizeToContents = Columns[0].width <= 0;
}

void TDiskListView::FillDrives() {
    beginUpdate();
    ImageList_RemoveAll(m_images);
    clear();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        std::wstring wroot = platform::Widen(root);
        UINT type = GetDriveTypeW(wroot.c_str());
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) continue;
        SHFILEINFOW info{};
        if (!SHGetFileInfoW(wroot.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON))
            continue;
        int image = info.hIcon ? ImageList_AddIcon(m_images, info.hIcon) : -1;
        if (info.hIcon) DestroyIcon(info.hIcon);
        int row = addRow(DriveCaption(platform::Narrow(info.szDisplayName), letter), {}, image);
        if (type == DRIVE_FIXED && SelectLocalDrives) setSelected(row, true);
    }
    endUpdate();
    if (m_sizeToContents) ListView_SetColumnWidth(m_hwnd, 0, LVSCW_AUTOSIZE_USEHEADER);
}

std::string TDiskListView::GetSelectedDrives() const {
    std::string letters;
    for (int row = 0; row < rowCount(); ++row)
        if (selected(row))
            if (auto letter = DriveLetterOfCaption(text(row))) letters.push_back(*letter);
    return letters;
}

void CheckFixedDrives(std::string_view key, std::string_view subkey, TDiskListView& list) {
    platform::RegKey settings = platform::RegKey::Create(HKEY_CURRENT_USER, key);
    if (platform::RegKey::Open(settings.get(), subkey)) return; // options were stored before
    for (int row = 0; row < list.rowCount(); ++row) {
        std::string root = DriveRootOfCaption(list.text(row));
        if (!root.empty() && GetDriveTypeW(platform::Widen(root).c_str()) == DRIVE_FIXED) list.setChecked(row, true);
    }
}

} // namespace scan
