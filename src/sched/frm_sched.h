#pragma once
// The "Scheduled Maintenance" window: the three tasks' schedules, their unattended logs, the
// general options, and (as a hidden object) the unattended runs themselves.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "platform/window.h"
#include "sched/controls.h"
#include "sched/schedule_store.h"

namespace app {
class TfrmProgress;
}

namespace sched {

class UnattendedTool;

inline constexpr const char* kSchedHelpTopic = "Unattended_scheduling_with_the_Scheduled_Maintenance_Tool";
inline constexpr const char* kSchedSettingsHint =
    "The window that opens now holds the settings that this task uses when it runs unattended.  Choose what is "
    "to be searched for and how it is to be removed, then close the window: the settings it saves on closing are "
    "the ones every scheduled run of this task uses.  Nothing is scanned or removed while you change them.";
inline constexpr const char* kModifyingPrefix = "Modifying Scheduled Maintenance Properties - ";
inline constexpr const char* kNoEventsLogged = "No events logged";

class TfrmSched : public platform::Form {
public:
    TfrmSched();
    ~TfrmSched() override;

    // One task page's controls; names carry the task ("cbJunkEnabled", "lblRegNext" ...).
    struct TaskControls {
        platform::GroupBox gbSchedule;
        platform::Label lblSchedCaption, lblLastCaption, lblNextCaption;
        platform::Label lblSched, lblLast, lblNext;
        platform::CheckBox cbEnabled, cbLog, cbProgress;
        platform::Label lblEventLog;
        platform::Edit meLog;
        platform::Button cmdView, cmdClear, cmdChange, cmdDefine, cmdRunNow;
    };

    platform::PageControl pcSched;
    TaskControls junk, eraser, reg;
    platform::CheckBox cbOnlyScan;
    platform::Label lblSpaceIs, lblMegabytes, lblGeneralNote;
    platform::Edit edSpaceFree;
    UpDown udSpaceFree;
    platform::Panel pnlLogPics;
    platform::Label imgLogPics;
    platform::Button cmdHelp, cmdExit;

    TaskControls& controlsOf(Task task);

    // The schedule model.
    std::optional<double> GetNextRun(int type, std::string_view key, double base);
    std::optional<double> GetNextScan(std::string_view key);
    void RefreshSched(platform::Label& schedLabel, platform::Label& lastLabel, std::string_view key,
                      platform::Label& nextLabel);
    void RefreshSched(Task task);
    void RefreshAllScheds();
    void HandleFirstCheck(std::string_view key);
    void ReadEnabled();
    void WriteEnabled(std::string_view key, bool on);
    void WriteShowProg(std::string_view key, bool on);
    void WriteLogEvents(std::string_view key, bool on);
    void WriteOnlyScan();
    void WriteWinStart(std::string_view key);
    void RemoveWinStart(std::string_view key);
    void DeleteNextRun(std::string_view key);
    void ToggleMaintenance();
    void BroadCastRefresh();
    void RefreshLogs();
    void LogView(std::string_view logFile);
    void ClearLog(std::string_view logFile);
    void OpenProps(platform::Button& pressed);
    void ChangeSettings(platform::Button& pressed);
    void RunNow(Task task);

    // The unattended runs (unattended.cpp), on an object that is created but never shown.
    void PerformJunk();
    void PerformErase();
    void PerformRegClean();
    void ShowProgress(std::string_view status);
    // The progress window while a run shows it, else nullptr.
    app::TfrmProgress* progressWindow() const noexcept { return m_progress.get(); }
    // The tool window a run drives, while it exists.
    UnattendedTool* runningTool() const noexcept { return m_tool.get(); }

    static const std::vector<std::string>& StoredProperties();

protected:
    void buildWindow(HWND owner) override;
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormHelp() override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    void buildTaskPage(Task task, platform::Panel& page);
    void EnabledClick(Task task);
    void ApplyEnabledState(Task task);
    void pcSchedChange();
    void loadLog(Task task);
    void readOptions();
    void PerformTask(Task task);
    void lblCancelClick();
    Task taskOf(const platform::Button& pressed) const;

    app::WindowStateStore m_store;
    std::unique_ptr<app::TfrmProgress> m_progress;
    std::unique_ptr<UnattendedTool> m_tool;
    bool m_cancelRequested = false;
    bool m_optionsReady = false;
};

} // namespace sched
