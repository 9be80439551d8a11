// The "Scheduled Maintenance" window: its pages, the schedule texts, enabling and disabling with
// the agent's and the tasks' start-up values, the logs and the general options.
#include <gtest/gtest.h>

#include <cmath>

#include "app/settings.h"
#include "fake_tool.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "sched/frm_sched.h"
#include "sched/pure/schedule_calc.h"
#include "sched_fixture.h"
#include "support/scripted_dialogs.h"

using namespace schedtest;
using platform::MsgResult;
using sched::Task;
using sched::TfrmSched;
using textfmt::DateTimeToStr;
using textfmt::EncodeDate;
using textfmt::EncodeDateTime;

namespace {

// Stands in for a running scheduling agent: a top-level window of its class that records WM_CLOSE.
class FakeAgentWindow {
public:
    FakeAgentWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = sched::kAgentWindowClass;
        RegisterClassW(&wc);
        Closes() = 0;
        m_hwnd = CreateWindowW(sched::kAgentWindowClass, L"agent", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    ~FakeAgentWindow() {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    }
    bool alive() const { return IsWindow(m_hwnd) != FALSE; }
    static int& Closes() {
        static int n = 0;
        return n;
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_CLOSE) ++Closes(); // and ends, as the agent does
        return DefWindowProcW(h, m, w, l);
    }
    HWND m_hwnd;
};

std::string ShortTime(double t) {
    return textfmt::FormatDateTime(textfmt::ProcessFormats().shortTimeFormat, t);
}

class SchedWindow : public SchedFixture {
protected:
    void TearDown() override {
        for (Task t : sched::kAllTasks)
            sched::SetToolForTesting(t, {});
        SchedFixture::TearDown();
    }
    void refresh() { SendMessageW(w.hwnd(), sched::kRefreshMessage, 0, 0); }
    std::string agentPath() const { return folder.path() + "Scheduled_Maintenance.exe"; }
    TfrmSched w;
};

} // namespace

TEST_F(SchedWindow, PagesAndTextsAsTheUserSeesThem) {
    w.create();
    EXPECT_EQ(w.caption(), "Scheduled Maintenance");
    EXPECT_EQ(w.pcSched.visiblePageCaptions(),
              (std::vector<std::string>{"Junk Files", "Privacy", "Registry Cleaner", "General Options"}));
    for (Task t : sched::kAllTasks) {
        auto& c = w.controlsOf(t);
        EXPECT_EQ(c.lblSchedCaption.caption(), "Schedule:");
        EXPECT_EQ(c.lblLastCaption.caption(), "Last Run:");
        EXPECT_EQ(c.lblNextCaption.caption(), "Next Run:");
        // A task never scheduled: no schedule, never run, no next run.
        EXPECT_EQ(c.lblSched.caption(), "None");
        EXPECT_EQ(c.lblLast.caption(), "Never");
        EXPECT_EQ(c.lblNext.caption(), "---");
        EXPECT_EQ(c.cbEnabled.caption(), "&Enabled?");
        EXPECT_EQ(c.cbEnabled.hint(), "Enable/Disable Sheduled Maintenance for this tool");
        EXPECT_EQ(c.cbLog.caption(), t == Task::Registry ? "&Save To Log?" : "&Save To Log");
        EXPECT_EQ(c.cbProgress.caption(), "S&how progess window");
        EXPECT_EQ(c.lblEventLog.caption(), "Event Log");
        EXPECT_EQ(c.cmdView.caption(), "View in &Text Editor");
        EXPECT_EQ(c.cmdClear.caption(), "Clear &Log");
        EXPECT_EQ(c.cmdChange.caption(), "&Change Schedule...");
        EXPECT_EQ(c.cmdDefine.caption(), "&Define Actions...");
        EXPECT_EQ(c.cmdRunNow.caption(), "&Run Now");
        EXPECT_EQ(c.meLog.text(), "No events logged");
    }
    EXPECT_EQ(w.cbOnlyScan.caption(), "&Only perform maintenance if primary drive");
    EXPECT_EQ(w.lblSpaceIs.caption(), "space is less than");
    EXPECT_EQ(w.lblMegabytes.caption(), "megabytes");
    EXPECT_EQ(w.edSpaceFree.text(), "100");
    EXPECT_EQ(w.udSpaceFree.minimum(), 1);
    EXPECT_EQ(w.udSpaceFree.maximum(), 999);
    EXPECT_EQ(w.udSpaceFree.increment(), 10);
    EXPECT_FALSE(w.edSpaceFree.enabled());
    EXPECT_EQ(w.cmdExit.caption(), "&Exit");
    EXPECT_EQ(w.cmdHelp.caption(), "&Help");
}

TEST_F(SchedWindow, RegistryPageOnlyForAnAdministrator) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, false});
    w.create();
    EXPECT_EQ(w.pcSched.visiblePageCaptions(), (std::vector<std::string>{"Junk Files", "Privacy", "General Options"}));
}

TEST_F(SchedWindow, FirstEnableWritesEveryFiveDaysAtEightAndStartsTheAgent) {
    w.create();
    ASSERT_TRUE(w.junk.cbEnabled.click());
    auto k = TaskKey(Task::Junk);
    EXPECT_EQ(k.readInt("Enabled"), 1);
    EXPECT_EQ(k.readInt("SchedType"), 2);
    EXPECT_EQ(k.readString("Params"), "5|0.333333333333485");
    EXPECT_EQ(ReadTime(Task::Junk, "NextRun"), EncodeDate(2024, 5, 7)); // the next midnight
    EXPECT_EQ(w.junk.lblSched.caption(), "Every 5 Days at " + ShortTime(1.0 / 3.0));
    EXPECT_EQ(w.junk.lblLast.caption(), "Never");
    EXPECT_EQ(w.junk.lblNext.caption(), DateTimeToStr(EncodeDate(2024, 5, 7)));
    EXPECT_TRUE(w.junk.cbLog.enabled());

    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "OPEN");
    EXPECT_EQ(shell.requests()[0].file, agentPath());
    EXPECT_EQ(shell.requests()[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(RunValue("Scheduled Maintenance"), agentPath());
}

TEST_F(SchedWindow, EnablingAgainChangesNothingStoredButEnabled) {
    w.create();
    w.junk.cbEnabled.click();
    w.junk.cbEnabled.click(); // off
    EXPECT_EQ(TaskKey(Task::Junk).readInt("Enabled"), 0);
    EXPECT_FALSE(w.junk.cbLog.enabled());
    EXPECT_FALSE(w.junk.lblSched.enabled());
    auto before = TaskKey(Task::Junk).values();
    sched::SetNowForTesting(kNow + 3); // a later day must not move the stored next run
    w.junk.cbEnabled.click();
    auto after = TaskKey(Task::Junk).values();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].name, after[i].name);
        if (before[i].name != "Enabled") {
            EXPECT_EQ(before[i].data, after[i].data) << before[i].name;
        }
    }
    EXPECT_EQ(TaskKey(Task::Junk).readInt("Enabled"), 1);
    EXPECT_EQ(w.junk.lblNext.caption(), "Overdue");
}

TEST_F(SchedWindow, UncheckingTheLastBoxClosesTheAgentAndRemovesItsStartUpValue) {
    FakeAgentWindow agent;
    WriteSchedule(Task::Junk, true, 0, "30");
    WriteSchedule(Task::Eraser, true, 0, "30");
    platform::RegKey::Create(HKEY_CURRENT_USER, sched::kRunKey).writeString("Scheduled Maintenance", agentPath());
    w.create();
    ASSERT_TRUE(w.junk.cbEnabled.checked());
    w.junk.cbEnabled.click();
    EXPECT_EQ(FakeAgentWindow::Closes(), 0); // the eraser task still needs it
    EXPECT_TRUE(RunValue("Scheduled Maintenance"));
    w.eraser.cbEnabled.click();
    EXPECT_EQ(FakeAgentWindow::Closes(), 1);
    EXPECT_FALSE(agent.alive());
    EXPECT_FALSE(RunValue("Scheduled Maintenance"));
    EXPECT_TRUE(shell.requests().empty());
}

TEST_F(SchedWindow, CheckingWhileTheAgentRunsStartsNoSecondAgent) {
    FakeAgentWindow agent;
    w.create();
    w.eraser.cbEnabled.click();
    EXPECT_TRUE(shell.requests().empty());
    EXPECT_EQ(FakeAgentWindow::Closes(), 0);
    EXPECT_EQ(TaskKey(Task::Eraser).readInt("SchedType"), 2);
}

TEST_F(SchedWindow, TypeFiveRunsAtWindowsStartThroughItsOwnStartUpEntry) {
    WriteSchedule(Task::Junk, true, 5, "");
    platform::RegKey::Create(HKEY_CURRENT_USER, sched::kRunKey)
        .writeString("Clean Junk Files at StartUp", platform::ExecutablePath() + " /CleanJunk");
    FakeAgentWindow agent;
    w.create();
    EXPECT_EQ(w.junk.lblSched.caption(), "When Windows is Started");
    EXPECT_EQ(w.junk.lblNext.caption(), "Next Time Windows Starts");
    w.junk.cbEnabled.click();
    EXPECT_FALSE(RunValue("Clean Junk Files at StartUp"));
    w.junk.cbEnabled.click();
    EXPECT_EQ(RunValue("Clean Junk Files at StartUp"), platform::ExecutablePath() + " /CleanJunk");
    EXPECT_FALSE(RunValue("Erase History at StartUp"));
}

TEST_F(SchedWindow, ScheduleTextsOfEveryTypeAndTheRefreshMessage) {
    w.create();
    const double next = EncodeDateTime(2024, 5, 8, 9, 15, 0);
    struct Case {
        int type;
        const char* params;
        std::string sched, next;
    } cases[] = {
        {0, "15", "Every 15 Minutes", DateTimeToStr(next)},
        {1, "5|30", "Every 5 Hours at 30 minutes after the hour", DateTimeToStr(next)},
        {2, "5|0.5", "Every 5 Days at " + ShortTime(0.5), DateTimeToStr(next)},
        {3, "2|3", "Every 2 Weeks at starting on Wednesday", DateTimeToStr(next)},
        {4, "1|15", "Every 1 Months starting on day 15", DateTimeToStr(next)},
        {5, "", "When Windows is Started", "Next Time Windows Starts"},
        {6, "", "When Windows is Shut Down", "Next Time Windows is Shut Down"},
    };
    for (const auto& c : cases) {
        WriteSchedule(Task::Eraser, true, c.type, c.params);
        WriteTime(Task::Eraser, "NextRun", next);
        refresh();
        EXPECT_EQ(w.eraser.lblSched.caption(), c.sched) << c.type;
        EXPECT_EQ(w.eraser.lblNext.caption(), c.next) << c.type;
        EXPECT_EQ(w.eraser.lblLast.caption(), "Never") << c.type;
    }
}

TEST_F(SchedWindow, NextRunReadsOverdueOnceItsTimeHasCome) {
    WriteSchedule(Task::Junk, true, 0, "30");
    WriteTime(Task::Junk, "NextRun", kNow);
    WriteTime(Task::Junk, "LastRan", EncodeDateTime(2024, 5, 6, 13, 50, 0));
    w.create();
    EXPECT_EQ(w.junk.lblNext.caption(), "Overdue");
    EXPECT_EQ(w.junk.lblLast.caption(), DateTimeToStr(EncodeDateTime(2024, 5, 6, 13, 50, 0)));
    WriteTime(Task::Junk, "NextRun", kNow + 1.0 / 86400);
    refresh();
    EXPECT_EQ(w.junk.lblNext.caption(), DateTimeToStr(kNow + 1.0 / 86400));
}

TEST_F(SchedWindow, AfterARunWithoutNextRunTheNextComesFromTheLastRunAndIsNotStored) {
    WriteSchedule(Task::Junk, true, 1, "5|30");
    WriteTime(Task::Junk, "LastRan", EncodeDateTime(2024, 5, 6, 10, 17, 45));
    w.create();
    EXPECT_EQ(w.junk.lblNext.caption(), DateTimeToStr(EncodeDateTime(2024, 5, 6, 15, 30, 45)));
    EXPECT_FALSE(ReadTime(Task::Junk, "NextRun"));
}

TEST_F(SchedWindow, NeverRunAndNoNextRunStoresOneAnHourFromNow) {
    WriteSchedule(Task::Registry, false, 4, "1|15");
    w.create();
    EXPECT_EQ(ReadTime(Task::Registry, "NextRun"), kNow + 1.0 / 24);
    EXPECT_EQ(w.reg.lblNext.caption(), DateTimeToStr(kNow + 1.0 / 24));
    EXPECT_EQ(w.reg.lblLast.caption(), "Never");
}

TEST_F(SchedWindow, BrokenSchedulesAreReportedAndTheLabelsKeepTheirTexts) {
    WriteSchedule(Task::Junk, true, 0, "30");
    WriteTime(Task::Junk, "NextRun", kNow + 1);
    w.create();
    const std::string sched0 = w.junk.lblSched.caption(), next0 = w.junk.lblNext.caption();
    auto expectUnchanged = [&] {
        EXPECT_EQ(w.junk.lblSched.caption(), sched0);
        EXPECT_EQ(w.junk.lblLast.caption(), "Never");
        EXPECT_EQ(w.junk.lblNext.caption(), next0);
    };
    {
        testsupport::ScriptedDialogs dialogs;
        dialogs.expectMessage("'abc' is not a valid integer value");
        TaskKey(Task::Junk).writeString("Params", "abc");
        refresh();
        expectUnchanged();
    }
    {
        testsupport::ScriptedDialogs dialogs;
        dialogs.expectMessage("not an 8-byte date and time");
        TaskKey(Task::Junk).writeString("Params", "30");
        uint32_t four = 7;
        TaskKey(Task::Junk).writeBinary("NextRun", &four, sizeof four);
        refresh();
        expectUnchanged();
    }
    {
        testsupport::ScriptedDialogs dialogs;
        dialogs.expectMessage("The schedule type -1 is not known");
        TaskKey(Task::Junk).deleteValue("NextRun");
        TaskKey(Task::Junk).writeInt("SchedType", -1);
        refresh();
        expectUnchanged();
        EXPECT_FALSE(ReadTime(Task::Junk, "NextRun")); // nothing written for a broken schedule
    }
}

TEST_F(SchedWindow, ABrokenScheduleAtOpeningIsReportedAndTheWindowStillOpens) {
    WriteSchedule(Task::Eraser, true, 2, "5|x");
    WriteSchedule(Task::Junk, true, 0, "10");
    WriteTime(Task::Junk, "NextRun", kNow + 1);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("'x' is not a valid floating point value");
    w.create();
    EXPECT_EQ(w.eraser.lblSched.caption(), "None");
    EXPECT_EQ(w.junk.lblSched.caption(), "Every 10 Minutes");
}

TEST_F(SchedWindow, RunNowDropsTheNextRunAndStartsTheProgramWithTheSwitch) {
    FakeToolLog log;
    sched::SetToolForTesting(Task::Junk, [&] {
        return std::make_unique<FakeTool>(std::make_unique<TfrmFake>(log, TfrmFake::Mode::Timer, 0), CaptionSpec());
    });
    WriteSchedule(Task::Junk, true, 0, "30");
    WriteTime(Task::Junk, "NextRun", kNow + 1);
    w.create();
    w.junk.cmdRunNow.click();
    EXPECT_FALSE(ReadTime(Task::Junk, "NextRun"));
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, folder.path() + "Vantrel.exe");
    EXPECT_EQ(shell.requests()[0].parameters, "/CleanJunk");
    EXPECT_EQ(shell.requests()[0].directory, "");
    EXPECT_EQ(shell.requests()[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(log.scansStarted, 0); // the run happens in the new process

    // When the program cannot be started the schedule stays as it was.
    WriteTime(Task::Junk, "NextRun", kNow + 2);
    shell.succeed = false;
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("could not be started");
    w.junk.cmdRunNow.click();
    EXPECT_EQ(ReadTime(Task::Junk, "NextRun"), kNow + 2);
}

TEST_F(SchedWindow, RunNowOfAToolNotInTheProgramSaysSoAndChangesNothing) {
    WriteSchedule(Task::Eraser, true, 0, "30");
    WriteTime(Task::Eraser, "NextRun", kNow + 1);
    w.create();
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("This tool is not part of this version of Vantrel.");
    w.eraser.cmdRunNow.click();
    EXPECT_EQ(ReadTime(Task::Eraser, "NextRun"), kNow + 1);
    EXPECT_TRUE(shell.requests().empty());
}

TEST_F(SchedWindow, LogViewsShowTheUnattendedLogsWithTheirButtons) {
    folder.write("JunkLog.txt", "first line\r\nsecond line\r\n");
    w.create();
    w.show();
    EXPECT_EQ(w.junk.meLog.text(), "first line\r\nsecond line\r\n");
    DWORD start = 0, end = 0;
    SendMessageW(w.junk.meLog.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 25u); // caret at the end
    EXPECT_TRUE(w.junk.cmdView.enabled());
    EXPECT_TRUE(w.junk.cmdClear.enabled());
    EXPECT_EQ(w.reg.meLog.text(), "No events logged");
    EXPECT_FALSE(w.reg.cmdView.enabled());
    EXPECT_FALSE(w.reg.cmdClear.enabled());

    folder.write("RegistryLog.txt", "reg\r\n");
    w.pcSched.setActivePage(2);
    EXPECT_EQ(w.reg.meLog.text(), "reg\r\n");
    EXPECT_TRUE(w.pnlLogPics.visible());
    w.pcSched.setActivePage(3);
    EXPECT_FALSE(w.pnlLogPics.visible()); // hidden on "General Options"
}

TEST_F(SchedWindow, ViewInTextEditorOpensTheLogOrSaysNothingWasLogged) {
    std::string log = folder.write("EraserLog.txt", "x\r\n");
    w.create();
    w.show();
    w.eraser.cmdView.click();
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "Open");
    EXPECT_EQ(shell.requests()[0].file, log);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("No events have been logged for this operation yet.");
    w.LogView("JunkLog.txt");
    EXPECT_EQ(shell.requests().size(), 1u);
}

TEST_F(SchedWindow, ClearLogAsksFirstAndDeletesOnlyOnYes) {
    std::string log = folder.write("JunkLog.txt", "x\r\n");
    w.create();
    w.show();
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to permanently clear the log file associated with this operation?",
                          MsgResult::No);
    w.junk.cmdClear.click();
    EXPECT_TRUE(platform::FileExists(log));
    dialogs.expectMessage("Are you sure you want to permanently clear the log file associated with this operation?",
                          MsgResult::Yes);
    w.junk.cmdClear.click();
    EXPECT_FALSE(platform::FileExists(log));
    EXPECT_EQ(w.junk.meLog.text(), "No events logged");
    EXPECT_FALSE(w.junk.cmdClear.enabled());
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[0].caption, "Please confirm");
}

TEST_F(SchedWindow, LogAndProgressBoxesFollowTheirFlags) {
    app::WriteRegBool(sched::InfoOf(Task::Eraser).key, "LogEvents", false);
    w.create();
    w.show();
    EXPECT_FALSE(w.eraser.cbLog.checked());
    EXPECT_TRUE(w.eraser.cbProgress.checked()); // missing = on
    EXPECT_TRUE(w.junk.cbLog.checked());
    w.eraser.cbEnabled.click(); // the boxes can be used once the task is enabled
    w.eraser.cbLog.click();
    w.eraser.cbProgress.click();
    EXPECT_EQ(TaskKey(Task::Eraser).readInt("LogEvents"), 1);
    EXPECT_EQ(TaskKey(Task::Eraser).readInt("ShowProgress"), 0);
}

TEST_F(SchedWindow, GeneralOptionsAreWrittenOnEveryChange) {
    const char* key = sched::kScheduleKey;
    w.create();
    w.cbOnlyScan.click();
    EXPECT_EQ(app::ReadRegInt(key, "OnlyScan"), 1);
    EXPECT_EQ(app::ReadRegInt(key, "SpaceFree"), 100);
    EXPECT_TRUE(w.edSpaceFree.enabled());
    w.udSpaceFree.click(true);
    EXPECT_EQ(w.edSpaceFree.text(), "110");
    EXPECT_EQ(app::ReadRegInt(key, "SpaceFree"), 110);
    w.edSpaceFree.setText("250");
    EXPECT_EQ(app::ReadRegInt(key, "SpaceFree"), 250);
    w.edSpaceFree.setText("0"); // not a limit: the stored one stays
    EXPECT_EQ(app::ReadRegInt(key, "SpaceFree"), 250);
    w.edSpaceFree.setText("995");
    w.udSpaceFree.click(true);
    EXPECT_EQ(w.edSpaceFree.text(), "999");
    EXPECT_EQ(app::ReadRegInt(key, "SpaceFree"), 999);
    w.cbOnlyScan.click();
    EXPECT_EQ(app::ReadRegInt(key, "OnlyScan"), 0);
    EXPECT_FALSE(w.edSpaceFree.enabled());
    EXPECT_FALSE(w.udSpaceFree.click(true));
}

TEST_F(SchedWindow, ClosingWritesTheTasksAndTheWindowStateAndOpeningRestoresIt) {
    WriteSchedule(Task::Junk, true, 0, "30");
    w.create();
    w.show();
    w.cbOnlyScan.click();
    w.udSpaceFree.click(false);
    w.cmdExit.click();
    EXPECT_FALSE(w.isOpen());
    EXPECT_EQ(TaskKey(Task::Junk).readInt("Enabled"), 1);
    EXPECT_EQ(TaskKey(Task::Eraser).readInt("Enabled"), 0);
    EXPECT_EQ(TaskKey(Task::Registry).readInt("Enabled"), 0);
    app::RegIniFile pos(std::string(sched::kScheduleKey) + "\\pos");
    EXPECT_EQ(pos.readString("", "cbJunkEnabled_Checked", ""), "True");
    EXPECT_EQ(pos.readString("", "cbEraserEnabled_Checked", ""), "False");
    EXPECT_EQ(pos.readString("", "cbOnlyScan_Checked", ""), "True");
    EXPECT_EQ(pos.readString("", "edSpaceFree_Text", ""), "90");
    EXPECT_TRUE(pos.valueExists("", "Left"));

    TfrmSched again;
    again.create();
    EXPECT_TRUE(again.cbOnlyScan.checked());
    EXPECT_EQ(again.edSpaceFree.text(), "90");
    EXPECT_TRUE(again.edSpaceFree.enabled());
}

TEST_F(SchedWindow, DefineActionsShowsTheHintThenTheToolWindowWithItsCaptionPrefixed) {
    FakeToolLog log;
    sched::SetToolForTesting(Task::Junk, [&] {
        return std::make_unique<FakeTool>(std::make_unique<TfrmFake>(log, TfrmFake::Mode::Timer, 0), CaptionSpec());
    });
    std::vector<std::string> modal;
    auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
        modal.push_back(f.className() + ": " + f.caption());
        f.close();
    });
    w.create();
    w.junk.cmdDefine.click();
    platform::Form::SetModalHook(previous);
    ASSERT_EQ(modal.size(), 2u);
    EXPECT_EQ(modal[0].rfind("TfrmHint: ", 0), 0u) << modal[0];
    EXPECT_EQ(modal[1], "TfrmFake: Modifying Scheduled Maintenance Properties - Fake Tool");
    EXPECT_EQ(log.scansStarted, 0);
}

TEST_F(SchedWindow, HelpOpensTheSchedulingTopic) {
    const std::string page = "Unattended_scheduling_with_the_Scheduled_Maintenance_Tool.html";
    folder.mkdir("Help");
    ASSERT_TRUE(
        platform::CopyFileTo(testsupport::BuildFolder() + "Help\\" + page, folder.path() + "Help\\" + page, false));
    w.create();
    w.cmdHelp.click();
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, folder.path() + "Help\\" + page);
}

TEST_F(SchedWindow, EveryPageLiesBelowTheRowOfTabs) {
    w.create();
    RECT tab{};
    ASSERT_TRUE(TabCtrl_GetItemRect(w.pcSched.hwnd(), 0, &tab));
    MapWindowPoints(w.pcSched.hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&tab), 2);
    for (int i = 0; i < w.pcSched.pageCount(); ++i) {
        RECT page{};
        GetWindowRect(w.pcSched.page(i).hwnd(), &page);
        EXPECT_GE(page.top, tab.bottom) << w.pcSched.pageCaption(i);
    }
}
