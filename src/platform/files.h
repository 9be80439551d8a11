#pragma once
// Files, folders and drives over kernel32, with 64-bit sizes and UTF-8 paths.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FindData {
    std::string name;
    std::string shortName; // the 8.3 alias; empty when the name is already short
    DWORD attributes = 0;
    uint64_t size = 0;
    FILETIME creationTime{};
    FILETIME lastAccessTime{};
    FILETIME lastWriteTime{};
    bool isDirectory() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool isReparsePoint() const noexcept { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// One FindFirstFile/FindNextFile pass over a pattern ("C:\dir\*.*"), "." and ".." included as the
// platform returns them. The caller decides what to skip.
std::vector<FindData> FindAll(std::string_view pattern);
// Every entry of a folder except "." and ".." (folder with or without trailing backslash).
std::vector<FindData> ListFolder(std::string_view folder);

std::optional<DWORD> GetAttributes(std::string_view path);
bool SetAttributes(std::string_view path, DWORD attributes);
bool PathExists(std::string_view path);
bool FileExists(std::string_view path);   // exists and is not a folder
bool FolderExists(std::string_view path); // exists and is a folder
std::optional<uint64_t> FileSize(std::string_view path);

bool CreateFolder(std::string_view path);
// Creates every missing folder of the path.
bool ForceFolders(std::string_view path);
bool DeleteFileAt(std::string_view path);
bool RemoveFolder(std::string_view path);
bool MoveFileTo(std::string_view from, std::string_view to);
bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists);

// Whole-file helpers for small text files (bytes as stored; no conversion).
std::optional<std::string> ReadFileBytes(std::string_view path);
bool WriteFileBytes(std::string_view path, std::string_view bytes);
bool AppendFileBytes(std::string_view path, std::string_view bytes);

UINT DriveType(std::string_view root);
struct DiskSpace {
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
};
std::optional<DiskSpace> DiskFree(std::string_view root);

std::string TempPath();         // GetTempPath, trailing backslash; empty on failure
std::string WindowsDirectory(); // GetWindowsDirectory, no trailing backslash; empty on failure
std::string SystemDirectory();
std::string ExpandEnvironment(std::string_view text); // empty when the call fails
std::optional<std::string> ShortPathName(std::string_view path);
std::optional<std::string> LongPathName(std::string_view path);
std::string FullPathName(std::string_view path);
std::string EnvironmentVariable(std::string_view name);
// A folder of the shell by CSIDL (CSIDL_APPDATA …), no trailing backslash; empty when unknown.
std::string SpecialFolder(int csidl);

// The running executable's path and its folder with a trailing backslash.
std::string ExecutablePath();
std::string ExecutableFolder();

// Path pieces (backslash paths).
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);
std::string ExtractFilePath(std::string_view path); // up to and including the last backslash or colon
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path); // with the dot; empty when none

// FILETIME <-> the program's date-time (days since 1899-12-30, fraction = time of day).
double FileTimeToDateTime(const FILETIME& ft);
FILETIME DateTimeToFileTime(double dateTime);
double FileTimeToLocalDateTime(const FILETIME& utc);
double Now();

} // namespace platform
