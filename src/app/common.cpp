#include "app/common.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/strings.h"

namespace app {

using platform::Narrow;
using platform::Widen;

// ---- folders and paths ----

std::string GetTempDir() {
    DWORD n = GetTempPathW(0, nullptr);
    if (n < 1) return "c:\\windows\\temp\\";
    std::wstring buf(n, L'\0');
    n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
    if (n < 1 || n >= buf.size()) return "c:\\windows\\temp\\";
    return Narrow(std::wstring_view(buf.data(), n));
}

std::string GetWinDir() {
    UINT n = GetWindowsDirectoryW(nullptr, 0);
    if (n < 1) return "c:\\windows";
    std::wstring buf(n, L'\0');
    n = GetWindowsDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
    if (n < 1 || n >= buf.size()) return "c:\\windows";
    return Narrow(std::wstring_view(buf.data(), n));
}

std::string GetStartUpDir() {
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    if (!key) return {};
    return key->readString("StartUp").value_or(std::string());
}

std::string ExpandEnvVars(std::string_view text) {
    std::wstring in = Widen(text);
    DWORD n = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
    if (n == 0) return std::string(text);
    std::wstring buf(n, L'\0');
    // The variables may change between the two calls; retry with the size the second one asks for.
    for (;;) {
        DWORD got = ExpandEnvironmentStringsW(in.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
        if (got == 0) return std::string(text);
        if (got <= buf.size()) return Narrow(std::wstring_view(buf.data(), got - 1));
        buf.assign(got, L'\0');
    }
}

std::string ShortPath(std::string_view path) {
    return platform::ShortPathName(path).value_or(std::string(path));
}

int64_t FixedDrivesFree() {
    int64_t total = 0;
    for (char letter = 'C'; letter <= 'Y'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (platform::DriveType(root) != DRIVE_FIXED) continue;
        auto space = platform::DiskFree(root);
        total += space ? static_cast<int64_t>(space->freeBytes) : -1;
    }
    return total;
}

// ---- files and folders ----

bool FileInUse(std::string_view path) {
    // Windows refuses write access to a read-only file, but Wine run by root grants it; asking
    // for the attribute first gives the same answer everywhere.
    auto attributes = platform::GetAttributes(path);
    if (attributes && (*attributes & FILE_ATTRIBUTE_READONLY)) return true;
    platform::UniqueFile f(
        CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !f;
}

bool FolderIsEmpty(std::string_view folder) {
    // Judged by name: a drive root has no "." entry, so the first entry cannot simply be skipped.
    WIN32_FIND_DATAW fd;
    platform::UniqueFindHandle h(
        FindFirstFileW(Widen(platform::IncludeTrailingBackslash(folder) + "*.*").c_str(), &fd));
    if (!h) return true;
    do {
        const bool dot =
            fd.cFileName[0] == L'.' && (fd.cFileName[1] == 0 || (fd.cFileName[1] == L'.' && fd.cFileName[2] == 0));
        if (!dot) return false;
    } while (FindNextFileW(h.get(), &fd));
    return true;
}

double GetLastAccess(std::string_view file) {
    // Attribute access is enough to read and write the times, and unlike read/write access it
    // also opens read-only files and files that another program holds open with sharing.
    platform::UniqueFile f(CreateFileW(Widen(file).c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!f) return 0;
    FILETIME access{};
    if (!GetFileTime(f.get(), nullptr, &access, nullptr)) return 0;
    const double result = platform::FileTimeToLocalDateTime(access);
    // Put back what was read, so that this look-up leaves no trace; a failure here changes nothing
    // the caller sees.
    SetFileTime(f.get(), nullptr, &access, nullptr);
    return result;
}

namespace {
constexpr size_t kPatternBuffer = 128; // characters, with the two closing zeros
} // namespace

bool DeleteFolderContents(std::string_view folder, bool toRecycleBin) {
    if (folder.empty() || !platform::FolderExists(folder)) return false;
    const std::string pattern = platform::ExcludeTrailingBackslash(folder) + "\\*.*";
    if (Widen(pattern).size() + 2 > kPatternBuffer) return false;
    platform::FileOperation op;
    op.func = FO_DELETE;
    op.from = {pattern};
    op.flags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_RENAMEONCOLLISION;
    if (toRecycleBin) op.flags |= FOF_ALLOWUNDO;
    return platform::ShellFileOperation(op).code == 0;
}

// ---- shortcuts ----

ShortcutInfo ReadShortcut(std::string_view linkFile) {
    platform::ShellLink link;
    link.load(linkFile, STGM_READ);
    link.resolve(nullptr, SLR_NO_UI | SLR_ANY_MATCH);
    ShortcutInfo info;
    info.Path = link.path(SLGP_SHORTPATH);
    info.Arguments = link.arguments();
    info.Description = link.description();
    info.WorkingDirectory = link.workingDirectory();
    auto [iconFile, iconIndex] = link.iconLocation();
    info.IconLocation = std::move(iconFile);
    info.IconIndex = iconIndex;
    info.ShowCmd = link.showCmd();
    info.HotKey = link.hotKey();
    return info;
}

void WriteShortcut(std::string_view linkFile, const ShortcutInfo& info) {
    platform::ShellLink link;
    link.load(linkFile, STGM_SHARE_DENY_WRITE);
    link.resolve(nullptr, SLR_NO_UI | SLR_ANY_MATCH | SLR_UPDATE);
    link.setPath(info.Path);
    link.setArguments(info.Arguments);
    link.setDescription(info.Description);
    link.setWorkingDirectory(info.WorkingDirectory);
    link.setIconLocation(info.IconLocation, info.IconIndex);
    link.setShowCmd(info.ShowCmd);
    link.setHotKey(info.HotKey);
    link.save(linkFile, true);
}

// ---- validation ----

bool ValidChars(std::string_view name, std::string_view messagePrefix) {
    static constexpr std::string_view kInvalid = "\\/:*?\"<>|";
    if (name.find_first_of(kInvalid) == std::string_view::npos) return true;
    std::string text = std::string(messagePrefix) + ":";
    for (char c : kInvalid) {
        text += ' ';
        text += c;
    }
    platform::ShowMessage(text);
    return false;
}

// ---- access rights ----

bool IsAdmin() {
    const platform::OsFacts os = platform::CurrentOs();
    if (os.platform != platform::OsPlatform::NT) return true;
    return os.tokenIsAdmin;
}

void ShowRegistryError() {
    platform::ShowMessage(
        "Vantrel was unable to access the System Registry.\r\n\r\nIf you are running under Windows NT "
        "you must be logged in as an \"Administrator\" in order to access this function.");
}

} // namespace app
