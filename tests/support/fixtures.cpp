#include "support/fixtures.h"

#include <atomic>

#include "platform/files.h"
#include "platform/registry.h"

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

} // namespace testsupport
