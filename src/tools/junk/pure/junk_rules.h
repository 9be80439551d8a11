#pragma once
// The junk cleaner's decisions that need no Windows: which files a scan leaves out, the day
// limit, the result list's index and totals, the texts of its status panel and log, and which
// commands are available.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/pure/format.h"

namespace tools::junk {

// ---- which files are left out ----

// The day count of the "not accessed in" limit: blanks trimmed, 0 to 999; nullopt when the text
// is empty or not such a number.
std::optional<int> ParseDayCount(std::string_view text);
// The limit leaves a file out while fewer than `days` days lie between its last access and the
// start of today (fractions count). Zero days is no limit; a last access that could not be read
// (0) never leaves a file out.
bool DayLimitExcludes(int days, double todayMidnight, double lastAccess);

// The folder part of a path, with its trailing backslash ("C:\A\b.tmp" -> "C:\A\").
std::string FolderOf(std::string_view path);
// The excluded-folder and move-to tests: the folder, already upper-cased, occurs anywhere in the
// file's folder path (also upper-cased, with its trailing backslash). An empty folder never does.
bool FolderPathContains(std::string_view fileFolderUpper, std::string_view folderUpper);

// ---- the result list ----

// One row per path: the look-up behind IsInListView. Keys are the rows' captions compared in
// upper case, so the window passes upper-cased text. Byte totals are 64-bit.
class ResultIndex {
public:
    bool contains(const std::string& key) const { return m_sizes.count(key) != 0; }
    // False (and no change) when the key is present already.
    bool add(const std::string& key, int64_t size);
    // The size the row was listed with; nullopt when there is no such row.
    std::optional<int64_t> remove(const std::string& key);
    void clear();
    int64_t totalBytes() const noexcept { return m_total; }
    size_t count() const noexcept { return m_sizes.size(); }

private:
    std::unordered_map<std::string, int64_t> m_sizes;
    int64_t m_total = 0;
};

// The removal totals of one window: every attempt counts, as it did before it was known whether
// the shell operation succeeded.
struct RemovalTotals {
    int64_t bytes = 0;
    int64_t files = 0;
};

// ---- texts ----

std::string ScanningText(std::string_view folder); // "Scanning: " + folder + "..."
// "Scan Complete: B bytes (M megabytes) found in N files."
std::string ScanCompleteText(int64_t bytes, int64_t files,
                             const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// "  B bytes (M megabytes) found in N files." (the log's summary line)
std::string ScanSummaryLine(int64_t bytes, int64_t files,
                            const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// "Total space recovered: B bytes (M megabytes) in N files."
std::string RecoveredText(int64_t bytes, int64_t files, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// "  Successfully scanned " + folder + " for specified file types." / " for zero length files."
std::string ScannedLine(std::string_view folder, bool zeroLength);

enum class RemovalMethod { Recycle, Delete, Move };
// The log line written after each removal.
std::string RemovalLine(RemovalMethod method, std::string_view path, std::string_view moveTo);
// "  Unable to remove "path".  This file is currently in use."
std::string InUseLine(std::string_view path);
// The text of the "JunkInUse" hint.
std::string InUseHintText(std::string_view path);

// ---- progress and commands ----

// The progress bar's maximum for a scan.
int ProgressMaximum(int checkedDrives, bool tempFolder, bool zeroLength, bool hasFindFolders);

// The result list's commands for its row and selection counts.
struct ResultCommands {
    bool toolbarVisible = false; // hidden while the list is empty and during a scan
    bool remove = false;         // "Remove", "&Remove", "&Remove Selected File(s)"
    bool removeAll = false;      // "Remove &all listed files"
    bool selectAll = false;      // "&Select All"
    bool quickView = false;      // "QuickView", "&QuickView"
    bool properties = false;     // "Properties", "P&roperties"
};
ResultCommands ResultCommandStates(int rows, int selected, bool scanning);

// A criteria list's commands: those on the selected row need one, the check-all pair needs rows.
struct ListCommands {
    bool edit = false;
    bool remove = false;
    bool checkAll = false;
};
ListCommands ListCommandStates(int rows, int selectedCount);

// The file viewer below the system folder.
std::string QuickViewerPath(std::string_view systemFolder);

} // namespace tools::junk
