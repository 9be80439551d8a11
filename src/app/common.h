#pragma once
// Shared file, path and shell helpers used by every tool window. None keeps state between calls.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class ListView;
}

namespace app {

// The properties of one shell shortcut, in the order they are read and written.
struct ShortcutInfo {
    std::string Path;
    std::string Arguments;
    std::string Description;
    std::string WorkingDirectory;
    std::string IconLocation;
    int32_t IconIndex = 0;
    int32_t ShowCmd = 0;
    uint16_t HotKey = 0;
};

// Folders and paths.
std::string GetTempDir();    // with trailing backslash; "c:\windows\temp\" when the system gives none
std::string GetWinDir();     // no trailing backslash; "c:\windows" when the system gives none
std::string GetStartUpDir(); // HKCU ...\Explorer\Shell Folders "StartUp"; empty when missing
std::string ExpandEnvVars(std::string_view text);
std::string ShortPath(std::string_view path);
// Free bytes over the fixed drives C: to Y: (Z: is never counted).
int64_t FixedDrivesFree();

// Files and folders.
bool FileInUse(std::string_view path);
bool FolderIsEmpty(std::string_view folder); // folder ends with a backslash
double GetLastAccess(std::string_view file); // local date-time; 0 when it cannot be read
bool DeleteFolderContents(std::string_view folder, bool toRecycleBin);

// Shortcuts through the shell's link object; any failing step raises platform::Win32Error.
ShortcutInfo ReadShortcut(std::string_view linkFile);
void WriteShortcut(std::string_view linkFile, const ShortcutInfo& info);

// Validation: false (after one message) when the name holds any of \ / : * ? " < > |.
bool ValidChars(std::string_view name, std::string_view messagePrefix);

// Access rights.
bool IsAdmin();
void ShowRegistryError();

// List views.
void CheckAllItems(bool state, platform::ListView& list);
void DeleteSelectedItem(platform::ListView& list);
int CompareColumn(const platform::ListView& list, int rowA, int rowB, int column);
// Checked folder lists: K holds one flag per row, K\Desc one description per row.
void SaveFolderList(platform::ListView& list, std::string_view key);
void LoadFolderList(platform::ListView& list, std::string_view key);
void AddFolderItem(platform::ListView& list, std::string path, bool checked, bool edit);
void BrowseFolder(platform::ListView& list, bool edit);

} // namespace app
