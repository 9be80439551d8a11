#pragma once
// The registry cleaner's findings, scan areas and the texts built from them.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools::regclean {

inline constexpr const char* kSharedDllsPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kOptionsKey = "\\software\\Quorvel\\Vantrel\\regclean\\pos";
inline constexpr const char* kFoundPrefix = "Number of invalid entries found: ";
inline constexpr const char* kScanCompleted = "Scan successfully completed.";
inline constexpr const char* kScanInterrupted = "Scan interrupted.";

enum class FindingKind { RegistryReference, SharedDll };

// One row of lvScanFor.
struct ScanArea {
    const char* location;    // "Location to scan"
    const char* description; // "Description"
    const char* storedAs;    // value name under kOptionsKey
    const char* logLine;     // written to the log in force
    const char* status;      // status panel 1 while the area runs
    const char* rootName;    // the findings' root
};
extern const std::array<ScanArea, 4> kScanAreas;

// A value the scan lists.
struct Finding {
    std::string rootName; // "HKEY_CURRENT_USER", "HKEY_USERS" or "HKEY_LOCAL_MACHINE"
    std::string keyPath;  // relative to the root as the walk forms it
    std::string lastModification;
    std::string valueName;
    std::string valueData;
    FindingKind kind = FindingKind::RegistryReference;
};

// Column "Registry Key": root, ": ", key path.
std::string RegistryKeyColumn(const Finding& f);
// The four column texts in order.
std::vector<std::string> ColumnTexts(const Finding& f);

// "mm/dd/yyyy hh:mmAM" from a calendar date and time (no time-zone conversion).
std::string FormatLastModification(int year, int month, int day, int hour, int minute);

struct FindingKey {
    std::string rootName;
    std::string keyPath; // absolute: always begins with "\"
};
// Root and key path back from a "Registry Key" text: the root is the text before the first ":",
// the path starts two characters after it.
FindingKey ParseFindingKey(std::string_view registryKeyText);

// The question before removing the selected rows.
std::string RemoveSelectedQuestion(int selectedCount);
// The row to select after a removal whose last removed row was at formerIndex: the row just above,
// else the row now at that place; -1 when the list is empty.
int NeighbourAfterRemoval(int formerIndex, int rowsLeft);
// Column 1's new width when the list is wider than the other columns by more than 70 pixels.
std::optional<int> FirstColumnWidth(int listWidth, const std::vector<int>& otherColumnWidths);

// Log lines.
std::string ScanCompleteLine(size_t findings);
std::string RemovedCountLine(int removed);
std::string KeyLogLine(std::string_view rootName, std::string_view absoluteKeyPath);
std::string ValueLogLine(std::string_view valueName);

} // namespace tools::regclean
