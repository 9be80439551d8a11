#pragma once
// Shell services: file operations, starting documents and programs, shell links, file info.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"

namespace platform {

struct FileOperation {
    UINT func = FO_DELETE; // FO_DELETE, FO_MOVE, FO_COPY, FO_RENAME
    std::vector<std::string> from;
    std::vector<std::string> to; // one target folder, or one per source with FOF_MULTIDESTFILES
    FILEOP_FLAGS flags = 0;
    HWND owner = nullptr;
    std::string progressTitle;
};
struct FileOperationResult {
    int code = 0;         // SHFileOperation's return value
    bool aborted = false; // fAnyOperationsAborted
};
// Builds the double-zero-terminated lists and runs SHFileOperationW.
FileOperationResult ShellFileOperation(const FileOperation& op);

// Outside programs and documents the program opens (web pages, text editor, help pages, regedit).
// Tests replace the launcher to see what would be started without starting it.
struct ShellRequest {
    std::string verb; // "open", "OPEN", or empty for the default
    std::string file;
    std::string parameters;
    std::string directory;
    int show = SW_SHOWNORMAL;
};
using ShellLauncher = std::function<bool(const ShellRequest&)>;
// Runs through the current launcher (ShellExecuteW unless replaced); true when it started.
bool ShellOpen(const ShellRequest& request);
// Replaces the launcher; an empty function restores ShellExecuteW. Returns the previous one.
ShellLauncher SetShellLauncher(ShellLauncher launcher);

// The shell's link object (CLSID_ShellLink) with IShellLinkW and IPersistFile. Each call that
// fails throws Win32Error naming the interface method.
class ShellLink {
public:
    ShellLink(); // CoCreateInstance; COM must be initialised on the thread
    void load(std::string_view linkFile, DWORD mode);
    void save(std::string_view linkFile, bool remember);
    void resolve(HWND owner, DWORD flags);
    std::string path(DWORD flags) const;
    std::string arguments() const;
    std::string description() const;
    std::string workingDirectory() const;
    std::pair<std::string, int> iconLocation() const;
    int showCmd() const;
    uint16_t hotKey() const;
    void setPath(std::string_view v);
    void setArguments(std::string_view v);
    void setDescription(std::string_view v);
    void setWorkingDirectory(std::string_view v);
    void setIconLocation(std::string_view file, int index);
    void setShowCmd(int v);
    void setHotKey(uint16_t v);

private:
    ComPtr<IShellLinkW> m_link;
    ComPtr<IPersistFile> m_file;
};

struct ShellFileInfoResult {
    std::string typeName;
    std::string displayName;
    int iconIndex = -1;
};
std::optional<ShellFileInfoResult> GetShellFileInfo(std::string_view path, DWORD attributes, bool useAttributes);
// The system image list of small (16-pixel) icons.
HIMAGELIST SystemSmallImageList();

} // namespace platform
