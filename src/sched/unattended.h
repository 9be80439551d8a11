#pragma once
// Unattended runs: a tool window is created hidden, switched into unattended mode, driven through
// its own buttons and waited for by pumping messages. Each tool takes part through an adapter of
// UnattendedTool; the run itself (TfrmSched::PerformJunk and the others) knows no tool's logic.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/window.h"
#include "sched/schedule_store.h"

namespace sched {

class UnattendedTool {
public:
    virtual ~UnattendedTool() = default;
    // The tool's window ("&Define Actions..." shows it modally to edit the settings a run uses).
    virtual platform::Form& window() = 0;
    // Creates the window without showing it; it loads its criteria as when the user opens it.
    virtual void createHidden() = 0;
    // The window's Unattended and LogUnattended flags.
    virtual void setUnattended(bool unattended, bool logUnattended) = 0;
    // Presses the start button ("&Scan", "&Erase Now", "Scan &Registry").
    virtual void pressStart() = 0;
    // The tool's own sign that its work is done (a caption or a status text).
    virtual bool finished() const = 0;
    // The tool has stopped working without reaching its finished condition.
    virtual bool stoppedEarly() const = 0;
    // "Cancel": presses the start button again when a scan is running, which stops it; does
    // nothing when no scan runs (pressing it then would start a new one).
    virtual void interrupt() = 0;
    // Rows of the result list.
    virtual int resultCount() const = 0;
    // The removal of every finding (junk: select all rows and press "Remove"; registry: remove all).
    virtual void removeAll() = 0;
    // Closes the window; its closing counts and logs as the tool defines.
    virtual void close() = 0;
};

// What a tool window shows while it works and when it is done.
struct DriveSpec {
    std::string startButton;            // control name of the start button
    std::string idleCaption;            // the start button's caption while nothing runs
    std::string statusBar;              // control name of the status bar, when the tool signals there
    std::vector<std::string> doneTexts; // first-panel texts that mean finished; none: idle caption again
    std::string resultList;             // control name of the result list
};

// The common part of the adapters: a tool driven through its start button, working while that
// button is relabelled or disabled.
class ButtonDrivenTool : public UnattendedTool {
public:
    ButtonDrivenTool(std::unique_ptr<platform::Form> form, DriveSpec spec);
    platform::Form& window() override { return *m_form; }
    void createHidden() override;
    void pressStart() override;
    bool finished() const override;
    bool stoppedEarly() const override;
    void interrupt() override;
    int resultCount() const override;
    void close() override;
    // Busy: the start button reads other than its idle caption, or is disabled.
    bool working() const;

protected:
    platform::Button& startButton() const;
    platform::ListView* resultList() const;
    std::string statusText() const;

private:
    std::unique_ptr<platform::Form> m_form;
    DriveSpec m_spec;
    bool m_pressed = false;
};

using ToolFactory = std::function<std::unique_ptr<UnattendedTool>()>;
// The tool a task drives; empty while that tool is not part of the program.
ToolFactory ToolFor(Task task);
// Tests drive stand-ins; an empty factory restores the program's own. Returns the previous one.
ToolFactory SetToolForTesting(Task task, ToolFactory factory);

// The progress status line of a task's run.
const char* ProgressStatus(Task task);
inline constexpr const char* kAlreadyCleanLine = "  Drives Already Clean: No junk files found";

// Runs "/CLEANJUNK", "/CLEANHISTORY", "/REGISTRYCLEAN" (one unattended task, with the schedule
// window object hidden) and "/SETSCHEDULE" (the schedule window alone, modally). A task whose tool
// is not part of the program ends at once and writes nothing. False for every other switch.
bool RunSwitch(app::Switch which);
// The "Scheduled Maintenance" window, shown modally (the launcher's schedule button).
void ShowScheduleWindow(HWND owner = nullptr);

} // namespace sched
