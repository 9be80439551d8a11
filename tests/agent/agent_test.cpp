// The scheduling agent, Scheduled_Maintenance.exe, run as a program: a copy of it sits in a scratch
// folder beside a stand-in Vantrel.exe that records the arguments it is started with.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "sched/schedule_store.h"
#include "support/fixtures.h"

using sched::Task;

namespace {

constexpr double kMinute = 1.0 / 1440.0;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

int CountLines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

platform::RegKey TaskKey(Task t) {
    return platform::RegKey::Create(HKEY_CURRENT_USER, sched::InfoOf(t).key);
}

void Schedule(Task t, bool enabled, int type, const std::string& params, std::optional<double> nextRun) {
    auto k = TaskKey(t);
    k.writeInt("Enabled", enabled ? 1 : 0);
    k.writeInt("SchedType", type);
    k.writeString("Params", params);
    if (nextRun) sched::WriteDateTime(k, "NextRun", *nextRun);
}

void SetNextRun(Task t, double value) {
    auto k = TaskKey(t);
    sched::WriteDateTime(k, "NextRun", value);
}

std::optional<double> NextRun(Task t) {
    return sched::ReadDateTime(TaskKey(t), "NextRun");
}

class Agent : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        std::string build = testsupport::BuildFolder();
        ASSERT_TRUE(
            platform::CopyFileTo(build + "Scheduled_Maintenance.exe", dir.file("Scheduled_Maintenance.exe"), false));
        ASSERT_TRUE(platform::CopyFileTo(build + "tests\\agent_helpers\\Vantrel.exe", dir.file("Vantrel.exe"), false));
    }
    void TearDown() override {
        stop();
        testsupport::ClearProductKey();
    }

    platform::StartedProcess launch() {
        auto p = platform::StartProcess(platform::QuoteArgument(dir.file("Scheduled_Maintenance.exe")) + " /poll 1",
                                        dir.path());
        EXPECT_TRUE(p.has_value());
        return std::move(*p);
    }
    void start() {
        agent = launch();
        ASSERT_TRUE(WaitUntil([] { return FindWindowW(sched::kAgentWindowClass, nullptr) != nullptr; }, 10000));
    }
    void stop() {
        if (!agent) return;
        if (HWND h = FindWindowW(sched::kAgentWindowClass, nullptr)) PostMessageW(h, WM_CLOSE, 0, 0);
        if (!platform::WaitForExit(*agent, 10000)) TerminateProcess(agent->process.get(), 1);
        agent.reset();
    }
    std::string calls() const { return testsupport::ReadText(dir.file("calls.txt")); }
    bool called(const std::string& args, int timeoutMs = 8000) const {
        return WaitUntil([&] { return calls().find(args) != std::string::npos; }, timeoutMs);
    }

    testsupport::TempDir dir;
    std::optional<platform::StartedProcess> agent;
};

} // namespace

TEST_F(Agent, ADueTaskStartsVantrelOnceAndGetsItsNextRunFromTheMomentOfTheRun) {
    Schedule(Task::Junk, true, 0, "30", platform::Now() - kMinute);
    const double before = platform::Now();
    start();
    ASSERT_TRUE(called("/CleanJunk"));
    // The agent stores the next run just after starting the run.
    ASSERT_TRUE(WaitUntil([&] { return *NextRun(Task::Junk) > before; }, 5000));
    const double after = platform::Now();
    auto next = NextRun(Task::Junk);
    ASSERT_TRUE(next);
    EXPECT_GE(*next, before + 30 * kMinute - 1e-6);
    EXPECT_LE(*next, after + 30 * kMinute + 1e-6);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // more looks at the schedule
    EXPECT_EQ(calls(), "/CleanJunk\r\n");
}

TEST_F(Agent, EachTaskRunsWithItsOwnSwitch) {
    Schedule(Task::Eraser, true, 2, "5|0.5", platform::Now() - 1);
    Schedule(Task::Registry, true, 4, "1|15", platform::Now() - kMinute);
    start();
    ASSERT_TRUE(called("/CleanHistory"));
    ASSERT_TRUE(called("/RegistryClean"));
    EXPECT_EQ(CountLines(calls()), 2);
    EXPECT_TRUE(WaitUntil([] { return *NextRun(Task::Eraser) > platform::Now() + 4; }, 5000));
    EXPECT_TRUE(WaitUntil([] { return *NextRun(Task::Registry) > platform::Now(); }, 5000));
}

TEST_F(Agent, TasksNotDueDisabledOrBrokenAreLeftAloneAndTheAgentKeepsWatching) {
    const double future = platform::Now() + 1.0 / 24;
    Schedule(Task::Junk, true, 0, "30", future);
    Schedule(Task::Eraser, false, 0, "30", platform::Now() - kMinute);
    Schedule(Task::Registry, true, 0, "abc", platform::Now() - kMinute);
    start();
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    EXPECT_EQ(calls(), "");
    EXPECT_EQ(NextRun(Task::Junk), future);
    EXPECT_LT(*NextRun(Task::Registry), platform::Now());

    // A "NextRun" of the wrong size and a negative type are skipped as well.
    uint32_t four = 1;
    TaskKey(Task::Registry).writeString("Params", "30");
    TaskKey(Task::Registry).writeBinary("NextRun", &four, sizeof four);
    Schedule(Task::Eraser, true, -1, "30", platform::Now() - kMinute);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(calls(), "");
    EXPECT_EQ(TaskKey(Task::Registry).readBinary("NextRun")->size(), 4u);

    // Still watching: the junk task made due now runs.
    SetNextRun(Task::Junk, platform::Now());
    ASSERT_TRUE(called("/CleanJunk"));
    EXPECT_EQ(calls(), "/CleanJunk\r\n");
}

TEST_F(Agent, OnlyScanHoldsTheRunBackWhileThePrimaryDriveHasEnoughFreeSpace) {
    auto options = platform::RegKey::Create(HKEY_CURRENT_USER, sched::kScheduleKey);
    options.writeInt("OnlyScan", 1);
    options.writeInt("SpaceFree", 1); // the prefix's drive has far more than 1 MB free
    const double due = platform::Now() - kMinute;
    Schedule(Task::Junk, true, 0, "30", due);
    start();
    ASSERT_TRUE(WaitUntil([&] { return NextRun(Task::Junk) != due; }, 8000));
    EXPECT_GT(*NextRun(Task::Junk), platform::Now() + 29 * kMinute); // this turn is skipped
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(calls(), "");

    options.writeInt("OnlyScan", 0);
    SetNextRun(Task::Junk, platform::Now());
    EXPECT_TRUE(called("/CleanJunk"));
}

TEST_F(Agent, AMissingNextRunIsStoredAnHourAheadWithoutARun) {
    Schedule(Task::Junk, true, 0, "30", std::nullopt);
    const double before = platform::Now();
    start();
    ASSERT_TRUE(WaitUntil([] { return NextRun(Task::Junk).has_value(); }, 8000));
    EXPECT_GE(*NextRun(Task::Junk), before + 1.0 / 24 - 1e-6);
    EXPECT_LE(*NextRun(Task::Junk), platform::Now() + 1.0 / 24 + 1e-6);
    EXPECT_EQ(calls(), "");
}

TEST_F(Agent, NoRunIsStartedWhileAMaintenanceRunIsGoingOn) {
    // The hidden window of a run in progress, as "&Run Now" or another start leaves it.
    HWND running = CreateWindowW(L"STATIC", L"Performing Scheduled Maintenance", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    Schedule(Task::Junk, true, 0, "30", platform::Now() - kMinute);
    start();
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(calls(), "");
    DestroyWindow(running);
    ASSERT_TRUE(called("/CleanJunk"));

    // Nor while the agent's own run of that task has not ended.
    ASSERT_TRUE(WaitUntil([] { return *NextRun(Task::Junk) > platform::Now(); }, 5000));
    dir.write("linger.txt", "4000");
    SetNextRun(Task::Junk, platform::Now());
    ASSERT_TRUE(WaitUntil([&] { return CountLines(calls()) == 2; }, 8000));
    ASSERT_TRUE(WaitUntil([] { return *NextRun(Task::Junk) > platform::Now(); }, 5000));
    SetNextRun(Task::Junk, platform::Now());
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    EXPECT_EQ(CountLines(calls()), 2);
}

TEST_F(Agent, OneAgentAtATime) {
    start();
    auto second = launch();
    ASSERT_TRUE(platform::WaitForExit(second, 10000)); // ends by itself at once
    int windows = 0;
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, sched::kAgentWindowClass, nullptr)) != nullptr)
        ++windows;
    EXPECT_EQ(windows, 1);
}

TEST_F(Agent, WmCloseEndsIt) {
    start();
    HWND h = FindWindowW(sched::kAgentWindowClass, nullptr);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(PostMessageW(h, WM_CLOSE, 0, 0));
    ASSERT_TRUE(platform::WaitForExit(*agent, 10000));
    agent.reset();
    EXPECT_EQ(FindWindowW(sched::kAgentWindowClass, nullptr), nullptr);
}

TEST_F(Agent, ShutDownTasksRunWhenWindowsEndsTheSession) {
    Schedule(Task::Eraser, true, 6, "", std::nullopt);
    Schedule(Task::Junk, false, 6, "", std::nullopt);
    start();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(calls(), ""); // not before the session ends
    HWND h = FindWindowW(sched::kAgentWindowClass, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(h, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    // The session-end runs have ended by the time the agent answers.
    EXPECT_EQ(calls(), "/CleanHistory\r\n");
    SendMessageTimeoutW(h, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 20000, &answer);
    EXPECT_EQ(calls(), "/CleanHistory\r\n"); // once per session end
}
