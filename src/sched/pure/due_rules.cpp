#include "sched/pure/due_rules.h"

#include <utility>

#include "sched/pure/schedule_calc.h"

namespace sched {

namespace {
DueDecision Invalid(std::string reason) {
    return {DueAction::Invalid, std::nullopt, std::move(reason)};
}
} // namespace

bool SpaceAllowsRun(const SpaceRule& rule, std::optional<uint64_t> freeBytes) {
    if (!rule.onlyScan) return true;
    if (!freeBytes || rule.spaceFreeMb <= 0) return false;
    return *freeBytes < static_cast<uint64_t>(rule.spaceFreeMb) * 1048576u;
}

DueDecision DecideTimedTask(const TaskSnapshot& task, double now, const SpaceRule& rule,
                            std::optional<uint64_t> freeBytes) {
    if (!task.enabled) return {};
    if (!task.readError.empty()) return Invalid(task.readError);
    if (!task.schedType) return {};
    const int type = *task.schedType;
    if (type == kAtWindowsStart || type == kAtWindowsShutdown) return {};
    if (type < kEveryMinutes || type > kAtWindowsShutdown) return Invalid("unknown schedule type");
    if (!task.params) return Invalid("the schedule has no parameters");
    if (!ValidDateTime(now)) return Invalid("the clock is out of range");

    try {
        if (!task.nextRun) {
            // What the schedule window shows for such a task: from the last run, or an hour from now.
            if (!task.lastRan) return {DueAction::StoreNextRun, now + 1.0 / 24.0, "no next run stored"};
            double due = *NextRun(type, *task.params, *task.lastRan);
            if (due > now) return {DueAction::StoreNextRun, due, "next run computed from the last run"};
        } else if (!ValidDateTime(*task.nextRun)) {
            return Invalid("the stored next run is not a valid date and time");
        } else if (*task.nextRun > now) {
            return {};
        }
        double next = *NextRun(type, *task.params, now);
        if (!SpaceAllowsRun(rule, freeBytes))
            return {DueAction::SkipForSpace, next, "the primary drive has enough free space"};
        return {DueAction::Run, next, "due"};
    } catch (const ScheduleError& e) {
        return Invalid(e.what());
    }
}

bool RunsAtSessionEnd(const TaskSnapshot& task) {
    return task.enabled && task.readError.empty() && task.schedType && *task.schedType == kAtWindowsShutdown;
}

} // namespace sched
