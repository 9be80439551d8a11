#include "tools/junk/pure/junk_rules.h"

namespace tools::junk {

std::optional<int> ParseDayCount(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool DayLimitExcludes(int days, double todayMidnight, double lastAccess) {
    // Taken literally, D > T - A would leave out every file accessed since midnight even for D = 0;
    // zero days means no limit.
    if (days <= 0 || lastAccess == 0) return false;
    return static_cast<double>(days) > todayMidnight - lastAccess;
}

std::string FolderOf(std::string_view path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(path.substr(0, slash + 1));
}

bool FolderPathContains(std::string_view fileFolderUpper, std::string_view folderUpper) {
    return !folderUpper.empty() && fileFolderUpper.find(folderUpper) != std::string_view::npos;
}

bool ResultIndex::add(const std::string& key, int64_t size) {
    if (!m_sizes.emplace(key, size).second) return false;
    m_total += size;
    return true;
}

std::optional<int64_t> ResultIndex::remove(const std::string& key) {
    auto it = m_sizes.find(key);
    if (it == m_sizes.end()) return std::nullopt;
    const int64_t size = it->second;
    m_total -= size;
    m_sizes.erase(it);
    return size;
}

void ResultIndex::clear() {
    m_sizes.clear();
    m_total = 0;
}

namespace {
std::string BytesAndMegabytes(int64_t bytes, const textfmt::FormatSettings& fs) {
    return textfmt::FormatThousands(bytes, fs) + " bytes (" + textfmt::FormatMegabytes(bytes, fs) + " megabytes)";
}
} // namespace

std::string ScanningText(std::string_view folder) {
    return "Scanning: " + std::string(folder) + "...";
}

std::string ScanCompleteText(int64_t bytes, int64_t files, const textfmt::FormatSettings& fs) {
    return "Scan Complete: " + BytesAndMegabytes(bytes, fs) + " found in " + std::to_string(files) + " files.";
}

std::string ScanSummaryLine(int64_t bytes, int64_t files, const textfmt::FormatSettings& fs) {
    return "  " + BytesAndMegabytes(bytes, fs) + " found in " + std::to_string(files) + " files.";
}

std::string RecoveredText(int64_t bytes, int64_t files, const textfmt::FormatSettings& fs) {
    return "Total space recovered: " + BytesAndMegabytes(bytes, fs) + " in " + std::to_string(files) + " files.";
}

std::string ScannedLine(std::string_view folder, bool zeroLength) {
    return "  Successfully scanned " + std::string(folder) +
           (zeroLength ? " for zero length files." : " for specified file types.");
}

std::string RemovalLine(RemovalMethod method, std::string_view path, std::string_view moveTo) {
    switch (method) {
    case RemovalMethod::Recycle:
        return "  Moving to recycle bin: " + std::string(path);
    case RemovalMethod::Delete:
        return "  Permanently deleting: " + std::string(path);
    case RemovalMethod::Move:
        break;
    }
    // The continuation is on the same line after a lone carriage return, as the log has always held it.
    return "  Relocating file: " + std::string(path) + "\r" + "     To: " + std::string(moveTo);
}

std::string InUseLine(std::string_view path) {
    return "  Unable to remove \"" + std::string(path) + "\".  This file is currently in use.";
}

std::string InUseHintText(std::string_view path) {
    return "The file: \"" + std::string(path) +
           "\" was unable to be removed at this time as it is currently in use by Windows or its associated "
           "application.";
}

int ProgressMaximum(int checkedDrives, bool tempFolder, bool zeroLength, bool hasFindFolders) {
    return checkedDrives + (tempFolder ? 1 : 0) + (zeroLength ? checkedDrives : 0) + (hasFindFolders ? 1 : 0);
}

ResultCommands ResultCommandStates(int rows, int selected, bool scanning) {
    ResultCommands c;
    c.toolbarVisible = rows > 0 && !scanning;
    const bool usable = !scanning;
    c.remove = usable && selected > 0;
    c.removeAll = usable && rows > 0;
    c.selectAll = usable && selected > 0;
    c.quickView = usable && selected == 1;
    c.properties = usable && selected == 1;
    return c;
}

ListCommands ListCommandStates(int rows, int selectedCount) {
    const bool onRow = rows > 0 && selectedCount > 0;
    return {onRow, onRow, rows > 0};
}

std::string QuickViewerPath(std::string_view systemFolder) {
    std::string folder(systemFolder);
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\viewers\\QuikView.exe";
}

} // namespace tools::junk
