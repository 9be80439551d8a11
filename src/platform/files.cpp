#include "platform/files.h"

#include <shlobj.h>

#include "platform/handles.h"
#include "platform/strings.h"

namespace platform {

namespace {
FindData FromWin32(const WIN32_FIND_DATAW& w) {
    FindData d;
    d.name = Narrow(w.cFileName);
    d.shortName = Narrow(w.cAlternateFileName);
    d.attributes = w.dwFileAttributes;
    d.size = (static_cast<uint64_t>(w.nFileSizeHigh) << 32) | w.nFileSizeLow;
    d.creationTime = w.ftCreationTime;
    d.lastAccessTime = w.ftLastAccessTime;
    d.lastWriteTime = w.ftLastWriteTime;
    return d;
}

std::string FromBuffer(const std::wstring& buf, DWORD n) {
    return Narrow(std::wstring_view(buf.data(), n));
}

constexpr double kFileTimeTicksPerDay = 864000000000.0;
// 1601-01-01 to 1899-12-30 in days.
constexpr double kEpochOffsetDays = 109205.0;
} // namespace

std::vector<FindData> FindAll(std::string_view pattern) {
    std::vector<FindData> out;
    WIN32_FIND_DATAW w;
    UniqueFindHandle h(FindFirstFileW(Widen(pattern).c_str(), &w));
    if (!h) return out;
    do {
        out.push_back(FromWin32(w));
    } while (FindNextFileW(h.get(), &w));
    return out;
}

std::vector<FindData> ListFolder(std::string_view folder) {
    std::vector<FindData> out;
    WIN32_FIND_DATAW w;
    // FindExInfoBasic would skip the 8.3 alias; the mask rules need it.
    UniqueFindHandle h(FindFirstFileExW(Widen(IncludeTrailingBackslash(folder) + "*").c_str(), FindExInfoStandard, &w,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!h) return out;
    do {
        if (w.cFileName[0] == L'.' && (w.cFileName[1] == 0 || (w.cFileName[1] == L'.' && w.cFileName[2] == 0)))
            continue;
        out.push_back(FromWin32(w));
    } while (FindNextFileW(h.get(), &w));
    return out;
}

std::optional<DWORD> GetAttributes(std::string_view path) {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return a;
}

bool SetAttributes(std::string_view path, DWORD attributes) {
    return SetFileAttributesW(Widen(path).c_str(), attributes) != 0;
}

bool PathExists(std::string_view path) {
    return GetAttributes(path).has_value();
}
bool FileExists(std::string_view path) {
    auto a = GetAttributes(path);
    return a && !(*a & FILE_ATTRIBUTE_DIRECTORY);
}
bool FolderExists(std::string_view path) {
    auto a = GetAttributes(path);
    return a && (*a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<uint64_t> FileSize(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
    return (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool CreateFolder(std::string_view path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

bool ForceFolders(std::string_view path) {
    std::string p = ExcludeTrailingBackslash(path);
    if (p.empty() || FolderExists(p)) return true;
    std::string parent = ExcludeTrailingBackslash(ExtractFilePath(p));
    if (!parent.empty() && parent != p && !ForceFolders(parent)) return false;
    return CreateFolder(p) || FolderExists(p);
}

bool DeleteFileAt(std::string_view path) {
    return DeleteFileW(Widen(path).c_str()) != 0;
}
bool RemoveFolder(std::string_view path) {
    return RemoveDirectoryW(Widen(path).c_str()) != 0;
}
bool MoveFileTo(std::string_view from, std::string_view to) {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_COPY_ALLOWED) != 0;
}
bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
    return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), failIfExists) != 0;
}

std::optional<std::string> ReadFileBytes(std::string_view path) {
    UniqueFile f(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(f.get(), &size)) return std::nullopt;
    std::string out(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
        if (!ReadFile(f.get(), out.data() + done, want, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        done += got;
    }
    out.resize(done);
    return out;
}

namespace {
bool WriteAll(HANDLE h, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(h, bytes.data() + done, want, &put, nullptr)) return false;
        done += put;
    }
    return true;
}
} // namespace

bool WriteFileBytes(std::string_view path, std::string_view bytes) {
    UniqueFile f(
        CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    return WriteAll(f.get(), bytes);
}

bool AppendFileBytes(std::string_view path, std::string_view bytes) {
    UniqueFile f(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    return WriteAll(f.get(), bytes);
}

UINT DriveType(std::string_view root) {
    return GetDriveTypeW(Widen(root).c_str());
}

std::optional<DiskSpace> DiskFree(std::string_view root) {
    ULARGE_INTEGER avail, total, freeAll;
    if (!GetDiskFreeSpaceExW(Widen(root).c_str(), &avail, &total, &freeAll)) return std::nullopt;
    return DiskSpace{freeAll.QuadPart, total.QuadPart};
}

std::string TempPath() {
    std::wstring buf(MAX_PATH + 1, L'\0');
    DWORD n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
    if (n == 0 || n > buf.size()) return {};
    return FromBuffer(buf, n);
}

std::string WindowsDirectory() {
    std::wstring buf(MAX_PATH + 1, L'\0');
    UINT n = GetWindowsDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
    if (n == 0 || n > buf.size()) return {};
    return FromBuffer(buf, n);
}

std::string SystemDirectory() {
    std::wstring buf(MAX_PATH + 1, L'\0');
    UINT n = GetSystemDirectoryW(buf.data(), static_cast<UINT>(buf.size()));
    if (n == 0 || n > buf.size()) return {};
    return FromBuffer(buf, n);
}

std::string ExpandEnvironment(std::string_view text) {
    std::wstring in = Widen(text);
    DWORD n = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring buf(n, L'\0');
    n = ExpandEnvironmentStringsW(in.c_str(), buf.data(), n);
    if (n == 0) return {};
    return FromBuffer(buf, n - 1);
}

std::optional<std::string> ShortPathName(std::string_view path) {
    std::wstring in = Widen(path);
    DWORD n = GetShortPathNameW(in.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring buf(n, L'\0');
    n = GetShortPathNameW(in.c_str(), buf.data(), n);
    if (n == 0) return std::nullopt;
    return FromBuffer(buf, n);
}

std::optional<std::string> LongPathName(std::string_view path) {
    std::wstring in = Widen(path);
    DWORD n = GetLongPathNameW(in.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring buf(n, L'\0');
    n = GetLongPathNameW(in.c_str(), buf.data(), n);
    if (n == 0) return std::nullopt;
    return FromBuffer(buf, n);
}

std::string FullPathName(std::string_view path) {
    std::wstring in = Widen(path);
    DWORD n = GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::string(path);
    std::wstring buf(n, L'\0');
    n = GetFullPathNameW(in.c_str(), n, buf.data(), nullptr);
    return FromBuffer(buf, n);
}

std::string EnvironmentVariable(std::string_view name) {
    std::wstring wname = Widen(name);
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring buf(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), buf.data(), n);
    return FromBuffer(buf, n);
}

std::string SpecialFolder(int csidl) {
    wchar_t buf[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) return {};
    return ExcludeTrailingBackslash(Narrow(buf));
}

std::string ExecutablePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) return FromBuffer(buf, n);
        buf.resize(buf.size() * 2);
    }
}

std::string ExecutableFolder() {
    return ExtractFilePath(ExecutablePath());
}

std::string IncludeTrailingBackslash(std::string_view path) {
    std::string p(path);
    if (p.empty() || p.back() != '\\') p += '\\';
    return p;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
    std::string p(path);
    if (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

std::string ExtractFilePath(std::string_view path) {
    size_t pos = path.find_last_of("\\:");
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string ExtractFileName(std::string_view path) {
    size_t pos = path.find_last_of("\\:");
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string ExtractFileExt(std::string_view path) {
    size_t pos = path.find_last_of(".\\:");
    if (pos == std::string_view::npos || path[pos] != '.') return {};
    return std::string(path.substr(pos));
}

double FileTimeToDateTime(const FILETIME& ft) {
    uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<double>(ticks) / kFileTimeTicksPerDay - kEpochOffsetDays;
}

FILETIME DateTimeToFileTime(double dateTime) {
    double ticks = (dateTime + kEpochOffsetDays) * kFileTimeTicksPerDay;
    uint64_t t = ticks <= 0 ? 0 : static_cast<uint64_t>(ticks + 0.5);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(t);
    ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return ft;
}

double FileTimeToLocalDateTime(const FILETIME& utc) {
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utc, &local)) return 0;
    return FileTimeToDateTime(local);
}

double Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return FileTimeToDateTime(ft);
}

} // namespace platform
