// The unattended runs, driven against a stand-in tool window through the same adapter interface
// as the program's tools.
#include <gtest/gtest.h>

#include "app/progress.h"
#include "app/settings.h"
#include "fake_tool.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/strings.h"
#include "sched/frm_sched.h"
#include "sched/unattended.h"
#include "sched_fixture.h"
#include "support/scripted_dialogs.h"

using namespace schedtest;
using sched::Task;
using sched::TfrmSched;

namespace {

// A top-level window titled "Scheduled Maintenance" that counts the refresh messages it receives.
class RefreshListener {
public:
    RefreshListener() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SchedTestListener";
        RegisterClassW(&wc);
        m_hwnd = CreateWindowW(L"SchedTestListener", L"Scheduled Maintenance", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, wc.hInstance, nullptr);
        Count() = 0;
    }
    ~RefreshListener() { DestroyWindow(m_hwnd); }
    static int& Count() {
        static int n = 0;
        return n;
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == sched::kRefreshMessage && w == 0 && l == 0) ++Count();
        return DefWindowProcW(h, m, w, l);
    }
    HWND m_hwnd;
};

class UnattendedRun : public SchedFixture {
protected:
    void TearDown() override {
        for (Task t : sched::kAllTasks)
            sched::SetToolForTesting(t, {});
        SchedFixture::TearDown();
    }

    // Installs the stand-in for a task; configure() sees each window made.
    void useFake(Task task, TfrmFake::Mode mode, int rows, sched::DriveSpec spec,
                 std::function<void(TfrmFake&)> configure = {}, std::function<void(FakeTool&)> adapt = {}) {
        sched::SetToolForTesting(task, [this, mode, rows, spec, configure, adapt] {
            auto form = std::make_unique<TfrmFake>(log, mode, rows);
            if (configure) configure(*form);
            auto tool = std::make_unique<FakeTool>(std::move(form), spec);
            if (adapt) adapt(*tool);
            return tool;
        });
    }

    std::string junkLog() const { return testsupport::ReadText(folder.file("JunkLog.txt")); }

    FakeToolLog log;
    TfrmSched sched;
};

} // namespace

TEST_F(UnattendedRun, JunkRunRemovesEverythingFoundAndRecordsTheRun) {
    useFake(Task::Junk, TfrmFake::Mode::Timer, 3, CaptionSpec());
    sched.create();
    sched.PerformJunk();

    EXPECT_TRUE(log.unattended);
    EXPECT_TRUE(log.logUnattended); // "LogEvents" missing = on
    EXPECT_EQ(log.scansStarted, 1);
    EXPECT_EQ(log.removed, (std::vector<std::string>{"file1.tmp", "file2.tmp", "file3.tmp"}));
    EXPECT_TRUE(log.closed);
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);
    EXPECT_EQ(junkLog(), ""); // the tool writes its own lines; the run adds none when files were found
    EXPECT_EQ(sched.runningTool(), nullptr);
    EXPECT_EQ(sched.progressWindow(), nullptr);
    EXPECT_EQ(sched.caption(), "Scheduled Maintenance");
}

TEST_F(UnattendedRun, JunkRunThatFindsNothingSaysSoOnlyWhenLogging) {
    useFake(Task::Junk, TfrmFake::Mode::Timer, 0, CaptionSpec());
    sched.create();
    sched.PerformJunk();
    EXPECT_TRUE(log.removed.empty());
    EXPECT_EQ(junkLog(), "  Drives Already Clean: No junk files found\r\n");
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);

    platform::DeleteFileAt(folder.file("JunkLog.txt"));
    app::WriteRegBool(sched::InfoOf(Task::Junk).key, "LogEvents", false);
    sched::SetNowForTesting(kNow + 1);
    sched.PerformJunk();
    EXPECT_FALSE(log.logUnattended);
    EXPECT_FALSE(platform::FileExists(folder.file("JunkLog.txt")));
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow + 1);
}

TEST_F(UnattendedRun, ProgressWindowShowsTheTaskWhileTheToolWorksUnlessSwitchedOff) {
    std::string heading, status;
    bool cancelVisible = false;
    int samples = 0;
    useFake(Task::Junk, TfrmFake::Mode::Timer, 2, CaptionSpec(), [&](TfrmFake& f) {
        f.onRowFound = [&](int) {
            ++samples;
            if (auto* p = sched.progressWindow()) {
                heading = p->lblHeading.caption();
                status = p->lblStatus.caption();
                cancelVisible = p->lblCancel.visible();
            }
        };
    });
    sched.create();
    sched.PerformJunk();
    EXPECT_EQ(samples, 2);
    EXPECT_EQ(heading, "Performing Scheduled Maintenance");
    EXPECT_EQ(status, "Removing junk and obsolete files...");
    EXPECT_TRUE(cancelVisible);
    EXPECT_EQ(sched.progressWindow(), nullptr);

    heading.clear();
    app::WriteRegBool(sched::InfoOf(Task::Junk).key, "ShowProgress", false);
    sched.PerformJunk();
    EXPECT_EQ(samples, 4);
    EXPECT_EQ(heading, ""); // no progress window this time
    EXPECT_EQ(log.removed.size(), 4u);
}

TEST_F(UnattendedRun, CancelStopsTheScanAndTheFindingsSoFarAreStillRemoved) {
    for (auto mode : {TfrmFake::Mode::Timer, TfrmFake::Mode::InsideClick}) {
        log = {};
        std::string linkText;
        bool linkPlain = false;
        useFake(Task::Junk, mode, 50, CaptionSpec(), [&](TfrmFake& f) {
            f.onRowFound = [&](int n) {
                if (n != 2) return;
                auto* p = sched.progressWindow();
                ASSERT_NE(p, nullptr);
                EXPECT_TRUE(p->lblCancel.click());
                linkText = p->lblCancel.caption();
                linkPlain = p->lblCancel.plain();
                EXPECT_FALSE(p->lblCancel.click()); // further clicks do nothing
            };
        });
        if (!sched.isOpen()) sched.create();
        sched.PerformJunk();
        EXPECT_EQ(linkText, "Please Wait...");
        EXPECT_TRUE(linkPlain);
        EXPECT_EQ(log.scansStarted, 1);
        EXPECT_EQ(log.removed, (std::vector<std::string>{"file1.tmp", "file2.tmp"}));
        EXPECT_TRUE(log.closed);
        EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);
    }
}

const std::vector<std::string> kRegistryDone{"Scan successfully completed.", "Scan interrupted."};

TEST_F(UnattendedRun, CancelAfterTheScanHasFinishedStartsNoNewScan) {
    useFake(Task::Registry, TfrmFake::Mode::Timer, 1, StatusSpec(kRegistryDone), {},
            [&](FakeTool& t) { t.beforeRemove = [&] { EXPECT_TRUE(sched.progressWindow()->lblCancel.click()); }; });
    sched.create();
    sched.PerformRegClean();
    EXPECT_EQ(log.scansStarted, 1);
    EXPECT_EQ(log.removed, (std::vector<std::string>{"file1.tmp"}));
    EXPECT_EQ(ReadTime(Task::Registry, "LastRan"), kNow);
}

TEST_F(UnattendedRun, RegistryRunEndsOnTheStatusTextAndRemovesOnlyWhenSomethingWasFound) {
    useFake(Task::Registry, TfrmFake::Mode::InsideClick, 2, StatusSpec(kRegistryDone));
    sched.create();
    sched.PerformRegClean();
    EXPECT_EQ(log.removed.size(), 2u);

    log = {};
    useFake(Task::Registry, TfrmFake::Mode::Timer, 0, StatusSpec(kRegistryDone));
    sched.PerformRegClean();
    EXPECT_EQ(log.scansStarted, 1);
    EXPECT_TRUE(log.removed.empty());
    EXPECT_TRUE(log.closed);
    // Only the junk run writes the "already clean" line.
    EXPECT_FALSE(platform::FileExists(folder.file("RegistryLog.txt")));
    EXPECT_FALSE(platform::FileExists(folder.file("JunkLog.txt")));
}

TEST_F(UnattendedRun, AToolThatStopsWithoutItsFinishedSignStillEndsTheRun) {
    useFake(Task::Eraser, TfrmFake::Mode::StopsEarly, 3, StatusSpec({"You have been erased...  "}));
    sched.create();
    sched.PerformErase(); // returns: no endless wait
    EXPECT_EQ(log.scansStarted, 1);
    EXPECT_TRUE(log.removed.empty());
    EXPECT_TRUE(log.closed);
    EXPECT_EQ(ReadTime(Task::Eraser, "LastRan"), kNow);
}

TEST_F(UnattendedRun, EraseRunHidesTheCancelLink) {
    bool cancelVisible = true, sampled = false;
    useFake(Task::Eraser, TfrmFake::Mode::Timer, 1, StatusSpec({"Scan successfully completed."}), [&](TfrmFake& f) {
        f.onRowFound = [&](int) {
            sampled = sched.progressWindow() != nullptr;
            if (sampled) {
                cancelVisible = sched.progressWindow()->lblCancel.visible();
                EXPECT_EQ(sched.progressWindow()->lblStatus.caption(), "Erasing history and cache...");
            }
        };
    });
    sched.create();
    sched.PerformErase();
    EXPECT_TRUE(sampled);
    EXPECT_FALSE(cancelVisible);
}

TEST_F(UnattendedRun, AnOpenScheduleWindowIsToldToRefreshAndShowsTheRun) {
    useFake(Task::Junk, TfrmFake::Mode::Timer, 1, CaptionSpec());
    TfrmSched open; // the window from which "&Run Now" was pressed
    open.create();
    WriteSchedule(Task::Junk, true, 0, "30");
    WriteTime(Task::Junk, "NextRun", kNow + 0.5);
    SendMessageW(open.hwnd(), sched::kRefreshMessage, 0, 0);
    EXPECT_EQ(open.junk.lblLast.caption(), "Never");

    RefreshListener listener;
    sched.create();
    sched.PerformJunk();
    EXPECT_EQ(RefreshListener::Count(), 1);
    EXPECT_EQ(open.junk.lblLast.caption(), textfmt::DateTimeToStr(kNow));
    EXPECT_EQ(sched.caption(), "Scheduled Maintenance");
}

TEST_F(UnattendedRun, AFailingStepSkipsTheRestButTheWindowsGoAndTheBroadcastIsMade) {
    // A tool whose start button cannot be pressed.
    useFake(Task::Junk, TfrmFake::Mode::Timer, 1, CaptionSpec(), [](TfrmFake& f) {
        f.create();
        f.cmdGo.setEnabled(false);
    });
    RefreshListener listener;
    sched.create();
    EXPECT_THROW(sched.PerformJunk(), std::runtime_error);
    EXPECT_FALSE(ReadTime(Task::Junk, "LastRan"));
    EXPECT_FALSE(log.closed); // not closed through its own closing: nothing is counted
    EXPECT_EQ(sched.runningTool(), nullptr);
    EXPECT_EQ(sched.progressWindow(), nullptr);
    EXPECT_EQ(RefreshListener::Count(), 1);
    EXPECT_EQ(sched.caption(), "Scheduled Maintenance");
}

TEST_F(UnattendedRun, TheSwitchOfTheTraceEraseWithoutItsToolEndsAtOnceWritingNothing) {
    RefreshListener listener;
    EXPECT_TRUE(sched::RunSwitch(app::Switch::CleanHistory));
    EXPECT_FALSE(platform::KeyExists(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel"));
    EXPECT_EQ(RefreshListener::Count(), 0);
    EXPECT_EQ(testsupport::ReadText(folder.file("EraserLog.txt")), "");
}

TEST_F(UnattendedRun, SwitchRunsTheTaskOnAHiddenScheduleWindow) {
    bool scheduleWindowHidden = false;
    std::string titleDuringRun;
    useFake(Task::Junk, TfrmFake::Mode::Timer, 1, CaptionSpec(), [&](TfrmFake& f) {
        f.onRowFound = [&](int) {
            HWND h = FindWindowW(nullptr, L"Performing Scheduled Maintenance");
            titleDuringRun = h ? "Performing Scheduled Maintenance" : "";
            scheduleWindowHidden = h && !IsWindowVisible(h);
        };
    });
    EXPECT_TRUE(sched::RunSwitch(app::Switch::CleanJunk));
    EXPECT_EQ(titleDuringRun, "Performing Scheduled Maintenance");
    EXPECT_TRUE(scheduleWindowHidden);
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);
    EXPECT_FALSE(FindWindowW(nullptr, L"Performing Scheduled Maintenance"));
    EXPECT_FALSE(sched::RunSwitch(app::Switch::None));
    EXPECT_FALSE(sched::RunSwitch(app::Switch::CompleteCache));
    EXPECT_FALSE(sched::RunSwitch(app::Switch::Unknown));
}

TEST_F(UnattendedRun, SetScheduleShowsTheScheduleWindowModally) {
    std::string shown;
    auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
        shown = f.caption();
        f.close();
    });
    EXPECT_TRUE(sched::RunSwitch(app::Switch::SetSchedule));
    platform::Form::SetModalHook(previous);
    EXPECT_EQ(shown, "Scheduled Maintenance");
}
