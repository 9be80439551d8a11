// The list-view helpers and the checked folder lists kept in the registry.
#include <windows.h>

#include <commctrl.h>

#include "app/common.h"
#include "app/settings.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace app {

namespace {

constexpr int kDescriptionColumn = 1;

bool IsFolderCaption(std::string_view caption) {
    return !caption.empty() && caption.back() == '\\';
}

// The system's small folder or file icon for a row. The list must show the system image list,
// and must not destroy it with itself: the image list belongs to the shell.
int RowIcon(platform::ListView& list, std::string_view caption) {
    HIMAGELIST system = platform::SystemSmallImageList();
    if (!system) return -1;
    if (ListView_GetImageList(list.hwnd(), LVSIL_SMALL) != system) {
        LONG_PTR style = GetWindowLongPtrW(list.hwnd(), GWL_STYLE);
        SetWindowLongPtrW(list.hwnd(), GWL_STYLE, style | LVS_SHAREIMAGELISTS);
        list.setImageList(system, LVSIL_SMALL);
    }
    const bool folder = IsFolderCaption(caption);
    auto info = platform::GetShellFileInfo(folder ? "folder" : "file",
                                           folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, true);
    return info ? info->iconIndex : -1;
}

void SetRowIcon(platform::ListView& list, int row, int icon) {
    if (icon < 0) return;
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row;
    it.iImage = icon;
    SendMessageW(list.hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

std::string DescKey(std::string_view key) {
    std::string k(key);
    while (!k.empty() && k.back() == '\\')
        k.pop_back();
    return k + "\\Desc";
}

HWND OwnerOf(const platform::ListView& list) {
    return list.form() ? list.form()->hwnd() : nullptr;
}

} // namespace

void CheckAllItems(bool state, platform::ListView& list) {
    for (int i = 0; i < list.rowCount(); ++i)
        list.setChecked(i, state);
}

void DeleteSelectedItem(platform::ListView& list) {
    const int row = list.selectedIndex();
    if (row < 0) return;
    list.deleteRow(row);
    if (list.rowCount() == 0) return;
    const int next = row > 0 ? row - 1 : 0;
    list.setSelected(next, true);
    list.setFocused(next);
}

int CompareColumn(const platform::ListView& list, int rowA, int rowB, int column) {
    if (column < 0 || (column > 0 && column >= list.columnCount())) return 0;
    const int c = list.text(rowA, column).compare(list.text(rowB, column));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void SaveFolderList(platform::ListView& list, std::string_view key) {
    platform::DeleteKeyTree(HKEY_CURRENT_USER, key);
    auto flags = platform::RegKey::Create(HKEY_CURRENT_USER, key);
    for (int i = 0; i < list.rowCount(); ++i)
        flags.writeInt(list.text(i), list.checked(i) ? 1 : 0);
    const std::string descKey = DescKey(key);
    platform::DeleteKeyTree(HKEY_CURRENT_USER, descKey);
    auto descs = platform::RegKey::Create(HKEY_CURRENT_USER, descKey);
    for (int i = 0; i < list.rowCount(); ++i) {
        std::string desc = list.text(i, kDescriptionColumn);
        descs.writeString(list.text(i), desc.empty() ? " " : desc);
    }
}

void LoadFolderList(platform::ListView& list, std::string_view key) {
    auto flags = platform::RegKey::Open(HKEY_CURRENT_USER, key);
    if (!flags) {
        CheckAllItems(true, list);
        return;
    }
    // Read everything first, so that a value of the wrong type leaves the list as it was.
    struct Row {
        std::string caption;
        bool checked;
    };
    std::vector<Row> rows;
    for (const auto& name : flags->valueNames())
        rows.push_back({name, flags->readInt(name).value_or(0) != 0});
    auto descs = platform::RegKey::Create(HKEY_CURRENT_USER, DescKey(key));
    std::vector<std::string> descriptions;
    for (const auto& r : rows)
        descriptions.push_back(descs.readString(r.caption).value_or(std::string()));

    list.beginUpdate();
    list.clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        int row = list.addRow(rows[i].caption, {descriptions[i]}, RowIcon(list, rows[i].caption));
        list.setChecked(row, rows[i].checked);
    }
    list.endUpdate();
}

void AddFolderItem(platform::ListView& list, std::string path, bool checked, bool edit) {
    if (path.empty() || path.back() != '\\') path += '\\';
    const int selected = edit ? list.selectedIndex() : -1;
    if (selected >= 0) {
        list.setText(selected, 0, path);
        SetRowIcon(list, selected, RowIcon(list, path));
        const std::string current = list.text(selected, kDescriptionColumn);
        list.setText(selected, kDescriptionColumn,
                     platform::InputBox("Folder Description", "Enter a description for this excluded folder",
                                        current.empty() ? std::string_view(" ") : std::string_view(current),
                                        OwnerOf(list)));
        return;
    }
    const int row = list.addRow(path, {}, RowIcon(list, path));
    list.setChecked(row, checked);
    list.setText(row, kDescriptionColumn,
                 platform::InputBox("Folder Description", "Enter a description for this folder", " ", OwnerOf(list)));
}

void BrowseFolder(platform::ListView& list, bool edit) {
    std::string start;
    if (edit && list.selectedIndex() >= 0) start = list.text(list.selectedIndex());
    auto folder = platform::CurrentDialogs().browseFolder(OwnerOf(list), "Select a folder", start);
    if (folder && !folder->empty()) AddFolderItem(list, *folder, true, edit);
}

} // namespace app
