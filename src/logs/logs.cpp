#include "logs/logs.h"

#include <windows.h>

#include "app/paths.h"
#include "app/pure/format.h"
#include "app/settings.h"
#include "logs/pure/log_lines.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/strings.h"

namespace logs {

namespace {
[[noreturn]] void ThrowForFile(const char* call, const std::string& path, DWORD code) {
    throw platform::Win32Error(std::string(call) + " \"" + path + "\"", code);
}

void WriteLines(std::string_view fileName, const std::vector<std::string>& lines) {
    for (const auto& l : lines)
        WriteLog(fileName, l);
}

bool IsJunkLog(std::string_view fileName) {
    return platform::SameText(fileName, kJunkLog);
}
} // namespace

std::string LogPath(std::string_view fileName) {
    return app::DataFolder() + std::string(fileName);
}

void WriteLog(std::string_view fileName, std::string_view line) {
    const std::string path = LogPath(fileName);
    // FILE_APPEND_DATA alone makes every write land at the current end of the file, so an
    // interactive window and an unattended run appending to the same log never overwrite each other.
    platform::UniqueFile file(CreateFileW(platform::Widen(path).c_str(), FILE_APPEND_DATA,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowForFile("CreateFile", path, GetLastError());
    const std::string bytes = platform::ToAnsi(line) + "\r\n";
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        ThrowForFile("WriteFile", path, GetLastError());
    if (written != bytes.size()) ThrowForFile("WriteFile", path, ERROR_DISK_FULL);
    if (!CloseHandle(file.release())) ThrowForFile("CloseHandle", path, GetLastError());
}

std::string DateStamp() {
    return textfmt::DateTimeToStr(platform::Now());
}

void WriteOpeningBlock(std::string_view fileName, std::string_view header) {
    WriteLines(fileName, OpeningBlock(header, DateStamp()));
}

void WriteClosingBlock(std::string_view fileName, std::string_view header, const std::vector<std::string>& lines) {
    WriteLines(fileName, ClosingBlock(header, DateStamp(), lines));
}

void WriteOperationStartBlock(std::string_view fileName) {
    WriteLines(fileName, OperationStartBlock(DateStamp(), IsJunkLog(fileName)));
}

void WriteOperationEndBlock(std::string_view fileName, const std::vector<std::string>& lines) {
    WriteLines(fileName, OperationEndBlock(DateStamp(), lines, IsJunkLog(fileName)));
}

bool InteractiveLogOn(std::string_view switchName) {
    return app::ReadRegBool(kLogsKey, switchName);
}

int32_t AddToCounter(std::string_view counterName, int64_t amount) {
    return app::AddToCounter(kLogsKey, counterName, amount);
}

int32_t ReadCounter(std::string_view counterName) {
    return app::ReadRegInt(kLogsKey, counterName);
}

SessionLog::SessionLog(std::string fileName, bool enabled) : m_fileName(std::move(fileName)), m_enabled(enabled) {}

SessionLog SessionLog::Interactive(std::string fileName, std::string_view switchName) {
    return SessionLog(std::move(fileName), InteractiveLogOn(switchName));
}

void SessionLog::line(std::string_view text) const {
    if (m_enabled) WriteLog(m_fileName, text);
}

void SessionLog::detail(std::string_view text) const {
    if (m_enabled) WriteLog(m_fileName, DetailLine(text));
}

void SessionLog::opening(std::string_view header) const {
    if (m_enabled) WriteOpeningBlock(m_fileName, header);
}

void SessionLog::closing(std::string_view header, const std::vector<std::string>& lines) const {
    if (m_enabled) WriteClosingBlock(m_fileName, header, lines);
}

void SessionLog::operationStart() const {
    if (m_enabled) WriteOperationStartBlock(m_fileName);
}

void SessionLog::operationEnd(const std::vector<std::string>& lines) const {
    if (m_enabled) WriteOperationEndBlock(m_fileName, lines);
}

} // namespace logs
