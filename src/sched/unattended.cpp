#include "sched/unattended.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "app/progress.h"
#include "app/settings.h"
#include "logs/logs.h"
#include "platform/dialogs.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "sched/clock.h"
#include "sched/frm_sched.h"
#include "sched/tool_adapters.h"

namespace sched {

using platform::RegKey;

// ---- ButtonDrivenTool ----

ButtonDrivenTool::ButtonDrivenTool(std::unique_ptr<platform::Form> form, DriveSpec spec)
    : m_form(std::move(form)), m_spec(std::move(spec)) {}

void ButtonDrivenTool::createHidden() {
    m_form->create();
}

platform::Button& ButtonDrivenTool::startButton() const {
    auto* b = m_form->controlAs<platform::Button>(m_spec.startButton);
    if (!b) throw std::logic_error("The tool window has no button \"" + m_spec.startButton + "\"");
    return *b;
}

platform::ListView* ButtonDrivenTool::resultList() const {
    return m_spec.resultList.empty() ? nullptr : m_form->controlAs<platform::ListView>(m_spec.resultList);
}

std::string ButtonDrivenTool::statusText() const {
    if (m_spec.statusBar.empty()) return {};
    auto* bar = m_form->controlAs<platform::StatusBar>(m_spec.statusBar);
    return bar ? bar->panelText(0) : std::string();
}

bool ButtonDrivenTool::working() const {
    if (!m_form->isOpen()) return false;
    const platform::Button& b = startButton();
    return b.caption() != m_spec.idleCaption || !b.enabled();
}

void ButtonDrivenTool::pressStart() {
    if (!startButton().click())
        throw std::runtime_error("The button \"" + startButton().caption() + "\" of the tool could not be pressed");
    m_pressed = true;
}

bool ButtonDrivenTool::finished() const {
    if (!m_pressed || !m_form->isOpen()) return false;
    if (m_spec.doneTexts.empty()) return !working();
    const std::string status = statusText();
    for (const auto& done : m_spec.doneTexts)
        if (status == done) return true;
    return false;
}

bool ButtonDrivenTool::stoppedEarly() const {
    // A closed window or an idle tool that never showed its finished sign will not show it now.
    if (!m_pressed) return false;
    if (!m_form->isOpen()) return true;
    return !working() && !finished();
}

void ButtonDrivenTool::interrupt() {
    if (working()) startButton().click();
}

int ButtonDrivenTool::resultCount() const {
    auto* list = resultList();
    return list ? list->rowCount() : 0;
}

void ButtonDrivenTool::close() {
    if (m_form->isOpen()) m_form->close();
}

// ---- the tools of the tasks ----

namespace {
std::array<ToolFactory, 3>& TestTools() {
    static std::array<ToolFactory, 3> tools;
    return tools;
}

// The program's own tools. A task whose tool window is not part of the program has none.
ToolFactory BuiltInTool(Task task) {
    switch (task) {
    case Task::Junk:
        return MakeJunkCleanerTool;
    case Task::Registry:
        return MakeRegistryCleanerTool;
    default:
        return {};
    }
}
} // namespace

ToolFactory ToolFor(Task task) {
    if (auto& test = TestTools()[static_cast<size_t>(task)]) return test;
    return BuiltInTool(task);
}

ToolFactory SetToolForTesting(Task task, ToolFactory factory) {
    return std::exchange(TestTools()[static_cast<size_t>(task)], std::move(factory));
}

const char* ProgressStatus(Task task) {
    switch (task) {
    case Task::Junk:
        return "Removing junk and obsolete files...";
    case Task::Eraser:
        return "Erasing history and cache...";
    default:
        return "Cleaning Registry...";
    }
}

// ---- the runs ----

void TfrmSched::PerformJunk() {
    PerformTask(Task::Junk);
}

void TfrmSched::PerformErase() {
    PerformTask(Task::Eraser);
}

void TfrmSched::PerformRegClean() {
    PerformTask(Task::Registry);
}

void TfrmSched::ShowProgress(std::string_view status) {
    m_progress = std::make_unique<app::TfrmProgress>();
    m_progress->create();
    m_progress->setStatus(status);
    m_progress->lblCancel.onClick = [this] { lblCancelClick(); };
    m_progress->placeBottomRight();
    m_progress->showInactive();
}

void TfrmSched::lblCancelClick() {
    if (!m_progress) return;
    m_progress->lblCancel.setCaption("Please Wait...");
    m_progress->lblCancel.setPlain(true);
    m_cancelRequested = true;
    const std::string status = m_progress->lblStatus.caption();
    if (m_tool && (status == ProgressStatus(Task::Junk) || status == ProgressStatus(Task::Registry)))
        m_tool->interrupt();
}

void TfrmSched::PerformTask(Task task) {
    const TaskInfo& info = InfoOf(task);
    ToolFactory factory = ToolFor(task);
    if (!factory) return;

    RegKey key = RegKey::Create(HKEY_CURRENT_USER, info.key);
    struct Finally {
        TfrmSched& self;
        ~Finally() {
            // Whatever happened, the tool and progress windows go and an open schedule window learns
            // of the run. An exception from here must not replace the one that ended the run.
            try {
                self.m_tool.reset();
                if (self.m_progress) self.m_progress->close();
                self.m_progress.reset();
                self.BroadCastRefresh();
            } catch (...) {
            }
        }
    } finally{*this};

    setCaption(kRunningTitle);
    m_cancelRequested = false;
    const bool showProgress = app::ReadRegBool(info.key, "ShowProgress");
    const bool logEvents = app::ReadRegBool(info.key, "LogEvents");
    if (showProgress) {
        ShowProgress(ProgressStatus(task));
        // The erase cannot be interrupted.
        if (task == Task::Eraser) m_progress->lblCancel.setVisible(false);
    }

    m_tool = factory();
    m_tool->createHidden();
    platform::ProcessMessages();
    m_tool->setUnattended(true, logEvents);
    m_tool->pressStart();
    if (m_cancelRequested && task != Task::Eraser) m_tool->interrupt();

    // No time-out of its own: the tool's finished sign, or its stopping without it, ends the wait.
    while (!m_tool->finished() && !m_tool->stoppedEarly()) {
        if (platform::QuitRequested()) throw std::runtime_error("The program was ended during the maintenance run");
        platform::ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }

    if (m_tool->finished()) {
        if (task == Task::Junk) {
            if (m_tool->resultCount() > 0)
                m_tool->removeAll();
            else if (logEvents)
                logs::WriteLog(info.unattendedLog, kAlreadyCleanLine);
        } else if (task == Task::Registry && m_tool->resultCount() > 0) {
            m_tool->removeAll();
        }
        platform::ProcessMessages();
    }

    platform::ProcessMessages();
    if (logEvents) RefreshLogs();
    WriteDateTime(key, "LastRan", Now());
    m_tool->close();
    m_tool.reset();
    if (m_progress) m_progress->close();
    m_progress.reset();
}

void TfrmSched::BroadCastRefresh() {
    std::vector<HWND> targets;
    const std::wstring title = platform::Widen(kScheduleTitle);
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, nullptr, title.c_str())) != nullptr)
        if (h != hwnd()) targets.push_back(h);
    for (HWND target : targets) {
        // Sent, so the window has refreshed before this run ends; a hung window cannot hold it.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(target, kRefreshMessage, 0, 0, SMTO_ABORTIFHUNG, 30000, &ignored);
    }
    platform::ProcessMessages();
    if (isOpen()) setCaption(kScheduleTitle);
}

// ---- switches ----

namespace {
void RunHidden(void (TfrmSched::*perform)(), Task task) {
    if (!ToolFor(task)) return;
    TfrmSched sched;
    sched.create();
    platform::ProcessMessages();
    try {
        (sched.*perform)();
    } catch (const std::exception& e) {
        platform::ShowErrorBox(e.what());
    }
    platform::ProcessMessages();
}
} // namespace

bool RunSwitch(app::Switch which) {
    switch (which) {
    case app::Switch::CleanJunk:
        RunHidden(&TfrmSched::PerformJunk, Task::Junk);
        return true;
    case app::Switch::CleanHistory:
        RunHidden(&TfrmSched::PerformErase, Task::Eraser);
        return true;
    case app::Switch::RegistryClean:
        RunHidden(&TfrmSched::PerformRegClean, Task::Registry);
        return true;
    case app::Switch::SetSchedule:
        ShowScheduleWindow();
        platform::ProcessMessages();
        return true;
    default:
        return false;
    }
}

void ShowScheduleWindow(HWND owner) {
    TfrmSched sched;
    sched.showModal(owner);
}

} // namespace sched
