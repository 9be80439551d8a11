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
// %NAME% references expanded; the text unchanged when the expansion fails. Long results are
// returned whole.
std::string ExpandEnvVars(std::string_view text);
// The short (8.3) form of an existing path. When the system cannot give one (the path does not
// exist) the path is returned unchanged, so that callers still have a usable name to show or test.
std::string ShortPath(std::string_view path);
// Free bytes over the fixed drives C: to Y: (Z: is never counted); a fixed drive that cannot be
// queried counts -1. 64-bit: a 32-bit total overflows on any modern disk.
int64_t FixedDrivesFree();

// Files and folders.
// True when the file cannot be opened for writing without sharing: open elsewhere, read-only,
// missing or not accessible.
bool FileInUse(std::string_view path);
// True when the folder holds nothing but "." and ".." (or cannot be listed). A missing trailing
// backslash is supplied.
bool FolderIsEmpty(std::string_view folder);
// The last-access time as a local date-time, or 0 when it cannot be read. The access time it read
// is written back, so that looking does not count as an access. Works on read-only files too.
double GetLastAccess(std::string_view file);
// Deletes everything inside the folder through the shell (to the recycle bin when asked); the
// folder itself stays. False when the folder does not exist, when the shell reports a failure, or
// when the pattern folder + "\*.*" is longer than 126 characters (the shell's pattern buffer holds
// 128 with its two closing zeros): such a folder is refused rather than cut to another path.
bool DeleteFolderContents(std::string_view folder, bool toRecycleBin);

// Shortcuts through the shell's link object; any failing step raises platform::Win32Error.
// ReadShortcut gives the target in its short (8.3) form.
ShortcutInfo ReadShortcut(std::string_view linkFile);
// Rewrites an existing shortcut with every field of info; a failed save raises too.
void WriteShortcut(std::string_view linkFile, const ShortcutInfo& info);

// Validation: false (after one message) when the name holds any of \ / : * ? " < > |.
bool ValidChars(std::string_view name, std::string_view messagePrefix);

// Access rights: true on Windows 95/98; on NT when the token holds the Administrators group.
bool IsAdmin();
void ShowRegistryError();

// List views.
void CheckAllItems(bool state, platform::ListView& list);
// Removes the selected row and selects the one before it (the first when it was the first).
void DeleteSelectedItem(platform::ListView& list);
// Ordinal, case-sensitive: column 0 is the caption, column n the n-th sub-column. -1, 0 or 1;
// 0 for a column the list does not have.
int CompareColumn(const platform::ListView& list, int rowA, int rowB, int column);
// Checked folder lists: K holds one flag per row, K\Desc one description per row (HKCU key paths).
// The rows show the system's small folder icon (caption ending in a backslash) or file icon.
void SaveFolderList(platform::ListView& list, std::string_view key);
// A missing key keeps the predefined rows and checks them all.
void LoadFolderList(platform::ListView& list, std::string_view key);
// Adds a row (or, in edit mode, changes the selected row; with no row selected it adds one) and
// asks for its description.
void AddFolderItem(platform::ListView& list, std::string path, bool checked, bool edit);
// Asks for a folder (starting at the selected row's folder in edit mode) and adds it checked.
void BrowseFolder(platform::ListView& list, bool edit);

} // namespace app
