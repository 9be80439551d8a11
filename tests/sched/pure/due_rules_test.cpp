#include "sched/pure/due_rules.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/pure/format.h"
#include "sched/pure/schedule_calc.h"

using namespace sched;
using textfmt::EncodeDateTime;

namespace {
const double kNow = EncodeDateTime(2024, 5, 6, 12, 0, 0);
constexpr double kMinute = 1.0 / 1440.0;

TaskSnapshot EveryThirtyMinutes(std::optional<double> nextRun) {
    TaskSnapshot t;
    t.enabled = true;
    t.schedType = kEveryMinutes;
    t.params = "30";
    t.nextRun = nextRun;
    return t;
}
} // namespace

TEST(DecideTimedTask, DueTaskRunsAndGetsItsNextRunFromNow) {
    auto d = DecideTimedTask(EveryThirtyMinutes(kNow - 5 * kMinute), kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::Run);
    ASSERT_TRUE(d.storeNextRun);
    EXPECT_NEAR(*d.storeNextRun, kNow + 30 * kMinute, 1e-9);
    // Exactly at the stored time counts as due.
    EXPECT_EQ(DecideTimedTask(EveryThirtyMinutes(kNow), kNow, {}, std::nullopt).action, DueAction::Run);
}

TEST(DecideTimedTask, LongOverdueTaskRunsOnceNotOncePerMissedTurn) {
    auto d = DecideTimedTask(EveryThirtyMinutes(kNow - 10.0), kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::Run);
    EXPECT_GT(*d.storeNextRun, kNow);
}

TEST(DecideTimedTask, FutureDisabledAndUntimedTasksDoNothing) {
    EXPECT_EQ(DecideTimedTask(EveryThirtyMinutes(kNow + kMinute), kNow, {}, std::nullopt).action, DueAction::None);
    auto disabled = EveryThirtyMinutes(kNow - kMinute);
    disabled.enabled = false;
    EXPECT_EQ(DecideTimedTask(disabled, kNow, {}, std::nullopt).action, DueAction::None);
    for (int type : {kAtWindowsStart, kAtWindowsShutdown}) {
        auto t = EveryThirtyMinutes(kNow - kMinute);
        t.schedType = type;
        t.params = "";
        EXPECT_EQ(DecideTimedTask(t, kNow, {}, std::nullopt).action, DueAction::None) << type;
    }
    auto noType = EveryThirtyMinutes(kNow - kMinute);
    noType.schedType.reset();
    EXPECT_EQ(DecideTimedTask(noType, kNow, {}, std::nullopt).action, DueAction::None);
}

TEST(DecideTimedTask, MissingNextRunIsStoredAsTheWindowWouldShowIt) {
    auto fresh = DecideTimedTask(EveryThirtyMinutes(std::nullopt), kNow, {}, std::nullopt);
    EXPECT_EQ(fresh.action, DueAction::StoreNextRun);
    EXPECT_NEAR(*fresh.storeNextRun, kNow + 1.0 / 24.0, 1e-9);

    auto ran = EveryThirtyMinutes(std::nullopt);
    ran.lastRan = kNow - 10 * kMinute; // after "Run Now": next run from the last run
    auto d = DecideTimedTask(ran, kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::StoreNextRun);
    EXPECT_NEAR(*d.storeNextRun, kNow + 20 * kMinute, 1e-9);

    ran.lastRan = kNow - 45 * kMinute; // the turn after the last run has passed: run now
    d = DecideTimedTask(ran, kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::Run);
    EXPECT_NEAR(*d.storeNextRun, kNow + 30 * kMinute, 1e-9);
}

TEST(DecideTimedTask, OnlyScanRunsOnlyBelowTheFreeSpaceLimit) {
    SpaceRule rule{true, 100};
    const uint64_t limit = 100ull * 1048576;
    auto task = EveryThirtyMinutes(kNow - kMinute);
    EXPECT_EQ(DecideTimedTask(task, kNow, rule, limit - 1).action, DueAction::Run);
    auto skip = DecideTimedTask(task, kNow, rule, limit);
    EXPECT_EQ(skip.action, DueAction::SkipForSpace);
    EXPECT_NEAR(*skip.storeNextRun, kNow + 30 * kMinute, 1e-9);
    // Unknown free space or no limit: the condition cannot hold.
    EXPECT_EQ(DecideTimedTask(task, kNow, rule, std::nullopt).action, DueAction::SkipForSpace);
    EXPECT_EQ(DecideTimedTask(task, kNow, SpaceRule{true, 0}, 0).action, DueAction::SkipForSpace);
    // Without "OnlyScan" the free space does not matter.
    EXPECT_EQ(DecideTimedTask(task, kNow, SpaceRule{false, 100}, limit * 10).action, DueAction::Run);
}

TEST(DecideTimedTask, BrokenSchedulesAreNeverRun) {
    auto corrupt = EveryThirtyMinutes(kNow - kMinute);
    corrupt.params = "abc";
    auto d = DecideTimedTask(corrupt, kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::Invalid);
    EXPECT_FALSE(d.storeNextRun);

    auto noParams = EveryThirtyMinutes(kNow - kMinute);
    noParams.params.reset();
    EXPECT_EQ(DecideTimedTask(noParams, kNow, {}, std::nullopt).action, DueAction::Invalid);

    auto negative = EveryThirtyMinutes(kNow - kMinute);
    negative.schedType = -1;
    EXPECT_EQ(DecideTimedTask(negative, kNow, {}, std::nullopt).action, DueAction::Invalid);

    auto unreadable = EveryThirtyMinutes(std::nullopt);
    unreadable.readError = "\"NextRun\" is 4 bytes long";
    d = DecideTimedTask(unreadable, kNow, {}, std::nullopt);
    EXPECT_EQ(d.action, DueAction::Invalid);
    EXPECT_EQ(d.reason, "\"NextRun\" is 4 bytes long");

    auto nan = EveryThirtyMinutes(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(DecideTimedTask(nan, kNow, {}, std::nullopt).action, DueAction::Invalid);
}

TEST(RunsAtSessionEnd, OnlyEnabledReadableShutdownTasks) {
    TaskSnapshot t;
    t.enabled = true;
    t.schedType = kAtWindowsShutdown;
    EXPECT_TRUE(RunsAtSessionEnd(t));
    t.enabled = false;
    EXPECT_FALSE(RunsAtSessionEnd(t));
    t.enabled = true;
    t.readError = "bad";
    EXPECT_FALSE(RunsAtSessionEnd(t));
    t.readError.clear();
    t.schedType = kAtWindowsStart;
    EXPECT_FALSE(RunsAtSessionEnd(t));
}
