#include "support/fixtures.h"

#include <atomic>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/strings.h"

namespace testsupport {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::string base = platform::TempPath();
    for (;;) {
        m_path = base + "vt" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + "\\";
        if (platform::CreateFolder(m_path)) break;
    }
}

TempDir::~TempDir() {
    RemoveTree(m_path);
}

std::string TempDir::write(std::string_view relative, std::string_view bytes) const {
    std::string full = m_path + std::string(relative);
    platform::ForceFolders(platform::ExtractFilePath(full));
    platform::WriteFileBytes(full, bytes);
    return full;
}

std::string TempDir::mkdir(std::string_view relative) const {
    std::string full = platform::IncludeTrailingBackslash(m_path + std::string(relative));
    platform::ForceFolders(full);
    return full;
}

void RemoveTree(const std::string& path) {
    std::string folder = platform::IncludeTrailingBackslash(path);
    for (auto& e : platform::ListFolder(folder)) {
        std::string child = folder + e.name;
        platform::SetAttributes(child, FILE_ATTRIBUTE_NORMAL | (e.attributes & FILE_ATTRIBUTE_DIRECTORY));
        if (e.isDirectory() && !e.isReparsePoint())
            RemoveTree(child);
        else if (e.isDirectory())
            platform::RemoveFolder(child);
        else
            platform::DeleteFileAt(child);
    }
    platform::RemoveFolder(platform::ExcludeTrailingBackslash(folder));
}

ShellRecorder::ShellRecorder() {
    m_previous = platform::SetShellLauncher([this](const platform::ShellRequest& r) {
        m_requests.push_back(r);
        return succeed;
    });
}

ShellRecorder::~ShellRecorder() {
    platform::SetShellLauncher(m_previous);
}

void ClearProductKey() {
    platform::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel");
}

std::string BuildFolder() {
    std::string tests = platform::ExecutableFolder();
    return platform::ExtractFilePath(platform::ExcludeTrailingBackslash(tests));
}

std::string ReadText(const std::string& path) {
    auto bytes = platform::ReadFileBytes(path);
    return bytes ? *bytes : std::string();
}

namespace {
std::string g_sheetCaption;

void CALLBACK CloseSheet(HWND, UINT, UINT_PTR id, DWORD) {
    HWND sheet = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM out) -> BOOL {
            wchar_t cls[64];
            GetClassNameW(h, cls, 64);
            if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
            *reinterpret_cast<HWND*>(out) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&sheet));
    if (!sheet) return;
    wchar_t text[256];
    GetWindowTextW(sheet, text, 256);
    g_sheetCaption = platform::Narrow(text);
    KillTimer(nullptr, id);
    PostMessageW(sheet, WM_CLOSE, 0, 0);
}
} // namespace

SheetCloser::SheetCloser() {
    g_sheetCaption.clear();
    m_timer = SetTimer(nullptr, 0, 200, CloseSheet);
}

SheetCloser::~SheetCloser() {
    KillTimer(nullptr, m_timer);
}

const std::string& SheetCloser::caption() {
    return g_sheetCaption;
}

} // namespace testsupport
