#include "tools/regclean/pure/finding.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace tools::regclean {

const std::array<ScanArea, 4> kScanAreas = {{
    {"HKEY_CURRENT_USER", "Stores information about the currently logged-in user", "CU",
     "  Analyzing: HKEY_CURRENT_USER...", "Analyzing: HKEY_CURRENT_USER", "HKEY_CURRENT_USER"},
    {"HKEY_USERS", "Stores information about all configured users", "US", "  Analyzing: HKEY_USERS...",
     "Analyzing: HKEY_USERS", "HKEY_USERS"},
    {"HKEY_LOCAL_MACHINE", "Stores global information about the computer", "LM", "  Analyzing: HKEY_LOCAL_MACHINE...",
     "Analyzing: HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE"},
    {"Invalid shared DLL's", "Find orphaned references to system-shared .dll files", "SD",
     "  Analyzing: Shared DLL References...", "Analyzing: Shared DLL References", "HKEY_LOCAL_MACHINE"},
}};

std::string RegistryKeyColumn(const Finding& f) {
    return f.rootName + ": " + f.keyPath;
}

std::vector<std::string> ColumnTexts(const Finding& f) {
    return {RegistryKeyColumn(f), f.lastModification, f.valueName, f.valueData};
}

std::string FormatLastModification(int year, int month, int day, int hour, int minute) {
    int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d%s", month, day, year, hour12, minute,
                  hour < 12 ? "AM" : "PM");
    return buf;
}

FindingKey ParseFindingKey(std::string_view text) {
    FindingKey k;
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        k.keyPath = std::string(text);
    } else {
        k.rootName = std::string(text.substr(0, colon));
        k.keyPath = colon + 2 <= text.size() ? std::string(text.substr(colon + 2)) : std::string();
    }
    if (k.keyPath.empty() || k.keyPath.front() != '\\') k.keyPath.insert(k.keyPath.begin(), '\\');
    return k;
}

std::string RemoveSelectedQuestion(int selectedCount) {
    if (selectedCount == 1) return "Are you sure you want to remove selected entry from the Registry?";
    return "Are you sure you want to remove " + std::to_string(selectedCount) + " selected entries from the Registry?";
}

int NeighbourAfterRemoval(int formerIndex, int rowsLeft) {
    if (rowsLeft <= 0) return -1;
    if (formerIndex > 0) return std::min(formerIndex - 1, rowsLeft - 1);
    return 0;
}

std::optional<int> FirstColumnWidth(int listWidth, const std::vector<int>& otherColumnWidths) {
    int others = std::accumulate(otherColumnWidths.begin(), otherColumnWidths.end(), 0);
    int rest = listWidth - others;
    if (rest <= 70) return std::nullopt;
    return rest - 4;
}

std::string ScanCompleteLine(size_t findings) {
    return "  Scan complete. " + std::to_string(findings) + " invalid references found.";
}

std::string RemovedCountLine(int removed) {
    return "NUMBER OF INVALID REFERENCES REMOVED: " + std::to_string(removed);
}

std::string KeyLogLine(std::string_view rootName, std::string_view absoluteKeyPath) {
    return "      KEY: " + std::string(rootName) + std::string(absoluteKeyPath);
}

std::string ValueLogLine(std::string_view valueName) {
    return "      VALUE: " + std::string(valueName);
}

} // namespace tools::regclean
