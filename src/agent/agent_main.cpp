// The scheduling agent, Scheduled_Maintenance.exe: a hidden top-level window of class
// "Scheduled Maintenance" that looks at the three schedule keys every poll interval and starts
// Vantrel.exe from its own folder with a task's switch when a timed task is due, and with the
// shut-down tasks' switches when Windows ends the session. WM_CLOSE ends it.
//
// Command line: Scheduled_Maintenance.exe [/poll SECONDS]   (default 30, 1 to 86400)
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/handles.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "sched/pure/due_rules.h"
#include "sched/schedule_store.h"

namespace {

using sched::Task;

constexpr UINT_PTR kPollTimer = 1;
constexpr DWORD kDefaultPollSeconds = 30;
constexpr DWORD kSessionEndWaitMs = 60000;
constexpr wchar_t kMutexName[] = L"Local\\Quorvel.Vantrel.ScheduledMaintenance";
constexpr wchar_t kWindowTitle[] = L"Vantrel Scheduling Agent";

class Agent {
public:
    explicit Agent(DWORD pollMs) : m_pollMs(pollMs) {}

    bool create(HINSTANCE instance) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance;
        wc.lpszClassName = sched::kAgentWindowClass;
        if (!RegisterClassExW(&wc)) return false;
        // A top-level window (not message-only) so that FindWindow finds it by its class.
        m_hwnd = CreateWindowExW(0, sched::kAgentWindowClass, kWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, this);
        if (!m_hwnd) return false;
        SetTimer(m_hwnd, kPollTimer, m_pollMs, nullptr);
        PostMessageW(m_hwnd, WM_TIMER, kPollTimer, 0); // a first look at once
        return true;
    }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        auto* self = reinterpret_cast<Agent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        try {
            return self->handle(hwnd, msg, wp, lp);
        } catch (...) {
            // The agent keeps running whatever one look at the schedule met.
            return msg == WM_QUERYENDSESSION ? TRUE : 0;
        }
    }

    LRESULT handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_TIMER:
            if (wp == kPollTimer) look();
            return 0;
        case WM_QUERYENDSESSION:
            runSessionEndTasks(true);
            return TRUE;
        case WM_ENDSESSION:
            if (wp)
                runSessionEndTasks(false);
            else
                m_sessionTasksStarted = false; // the session goes on after all
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kPollTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
    }

    bool stillRunning(Task task) {
        auto& p = m_started[static_cast<size_t>(task)];
        if (p && WaitForSingleObject(p->process.get(), 0) == WAIT_TIMEOUT) return true;
        p.reset();
        return false;
    }

    bool start(Task task) {
        std::string program = platform::ExecutableFolder() + "Vantrel.exe";
        auto p = platform::StartProcess(platform::QuoteArgument(program) + " " + sched::InfoOf(task).switchText,
                                        platform::ExecutableFolder(), SW_SHOWNORMAL);
        if (!p) return false;
        m_started[static_cast<size_t>(task)] = std::move(*p);
        return true;
    }

    static void storeNextRun(Task task, double value) {
        // Written only into a key that still exists: a schedule removed meanwhile stays removed.
        if (auto k = platform::RegKey::Open(HKEY_CURRENT_USER, sched::InfoOf(task).key, KEY_READ | KEY_WRITE))
            sched::WriteDateTime(*k, "NextRun", value);
    }

    void look() {
        // A run in progress (of any task, started by anyone) is left to finish first.
        if (FindWindowW(nullptr, platform::Widen(sched::kRunningTitle).c_str())) return;
        const sched::SpaceRule rule = sched::ReadSpaceRule();
        std::optional<uint64_t> freeBytes;
        if (rule.onlyScan) freeBytes = sched::PrimaryDriveFreeBytes();
        for (Task task : sched::kAllTasks) {
            try {
                if (stillRunning(task)) continue;
                const sched::TaskSnapshot snapshot = sched::ReadSnapshot(task);
                const double now = platform::Now();
                const sched::DueDecision d = sched::DecideTimedTask(snapshot, now, rule, freeBytes);
                switch (d.action) {
                case sched::DueAction::Run:
                    if (start(task)) storeNextRun(task, *d.storeNextRun);
                    break;
                case sched::DueAction::StoreNextRun:
                case sched::DueAction::SkipForSpace:
                    storeNextRun(task, *d.storeNextRun);
                    break;
                case sched::DueAction::None:
                case sched::DueAction::Invalid:
                    break;
                }
            } catch (const std::exception&) {
                // One task's schedule that cannot be handled does not stop the others.
            }
        }
    }

    void runSessionEndTasks(bool wait) {
        if (m_sessionTasksStarted) return;
        m_sessionTasksStarted = true;
        const sched::SpaceRule rule = sched::ReadSpaceRule();
        std::optional<uint64_t> freeBytes;
        if (rule.onlyScan) freeBytes = sched::PrimaryDriveFreeBytes();
        std::vector<HANDLE> running;
        for (Task task : sched::kAllTasks) {
            if (stillRunning(task)) continue;
            if (!sched::RunsAtSessionEnd(sched::ReadSnapshot(task)) || !sched::SpaceAllowsRun(rule, freeBytes))
                continue;
            if (start(task)) running.push_back(m_started[static_cast<size_t>(task)]->process.get());
        }
        if (!wait || running.empty()) return;
        // Windows waits for this answer; the runs get a bounded time to finish before it goes on.
        ShutdownBlockReasonCreate(m_hwnd, L"Scheduled maintenance is running.");
        WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE, kSessionEndWaitMs);
        ShutdownBlockReasonDestroy(m_hwnd);
    }

    HWND m_hwnd = nullptr;
    DWORD m_pollMs;
    bool m_sessionTasksStarted = false;
    std::array<std::optional<platform::StartedProcess>, 3> m_started;
};

DWORD PollSeconds() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    DWORD seconds = kDefaultPollSeconds;
    for (int i = 1; argv && i + 1 < argc; ++i) {
        if (lstrcmpiW(argv[i], L"/poll") != 0 && lstrcmpiW(argv[i], L"-poll") != 0) continue;
        wchar_t* end = nullptr;
        unsigned long v = wcstoul(argv[i + 1], &end, 10);
        if (end && *end == L'\0' && v >= 1 && v <= 86400) seconds = static_cast<DWORD>(v);
    }
    LocalFree(argv);
    return seconds;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // One agent at a time: a second one started at log-on or by the schedule window ends at once.
    platform::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    if (FindWindowW(sched::kAgentWindowClass, nullptr)) return 0;

    Agent agent(PollSeconds() * 1000);
    if (!agent.create(instance)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
