#pragma once
// The pages of the logs window and which log file each view of a page shows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace logs {

// What a view reads when its log file does not exist.
inline constexpr const char* kNoEventsLogged = "No events logged";
// The items of the two menu buttons of a two-view page.
inline constexpr const char* kManualOperations = "Manual Operations";
inline constexpr const char* kScheduledOperations = "Scheduled Operations";

enum class PageKind { Log, Statistics, Settings };

struct LogViewInfo {
    std::string view;    // the text view ("memJunkManual")
    std::string caption; // "Manual Operations" / "Scheduled Operations"; empty on a one-view page
    std::string file;    // the log file it shows ("Manual_Junk_Log.txt")
};

struct LogsPageInfo {
    std::string name;    // "tsJunk"
    std::string caption; // "Junk Files"
    PageKind kind = PageKind::Log;
    std::vector<LogViewInfo> views; // two, one, or none (statistics and settings)
    std::string clearButton;        // "cmdClearJunk"
    std::string viewButton;         // "cmdViewJunk"
    std::string pane;               // the left pane of a two-view page ("pnlJunkManual"), its width stored
    std::string splitter;           // "splJunk"

    bool twoViews() const { return views.size() == 2; }
};

// The eight pages in the order the window shows them.
const std::vector<LogsPageInfo>& LogsPages();
// The page of a caption ("Privacy"); nullptr when there is none.
const LogsPageInfo* FindPage(std::string_view caption);
// The page and view index showing a log file (names compared without regard to ASCII case, as
// call sites spell some of them differently); nullopt when no view shows it.
struct ViewRef {
    size_t page = 0;
    size_t view = 0;
};
std::optional<ViewRef> FindViewOfFile(std::string_view fileName);
// The log file behind a menu-button item: "Manual Operations" the interactive log, "Scheduled
// Operations" the unattended one. A one-view page has no menu, so its single file answers any item.
// nullopt for an item the page does not offer.
std::optional<std::string> FileForItem(const LogsPageInfo& page, std::string_view item);
// Every log file shown by the window, in page order (nine).
std::vector<std::string> AllLogFiles();

} // namespace logs
