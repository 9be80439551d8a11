#pragma once
// "Tool Action Logs" (TfrmLogs): the nine tool logs page by page, the statistics counters with
// their totals, the counter resets, and the logging switches.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "logs/pure/log_pages.h"
#include "logs/pure/statistics.h"
#include "platform/handles.h"
#include "platform/popup_menu.h"
#include "platform/splitter.h"
#include "platform/window.h"

namespace logs {

inline constexpr const char* kLogsWindowKey = "\\Software\\Quorvel\\Vantrel\\logs\\Pos";
inline constexpr const char* kLogsHelpTopic = "Tracking_statistics_with_Tool_Action_Logs";
inline constexpr const char* kSupportPage = "https://quorvel.example/vantrel/support/";
inline constexpr const char* kClearQuestion =
    "Are you sure you want to permanently clear the log file associated with this operation?";
inline constexpr const char* kClearCaption = "Please confirm";
inline constexpr const char* kNothingLoggedYet = "No events have been logged for this operation yet.";

// Opens the window modally; returns when it is closed.
void ShowLogsWindow(HWND owner = nullptr);

class TfrmLogs : public platform::Form {
public:
    TfrmLogs();
    ~TfrmLogs() override;

    // One of the six log pages.
    struct LogPage {
        const LogsPageInfo* info = nullptr;
        platform::Panel* page = nullptr;
        std::array<platform::Panel, 2> panes;       // two-view pages: the view and its caption
        std::array<platform::Label, 2> captions;    // "Manual Operations", "Scheduled Operations"
        std::array<platform::Edit, 2> views;        // read-only, no word wrap
        platform::Splitter splitter;                // two-view pages
        std::unique_ptr<platform::Button> cmdClear; // a menu button on two-view pages
        std::unique_ptr<platform::Button> cmdView;
        bool loaded = false;
        bool placed = false; // the splitter has its first position
        size_t viewCount() const { return info->views.size(); }
    };

    platform::MenuBar MainMenu;
    platform::PageControl pcLogs;
    platform::Label imgLogs, imgStatistics, imgSettings; // the page pictures
    platform::StatusBar StatusBar1;
    std::array<LogPage, 6> logPages;

    // Statistics page.
    std::vector<std::unique_ptr<platform::GroupBox>> statGroups;
    std::vector<std::unique_ptr<platform::Label>> statCaptions, statValues;
    platform::Label lblStatsNote;

    // Settings page.
    platform::Label lblPerform, lblSettingsNote;
    platform::GroupBox gbManual, gbAutomatic;
    platform::CheckBox cbJunk, cbPrivacy, cbShortcuts, cbUninstallers, cbDupes, cbRegistry;
    platform::CheckBox cbSchedJunk, cbSchedPrivacy, cbSchedRegistry;

    // Operations.
    void GetStats();
    void RefreshAll();
    void DoRefresh(platform::Edit& view, const std::string& fileName);
    void UpdateButtons(LogPage& page);
    void ClearLog(const std::string& fileName);
    void LogView(const std::string& fileName);
    void SetActivePicture();

    // Handlers.
    void pcLogsChange();
    void mnuRefreshClick();
    void mnuHowToClick();
    void mnuWebClick();
    void ResetClick(const ResetItem& item);

    // The page of a caption ("Registry"); nullptr for the statistics and settings pages.
    LogPage* logPage(std::string_view caption);
    bool pageLoaded(std::string_view caption);
    // The window-state properties kept under logs\Pos.
    static const std::vector<std::string>& StoredProperties();

protected:
    void buildWindow(HWND owner) override;
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormHelp() override;
    void FormResize() override;
    void FormKeyDown(WPARAM key) override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    void buildMenu();
    void buildLogPage(LogPage& lp, platform::Panel& page);
    void buildStatisticsPage(platform::Panel& page);
    void buildSettingsPage(platform::Panel& page);
    void layout();
    void layoutLogPage(LogPage& lp, int w, int h);
    void layoutStatisticsPage(int w, int h);
    void FormActivate();
    void loadPage(LogPage& lp);
    void readSwitches();
    void drawPicture(const DRAWITEMSTRUCT& di);
    int textWidth(const platform::Control& c, std::string_view text) const; // 96-DPI units

    app::WindowStateStore m_store;
    platform::UniqueGdiObject m_boldFont;
    bool m_activated = false;
    bool m_built = false;
};

} // namespace logs
