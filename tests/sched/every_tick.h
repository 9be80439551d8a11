#pragma once
// Runs a check from inside the message pump of a run: the tools pump while they scan, so a thread
// timer reaches the test in the middle of the work.
#include <windows.h>

#include <functional>

namespace schedtest {

// Calls a function at every timer tick of the thread's message pump (the scan pumps as it walks),
// until it returns true.
class EveryTick {
public:
    explicit EveryTick(std::function<bool()> fn) {
        Fn() = std::move(fn);
        m_id = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
    }
    ~EveryTick() {
        KillTimer(nullptr, m_id);
        Fn() = nullptr;
    }
    EveryTick(const EveryTick&) = delete;
    EveryTick& operator=(const EveryTick&) = delete;

private:
    static std::function<bool()>& Fn() {
        static std::function<bool()> fn;
        return fn;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Fn() && Fn()()) Fn() = nullptr;
    }
    UINT_PTR m_id = 0;
};

} // namespace schedtest
