// "Scheduled Item Properties": options, fields, defaults, the next-run proposal and what "&OK" writes.
#include <gtest/gtest.h>

#include <functional>

#include "platform/files.h"
#include "platform/os.h"
#include "sched/frm_sched.h"
#include "sched/frm_sprops.h"
#include "sched_fixture.h"
#include "support/scripted_dialogs.h"

using namespace schedtest;
using sched::Task;
using sched::TfrmSProps;
using textfmt::EncodeDate;
using textfmt::EncodeDateTime;
using textfmt::EncodeTime;

namespace {

class SProps : public SchedFixture {
protected:
    // Opens the dialog of a task modally and lets the test drive it from inside its loop.
    void run(Task task, bool enabled, const std::function<void(TfrmSProps&)>& drive, bool hideShutdown = false) {
        TfrmSProps props(sched::InfoOf(task).key, enabled);
        if (hideShutdown) props.hideShutdownOption();
        auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
            auto& p = dynamic_cast<TfrmSProps&>(f);
            drive(p);
            if (p.isOpen() && p.visible()) p.cmdCancel.click();
        });
        props.showModal();
        platform::Form::SetModalHook(previous);
    }
    static void ok(TfrmSProps& p) { p.cmdOK.click(); }
    platform::RegKey key(Task t = Task::Junk) { return TaskKey(t); }
};

} // namespace

TEST_F(SProps, ANewTaskProposesEveryFiveDaysAndAnHourFromNow) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, true});
    run(Task::Eraser, false, [](TfrmSProps& p) {
        EXPECT_EQ(p.caption(), "Scheduled Item Properties");
        EXPECT_EQ(p.lblIntro.caption(), "Use the options below to specify when this maintenance is to be performed.");
        EXPECT_EQ(p.selectedType(), 2);
        EXPECT_EQ(p.optMinutes.caption(), "&Every...");
        for (auto* o : {&p.optHours, &p.optDays, &p.optWeeks, &p.optMonths})
            EXPECT_EQ(o->caption(), "Every...");
        EXPECT_EQ(p.optWinStart.caption(), "Each time Windows starts");
        EXPECT_EQ(p.optShutdown.caption(), "When you shut down Windows");
        EXPECT_TRUE(p.optShutdown.visible()); // the trace erase on Windows 95/98
        EXPECT_EQ(p.gbTimed.caption(), "Timed Intervals");
        EXPECT_EQ(p.gbExternal.caption(), "Externally Triggered Intervals");
        EXPECT_EQ(p.gbNextRun.caption(), "Next Run Date and Time");
        EXPECT_EQ(p.lblMinutes.caption(), "Minutes");
        EXPECT_EQ(p.lblHoursAt.caption(), "Hours at");
        EXPECT_EQ(p.lblMinutesAfter.caption(), "minutes after the hour");
        EXPECT_EQ(p.lblDaysAt.caption(), "Days at the following time:");
        EXPECT_EQ(p.lblWeeksOn.caption(), "Weeks starting on ");
        EXPECT_EQ(p.lblMonthsOn.caption(), "Months starting on day");
        EXPECT_EQ(p.lblOfMonth.caption(), "of the month");
        EXPECT_EQ(p.lblNextOn.caption(), "On");
        EXPECT_EQ(p.lblNextAt.caption(), "at");
        EXPECT_EQ(p.cmdOK.caption(), "&OK");
        EXPECT_EQ(p.cmdCancel.caption(), "&Cancel");
        EXPECT_EQ(p.cmdHelp.caption(), "&Help");
        struct Field {
            platform::Edit& edit;
            sched::UpDown& ud;
            const char* text;
            int lo, hi, step;
        } fields[] = {{p.edMinutes, p.udMinutes, "30", 1, 59, 1},
                      {p.edHours, p.udHours, "5", 1, 99, 1},
                      {p.edHourMinutes, p.udHourMinutes, "30", 1, 59, 5},
                      {p.edDays, p.udDays, "5", 1, 99, 1},
                      {p.edWeeks, p.udWeeks, "1", 1, 99, 1},
                      {p.edMonths, p.udMonths, "1", 1, 99, 1},
                      {p.edMonthDay, p.udMonthDay, "1", 1, 31, 1}};
        for (auto& f : fields) {
            EXPECT_EQ(f.edit.text(), f.text) << f.edit.name();
            EXPECT_EQ(f.ud.minimum(), f.lo) << f.edit.name();
            EXPECT_EQ(f.ud.maximum(), f.hi) << f.edit.name();
            EXPECT_EQ(f.ud.increment(), f.step) << f.edit.name();
        }
        EXPECT_EQ(p.deDaysTime.timeOfDay(), 0);
        EXPECT_EQ(p.cboWeekday.text(), "Sunday");
        EXPECT_EQ(p.cboWeekday.count(), 7);
        EXPECT_EQ(p.deNextDate.date(), EncodeDate(2024, 5, 6));
        EXPECT_NEAR(p.deNextTime.timeOfDay(), EncodeTime(15, 20, 0), 1e-9);
        EXPECT_TRUE(p.deNextDate.enabled());
    });
    EXPECT_FALSE(key(Task::Eraser).hasValue("SchedType")); // closed with Cancel
}

TEST_F(SProps, AnHourFromLateEveningIsTomorrow) {
    sched::SetNowForTesting(EncodeDateTime(2024, 5, 6, 23, 30, 0));
    run(Task::Junk, false, [](TfrmSProps& p) {
        EXPECT_EQ(p.deNextDate.date(), EncodeDate(2024, 5, 7));
        EXPECT_NEAR(p.deNextTime.timeOfDay(), EncodeTime(0, 30, 0), 1e-9);
        p.cmdOK.click();
    });
    EXPECT_NEAR(*ReadTime(Task::Junk, "NextRun"), EncodeDateTime(2024, 5, 7, 0, 30, 0), 1e-9);
}

TEST_F(SProps, ShutDownIsOfferedOnlyForTheEraseAndNeverOnNT) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, true});
    WriteSchedule(Task::Eraser, true, 6, "");
    run(Task::Eraser, true, [](TfrmSProps& p) {
        EXPECT_TRUE(p.optShutdown.visible());
        EXPECT_EQ(p.selectedType(), 6);
        EXPECT_FALSE(p.deNextDate.enabled()); // pickers only for timed options
        EXPECT_FALSE(p.deNextTime.enabled());
        p.optDays.click();
        EXPECT_TRUE(p.deNextDate.enabled());
        EXPECT_FALSE(p.optShutdown.checked());
    });
    run(
        Task::Junk, true, [](TfrmSProps& p) { EXPECT_FALSE(p.optShutdown.visible()); }, true);

    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
    run(Task::Eraser, true, [](TfrmSProps& p) {
        EXPECT_FALSE(p.optShutdown.visible());
        EXPECT_EQ(p.selectedType(), 2);
        EXPECT_TRUE(p.optDays.checked());
    });
}

TEST_F(SProps, FieldsAreFilledFromTheStoredSchedule) {
    struct Case {
        int type;
        const char* params;
        std::function<void(TfrmSProps&)> check;
    } cases[] = {
        {0, "45", [](TfrmSProps& p) { EXPECT_EQ(p.edMinutes.text(), "45"); }},
        {1, "12|15",
         [](TfrmSProps& p) {
             EXPECT_EQ(p.edHours.text(), "12");
             EXPECT_EQ(p.edHourMinutes.text(), "15");
         }},
        {2, "7|0.75",
         [](TfrmSProps& p) {
             EXPECT_EQ(p.edDays.text(), "7");
             EXPECT_NEAR(p.deDaysTime.timeOfDay(), 0.75, 1e-9);
         }},
        {3, "3|5",
         [](TfrmSProps& p) {
             EXPECT_EQ(p.edWeeks.text(), "3");
             EXPECT_EQ(p.cboWeekday.text(), "Friday");
         }},
        {4, "2|31",
         [](TfrmSProps& p) {
             EXPECT_EQ(p.edMonths.text(), "2");
             EXPECT_EQ(p.edMonthDay.text(), "31");
         }},
    };
    for (auto& c : cases) {
        WriteSchedule(Task::Junk, true, c.type, c.params);
        run(Task::Junk, true, [&](TfrmSProps& p) {
            EXPECT_EQ(p.selectedType(), c.type);
            c.check(p);
        });
    }
}

TEST_F(SProps, OkWritesTheTypeAndItsNumbers) {
    struct Case {
        std::function<void(TfrmSProps&)> set;
        int type;
        const char* params;
    } cases[] = {
        {[](TfrmSProps& p) {
             p.optMinutes.click();
             p.edMinutes.setText(" 15 ");
         },
         0, "15"},
        {[](TfrmSProps& p) {
             p.optHours.click();
             p.udHourMinutes.click(true);
         },
         1, "5|35"},
        {[](TfrmSProps& p) {
             p.optDays.click();
             p.deDaysTime.setValue(0.5);
         },
         2, "5|0.5"},
        {[](TfrmSProps& p) {
             p.optWeeks.click();
             p.udWeeks.click(true);
             p.cboWeekday.select("Wednesday");
         },
         3, "2|3"},
        {[](TfrmSProps& p) {
             p.optMonths.click();
             p.edMonthDay.setText("31");
         },
         4, "1|31"},
        {[](TfrmSProps& p) { p.optWinStart.click(); }, 5, ""},
    };
    for (auto& c : cases) {
        run(Task::Registry, false, [&](TfrmSProps& p) {
            c.set(p);
            p.cmdOK.click();
            EXPECT_FALSE(p.visible());
        });
        EXPECT_EQ(key(Task::Registry).readInt("SchedType"), c.type);
        EXPECT_EQ(key(Task::Registry).readString("Params"), c.params);
    }
}

TEST_F(SProps, TheProposedNextRunIsKeptExactlyWhenOkIsPressedWithoutChanges) {
    WriteSchedule(Task::Junk, true, 0, "30");
    const double next = EncodeDateTime(2024, 5, 9, 23, 30, 0, 250);
    WriteTime(Task::Junk, "NextRun", next);
    run(Task::Junk, true, [](TfrmSProps& p) {
        EXPECT_EQ(p.deNextDate.date(), EncodeDate(2024, 5, 9));
        EXPECT_NEAR(p.deNextTime.timeOfDay(), EncodeTime(23, 30, 0), 1e-9);
        p.cmdOK.click();
    });
    EXPECT_EQ(ReadTime(Task::Junk, "NextRun"), next);

    run(Task::Junk, true, [](TfrmSProps& p) {
        p.deNextDate.setValue(EncodeDate(2024, 6, 1));
        p.deNextTime.setValue(EncodeTime(7, 5, 0));
        p.cmdOK.click();
    });
    EXPECT_EQ(ReadTime(Task::Junk, "NextRun"), EncodeDateTime(2024, 6, 1, 7, 5, 0));
}

TEST_F(SProps, StartUpEntryOnlyForAnEnabledTypeFiveTask) {
    auto winStart = [](TfrmSProps& p) {
        p.optWinStart.click();
        p.cmdOK.click();
    };
    run(Task::Junk, false, winStart);
    EXPECT_EQ(key().readInt("SchedType"), 5);
    EXPECT_FALSE(RunValue("Clean Junk Files at StartUp"));

    run(Task::Junk, true, winStart);
    EXPECT_EQ(RunValue("Clean Junk Files at StartUp"), platform::ExecutablePath() + " /CleanJunk");

    run(Task::Junk, true, [](TfrmSProps& p) {
        EXPECT_EQ(p.selectedType(), 5);
        EXPECT_FALSE(p.deNextDate.enabled());
        p.optDays.click();
        p.cmdOK.click();
    });
    EXPECT_FALSE(RunValue("Clean Junk Files at StartUp"));
}

TEST_F(SProps, ANumberOutsideItsRangeIsRefusedAndNothingIsWritten) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Please enter a whole number from 1 to 59 in this field.");
    run(Task::Junk, false, [](TfrmSProps& p) {
        p.optMinutes.click();
        p.edMinutes.setText("0");
        p.cmdOK.click();
        EXPECT_TRUE(p.visible()); // still open
        EXPECT_TRUE(p.edMinutes.focused());
    });
    EXPECT_FALSE(key().hasValue("SchedType"));
    EXPECT_FALSE(key().hasValue("Params"));
}

TEST_F(SProps, ClosingTheDialogRefreshesTheScheduleWindow) {
    sched::TfrmSched w;
    w.create();
    WriteSchedule(Task::Junk, false, 2, "5|0.5");
    auto previous = platform::Form::SetModalHook([](platform::Form& f) {
        auto& p = dynamic_cast<TfrmSProps&>(f);
        EXPECT_FALSE(p.optShutdown.visible());
        p.optMinutes.click();
        p.cmdOK.click();
    });
    w.junk.cmdChange.click();
    platform::Form::SetModalHook(previous);
    EXPECT_EQ(w.junk.lblSched.caption(), "Every 30 Minutes");
    EXPECT_EQ(w.junk.lblNext.caption(), textfmt::DateTimeToStr(kNow + 1.0 / 24));
}
