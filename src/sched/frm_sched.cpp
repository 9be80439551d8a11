#include "sched/frm_sched.h"

#include <cmath>
#include <exception>
#include <stdexcept>

#include "app/commontools.h"
#include "app/common.h"
#include "app/help.h"
#include "app/hint.h"
#include "app/paths.h"
#include "app/progress.h"
#include "app/pure/format.h"
#include "logs/logs.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "sched/clock.h"
#include "sched/frm_sprops.h"
#include "sched/pure/schedule_calc.h"
#include "sched/unattended.h"

namespace sched {

using platform::RegKey;

namespace {
const char* Prefix(Task task) {
    switch (task) {
    case Task::Junk:
        return "Junk";
    case Task::Eraser:
        return "Eraser";
    default:
        return "Reg";
    }
}

bool ReadEnabledFlag(std::string_view key) {
    // "Enabled" alone defaults to off: a task is scheduled only once the user enabled it.
    return RegKey::Create(HKEY_CURRENT_USER, key).readInt("Enabled").value_or(0) != 0;
}

void DrawLogPicture(HDC dc, const RECT& area) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    int w = area.right - area.left, h = area.bottom - area.top;
    auto x = [&](int v) { return area.left + v * w / 32; };
    auto y = [&](int v) { return area.top + v * h / 32; };
    // Two log sheets, the front one ruled, with a pencil across the corner.
    RECT back{x(9), y(2), x(29), y(26)};
    RECT front{x(4), y(6), x(24), y(30)};
    FillRect(dc, &back, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &back, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &front, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &front, GetSysColorBrush(COLOR_WINDOWTEXT));
    HPEN rule = CreatePen(PS_SOLID, 1, RGB(90, 120, 200));
    HGDIOBJ old = SelectObject(dc, rule);
    for (int line = 0; line < 6; ++line) {
        MoveToEx(dc, x(7), y(11 + line * 3), nullptr);
        LineTo(dc, x(line % 2 ? 17 : 21), y(11 + line * 3));
    }
    HPEN pencil = CreatePen(PS_SOLID, std::max(2, w / 10), RGB(220, 160, 30));
    SelectObject(dc, pencil);
    MoveToEx(dc, x(17), y(27), nullptr);
    LineTo(dc, x(29), y(15));
    SelectObject(dc, old);
    DeleteObject(pencil);
    DeleteObject(rule);
}
} // namespace

TfrmSched::TfrmSched() : Form("TfrmSched"), m_store(kScheduleKey, "pos") {}

TfrmSched::~TfrmSched() = default;

const std::vector<std::string>& TfrmSched::StoredProperties() {
    static const std::vector<std::string> props{"cbJunkEnabled.Checked", "cbEraserEnabled.Checked",
                                                "cbRegEnabled.Checked", "cbOnlyScan.Checked", "edSpaceFree.Text"};
    return props;
}

TfrmSched::TaskControls& TfrmSched::controlsOf(Task task) {
    switch (task) {
    case Task::Junk:
        return junk;
    case Task::Eraser:
        return eraser;
    default:
        return reg;
    }
}

Task TfrmSched::taskOf(const platform::Button& pressed) const {
    for (Task t : kAllTasks) {
        auto& c = const_cast<TfrmSched*>(this)->controlsOf(t);
        if (&pressed == &c.cmdChange || &pressed == &c.cmdDefine || &pressed == &c.cmdRunNow ||
            &pressed == &c.cmdView || &pressed == &c.cmdClear)
            return t;
    }
    throw std::invalid_argument("The button does not belong to a task of the schedule window");
}

// ---- building ----

void TfrmSched::buildWindow(HWND owner) {
    DWORD ex = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (owner ? 0 : WS_EX_APPWINDOW);
    createWindow({kScheduleTitle, 480, 418, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ex}, owner);
    addPageControl(pcSched, "pcSched", {8, 8, 464, 368});
    buildTaskPage(Task::Junk, pcSched.addPage("tsJunk", "Junk Files"));
    buildTaskPage(Task::Eraser, pcSched.addPage("tsPrivacy", "Privacy"));
    buildTaskPage(Task::Registry, pcSched.addPage("tsRegistry", "Registry Cleaner"));

    platform::Panel& general = pcSched.addPage("tsGeneral", "General Options");
    addCheckBox(cbOnlyScan, "cbOnlyScan", "&Only perform maintenance if primary drive", {16, 18, 320, 20}, &general);
    addLabel(lblSpaceIs, "lblSpaceIs", "space is less than", {34, 47, 100, 16}, &general);
    addEdit(edSpaceFree, "edSpaceFree", "100", {138, 43, 64, 22}, &general, ES_NUMBER);
    SendMessageW(edSpaceFree.hwnd(), EM_LIMITTEXT, 3, 0);
    add(udSpaceFree, "udSpaceFree", UPDOWN_CLASSW, "", UpDown::kStyle, {186, 43, 16, 22}, &general);
    udSpaceFree.setBuddy(edSpaceFree);
    udSpaceFree.setRange(1, 999);
    udSpaceFree.setIncrement(10);
    udSpaceFree.setPosition(100);
    addLabel(lblMegabytes, "lblMegabytes", "megabytes", {210, 47, 90, 16}, &general);
    addLabel(lblGeneralNote, "lblGeneralNote",
             "The scheduling agent reads these options before it starts a task on time or at shut-down; tasks set "
             "to run when Windows starts always run.",
             {16, 84, 420, 34}, &general);
    cbOnlyScan.onClick = [this] { WriteOnlyScan(); };
    edSpaceFree.onChange = [this] {
        if (m_optionsReady) WriteOnlyScan();
    };

    addPanel(pnlLogPics, "pnlLogPics", {10, 382, 34, 32});
    add(imgLogPics, "imgLogPics", WC_STATICW, "", SS_OWNERDRAW, {1, 0, 32, 32}, &pnlLogPics);
    addButton(cmdHelp, "cmdHelp", "&Help", {300, 386, 80, 25});
    addButton(cmdExit, "cmdExit", "&Exit", {392, 386, 80, 25});
    cmdHelp.onClick = [this] { FormHelp(); };
    cmdExit.onClick = [this] { close(); };
    setCancelButton(&cmdExit);
    pcSched.onChange = [this] { pcSchedChange(); };
}

void TfrmSched::buildTaskPage(Task task, platform::Panel& page) {
    const std::string p = Prefix(task);
    const TaskInfo& info = InfoOf(task);
    TaskControls& c = controlsOf(task);
    addGroupBox(c.gbSchedule, "gb" + p + "Schedule", "", {8, 2, 276, 90}, &page);
    addLabel(c.lblSchedCaption, "lbl" + p + "SchedCaption", "Schedule:", {18, 20, 62, 16}, &page);
    addLabel(c.lblSched, "lbl" + p + "Sched", "None", {82, 20, 196, 16}, &page, SS_ENDELLIPSIS);
    addLabel(c.lblLastCaption, "lbl" + p + "LastCaption", "Last Run:", {18, 42, 62, 16}, &page);
    addLabel(c.lblLast, "lbl" + p + "Last", "---", {82, 42, 196, 16}, &page);
    addLabel(c.lblNextCaption, "lbl" + p + "NextCaption", "Next Run:", {18, 64, 62, 16}, &page);
    addLabel(c.lblNext, "lbl" + p + "Next", "---", {82, 64, 196, 16}, &page);

    addCheckBox(c.cbEnabled, "cb" + p + "Enabled", "&Enabled?", {296, 10, 156, 20}, &page);
    c.cbEnabled.setHint("Enable/Disable Sheduled Maintenance for this tool");
    addCheckBox(c.cbLog, "cb" + p + "Log", task == Task::Registry ? "&Save To Log?" : "&Save To Log",
                {296, 38, 156, 20}, &page);
    addCheckBox(c.cbProgress, "cb" + p + "Progress", "S&how progess window", {296, 66, 156, 20}, &page);

    addButton(c.cmdChange, "cmd" + p + "Change", "&Change Schedule...", {8, 100, 124, 25}, &page);
    addButton(c.cmdDefine, "cmd" + p + "Define", "&Define Actions...", {140, 100, 124, 25}, &page);
    addButton(c.cmdRunNow, "cmd" + p + "RunNow", "&Run Now", {272, 100, 90, 25}, &page);

    addLabel(c.lblEventLog, "lbl" + p + "EventLog", "Event Log", {8, 134, 120, 16}, &page);
    addMemo(c.meLog, "me" + p + "Log", kNoEventsLogged, {8, 152, 440, 140}, &page, true, false);
    addButton(c.cmdView, "cmd" + p + "View", "View in &Text Editor", {8, 300, 136, 25}, &page);
    addButton(c.cmdClear, "cmd" + p + "Clear", "Clear &Log", {152, 300, 90, 25}, &page);

    const std::string key = info.key, log = info.unattendedLog;
    c.cbEnabled.onClick = [this, task] { EnabledClick(task); };
    c.cbLog.onClick = [this, key, &c] { WriteLogEvents(key, c.cbLog.checked()); };
    c.cbProgress.onClick = [this, key, &c] { WriteShowProg(key, c.cbProgress.checked()); };
    c.cmdView.onClick = [this, log] { LogView(log); };
    c.cmdClear.onClick = [this, log] { ClearLog(log); };
    c.cmdChange.onClick = [this, &c] { OpenProps(c.cmdChange); };
    c.cmdDefine.onClick = [this, &c] { ChangeSettings(c.cmdDefine); };
    c.cmdRunNow.onClick = [this, task] { RunNow(task); };
}

// ---- life ----

void TfrmSched::FormCreate() {
    if (app::CommonToolsExist()) {
        HBITMAP glyph = app::CommonTools().imgHelp16.bitmap();
        SendMessageW(cmdHelp.hwnd(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
    }
    m_store.restore(*this, StoredProperties());
    ReadEnabled();
    readOptions();
    for (Task t : kAllTasks) {
        // A schedule that cannot be read is reported; its labels keep their texts and the
        // window still opens so that the schedule can be set anew.
        try {
            RefreshSched(t);
        } catch (const std::exception& e) {
            platform::ShowErrorBox(e.what(), hwnd());
        }
        ApplyEnabledState(t);
    }
    pcSched.setPageVisible(2, app::IsAdmin());
    m_optionsReady = true;
}

void TfrmSched::readOptions() {
    // The stored options are what the agent obeys; they win over the window's remembered state.
    auto k = RegKey::Create(HKEY_CURRENT_USER, kScheduleKey);
    if (auto only = k.readInt("OnlyScan")) cbOnlyScan.setChecked(*only != 0);
    if (auto mb = k.readInt("SpaceFree"); mb && *mb >= 1 && *mb <= 999) udSpaceFree.setPosition(*mb);
    int32_t shown = 0;
    if (textfmt::ParseInt(edSpaceFree.text(), shown)) udSpaceFree.setPosition(shown);
    edSpaceFree.setEnabled(cbOnlyScan.checked());
    udSpaceFree.setEnabled(cbOnlyScan.checked());
}

void TfrmSched::FormShow() {
    for (Task t : kAllTasks) {
        TaskControls& c = controlsOf(t);
        c.cbLog.setChecked(app::ReadRegBool(InfoOf(t).key, "LogEvents"));
        c.cbProgress.setChecked(app::ReadRegBool(InfoOf(t).key, "ShowProgress"));
    }
    RefreshLogs();
}

bool TfrmSched::FormCloseQuery() {
    for (Task t : kAllTasks)
        WriteEnabled(InfoOf(t).key, controlsOf(t).cbEnabled.checked());
    return true;
}

void TfrmSched::FormClose() {
    m_store.save(*this, StoredProperties());
}

void TfrmSched::FormHelp() {
    app::OpenHelpTopic(kSchedHelpTopic);
}

LRESULT TfrmSched::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    switch (msg) {
    case kRefreshMessage:
        handled = true;
        RefreshLogs();
        RefreshAllScheds();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) RefreshLogs();
        break;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (dis->hwndItem != imgLogPics.hwnd()) break;
        handled = true;
        DrawLogPicture(dis->hDC, dis->rcItem);
        return TRUE;
    }
    default:
        break;
    }
    return Form::onMessage(msg, wp, lp, handled);
}

void TfrmSched::pcSchedChange() {
    RefreshLogs();
    pnlLogPics.setVisible(pcSched.activePage() != 3);
}

// ---- the schedule model ----

std::optional<double> TfrmSched::GetNextRun(int type, std::string_view key, double base) {
    return NextRunOfKey(type, key, base);
}

std::optional<double> TfrmSched::GetNextScan(std::string_view key) {
    return NextScanOfKey(key, Now());
}

void TfrmSched::RefreshSched(platform::Label& schedLabel, platform::Label& lastLabel, std::string_view key,
                             platform::Label& nextLabel) {
    if (!platform::KeyExists(HKEY_CURRENT_USER, key)) return;
    // Every text is worked out before any label changes, so a schedule that cannot be read leaves
    // all three as they were.
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    std::string schedText = schedLabel.caption();
    if (auto type = ReadSchedType(k)) {
        schedText = ScheduleText(*type, ReadParams(k).value_or(""));
        if (schedText.empty()) throw ScheduleError("The schedule type " + std::to_string(*type) + " is not known");
    }
    auto lastRan = ReadDateTime(k, "LastRan");
    std::string lastText = lastRan ? textfmt::DateTimeToStr(*lastRan) : "Never";
    std::string nextText = nextLabel.caption();
    if (schedText == "When Windows is Started") {
        nextText = "Next Time Windows Starts";
    } else if (schedText == "When Windows is Shut Down") {
        nextText = "Next Time Windows is Shut Down";
    } else if (schedText.find("When") == std::string::npos) {
        auto next = GetNextScan(key);
        if (!next)
            nextText = "---";
        else
            nextText = Now() >= *next ? "Overdue" : textfmt::DateTimeToStr(*next);
    }
    schedLabel.setCaption(schedText);
    lastLabel.setCaption(lastText);
    nextLabel.setCaption(nextText);
}

void TfrmSched::RefreshSched(Task task) {
    TaskControls& c = controlsOf(task);
    RefreshSched(c.lblSched, c.lblLast, InfoOf(task).key, c.lblNext);
}

void TfrmSched::RefreshAllScheds() {
    // One broken schedule must not keep the other two from being refreshed.
    std::string firstError;
    for (Task t : kAllTasks) {
        try {
            RefreshSched(t);
        } catch (const std::exception& e) {
            if (firstError.empty()) firstError = e.what();
        }
    }
    if (!firstError.empty()) throw std::runtime_error(firstError);
}

void TfrmSched::HandleFirstCheck(std::string_view key) {
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    if (k.hasValue("SchedType")) return;
    k.writeInt("Enabled", 1);
    k.writeInt("SchedType", kEveryDays);
    k.writeString("Params", DefaultParams());
    WriteDateTime(k, "NextRun", std::floor(Now()) + 1);
}

void TfrmSched::ReadEnabled() {
    for (Task t : kAllTasks)
        controlsOf(t).cbEnabled.setChecked(ReadEnabledFlag(InfoOf(t).key));
}

void TfrmSched::WriteEnabled(std::string_view key, bool on) {
    app::WriteRegBool(key, "Enabled", on);
}

void TfrmSched::WriteShowProg(std::string_view key, bool on) {
    app::WriteRegBool(key, "ShowProgress", on);
}

void TfrmSched::WriteLogEvents(std::string_view key, bool on) {
    app::WriteRegBool(key, "LogEvents", on);
}

void TfrmSched::WriteOnlyScan() {
    bool only = cbOnlyScan.checked();
    app::WriteRegBool(kScheduleKey, "OnlyScan", only);
    // A field left empty or at 0 while being typed in is not a limit; the stored one stays.
    int32_t mb = 0;
    if (textfmt::ParseInt(edSpaceFree.text(), mb) && mb >= 1 && mb <= 999)
        app::WriteRegInt(kScheduleKey, "SpaceFree", mb);
    edSpaceFree.setEnabled(only);
    udSpaceFree.setEnabled(only);
}

void TfrmSched::WriteWinStart(std::string_view key) {
    auto task = TaskOfKey(key);
    if (!task) throw std::invalid_argument("\"" + std::string(key) + "\" is not a schedule key");
    WriteTaskStartup(*task);
}

void TfrmSched::RemoveWinStart(std::string_view key) {
    auto task = TaskOfKey(key);
    if (!task) throw std::invalid_argument("\"" + std::string(key) + "\" is not a schedule key");
    RemoveTaskStartup(*task);
}

void TfrmSched::DeleteNextRun(std::string_view key) {
    app::DeleteRegValue(key, "NextRun");
}

void TfrmSched::ToggleMaintenance() {
    bool any = false;
    for (Task t : kAllTasks)
        any = any || controlsOf(t).cbEnabled.checked();
    auto agents = AgentWindows();
    if (any) {
        if (!agents.empty()) return;
        WriteAgentStartup();
        if (!platform::ShellOpen({"OPEN", AgentPath(), "", "", SW_SHOWNORMAL}))
            platform::ShowMessage("The scheduling agent \"" + AgentPath() +
                                      "\" could not be started. Timed tasks will not run until it is started.",
                                  "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
        return;
    }
    for (HWND agent : agents) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(agent, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    RemoveAgentStartup();
}

void TfrmSched::ApplyEnabledState(Task task) {
    TaskControls& c = controlsOf(task);
    bool on = c.cbEnabled.checked();
    for (platform::Control* ctl :
         std::initializer_list<platform::Control*>{&c.lblSchedCaption, &c.lblSched, &c.lblLastCaption, &c.lblLast,
                                                   &c.lblNextCaption, &c.lblNext, &c.cbLog, &c.cbProgress})
        ctl->setEnabled(on);
}

void TfrmSched::EnabledClick(Task task) {
    TaskControls& c = controlsOf(task);
    const std::string key = InfoOf(task).key;
    const bool on = c.cbEnabled.checked();
    // "Enabled" follows the box even when a later step fails, so the agent and the next opening
    // of this window see what the user chose.
    try {
        ToggleMaintenance();
        if (platform::UpperCase(c.lblSched.caption()) == "WHEN WINDOWS IS STARTED") {
            if (on)
                WriteWinStart(key);
            else
                RemoveWinStart(key);
        }
        ApplyEnabledState(task);
        if (on) {
            HandleFirstCheck(key);
            RefreshSched(task);
        }
    } catch (...) {
        WriteEnabled(key, on);
        throw;
    }
    WriteEnabled(key, on);
}

// ---- logs ----

void TfrmSched::loadLog(Task task) {
    TaskControls& c = controlsOf(task);
    std::string path = logs::LogPath(InfoOf(task).unattendedLog);
    auto bytes = platform::FileExists(path) ? platform::ReadFileBytes(path) : std::nullopt;
    c.cmdView.setEnabled(bytes.has_value());
    c.cmdClear.setEnabled(bytes.has_value());
    if (!bytes) {
        c.meLog.setText(kNoEventsLogged);
        return;
    }
    c.meLog.setText(platform::FromAnsi(*bytes));
    c.meLog.caretToEnd();
}

void TfrmSched::RefreshLogs() {
    for (Task t : kAllTasks)
        loadLog(t);
}

void TfrmSched::LogView(std::string_view logFile) {
    std::string path = logs::LogPath(logFile);
    if (!platform::FileExists(path)) {
        platform::ShowMessage("No events have been logged for this operation yet.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Information, hwnd());
        return;
    }
    if (!platform::ShellOpen({"Open", path, "", "", SW_SHOWNORMAL}))
        platform::ShowMessage("The log file \"" + path + "\" could not be opened.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Warning, hwnd());
}

void TfrmSched::ClearLog(std::string_view logFile) {
    if (!platform::Confirm("Are you sure you want to permanently clear the log file associated with this operation?",
                           "Please confirm", hwnd()))
        return;
    std::string path = logs::LogPath(logFile);
    if (platform::FileExists(path) && !platform::DeleteFileAt(path)) {
        DWORD code = platform::LastError();
        RefreshLogs();
        throw platform::Win32Error("DeleteFile \"" + path + "\"", code);
    }
    RefreshLogs();
}

// ---- buttons ----

void TfrmSched::OpenProps(platform::Button& pressed) {
    Task task = taskOf(pressed);
    {
        TfrmSProps props(InfoOf(task).key, controlsOf(task).cbEnabled.checked());
        // Only the trace erase can run as Windows shuts down.
        if (task != Task::Eraser) props.hideShutdownOption();
        props.showModal(hwnd());
    }
    RefreshAllScheds();
}

void TfrmSched::ChangeSettings(platform::Button& pressed) {
    Task task = taskOf(pressed);
    ToolFactory factory = ToolFor(task);
    if (!factory) {
        platform::ShowMessage("This tool is not part of this version of Vantrel.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Information, hwnd());
        return;
    }
    app::ShowHint("SchedSettings", kSchedSettingsHint);
    std::unique_ptr<UnattendedTool> tool = factory();
    platform::Form& window = tool->window();
    window.create(hwnd());
    window.setCaption(kModifyingPrefix + window.caption());
    window.showModal(hwnd());
}

void TfrmSched::RunNow(Task task) {
    if (!ToolFor(task)) {
        platform::ShowMessage("This tool is not part of this version of Vantrel.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Information, hwnd());
        return;
    }
    const char* key = InfoOf(task).key;
    std::optional<double> previous;
    try {
        previous = ReadDateTime(RegKey::Create(HKEY_CURRENT_USER, key), "NextRun");
    } catch (const ScheduleError&) {
        // A broken "NextRun" is dropped by the run anyway.
    }
    DeleteNextRun(key);
    std::string program = app::ProgramFolder() + "Vantrel.exe";
    if (!platform::ShellOpen({"open", program, InfoOf(task).switchText, "", SW_SHOWNORMAL})) {
        // Nothing ran, so the schedule stays as it was.
        if (previous) app::WriteRegDateTime(key, "NextRun", *previous);
        platform::ShowMessage("\"" + program + "\" could not be started.", "Vantrel", platform::MsgButtons::Ok,
                              platform::MsgIcon::Warning, hwnd());
    }
}

} // namespace sched
