#pragma once
// When the scheduling agent starts a task: the decision over one task's stored schedule, free of
// the registry so that every case is tested natively.
#include <cstdint>
#include <optional>
#include <string>

namespace sched {

// One task's schedule key as the agent read it.
struct TaskSnapshot {
    bool enabled = false;
    std::optional<int32_t> schedType;
    std::optional<std::string> params;
    std::optional<double> nextRun;
    std::optional<double> lastRan;
    // Why a value could not be read (a "NextRun" of the wrong size, a "SchedType" that is text);
    // a task with a read error is never run.
    std::string readError;
};

// "OnlyScan" and "SpaceFree" of the schedule key.
struct SpaceRule {
    bool onlyScan = false;
    int32_t spaceFreeMb = 0;
};

enum class DueAction {
    None,         // nothing to do now
    StoreNextRun, // no "NextRun" yet: store the one the schedule window would show, run nothing
    Run,          // start the task now and store storeNextRun
    SkipForSpace, // due, but the primary drive has enough free space: skip this time, store storeNextRun
    Invalid,      // the schedule cannot be used; nothing is run and nothing stored
};

struct DueDecision {
    DueAction action = DueAction::None;
    std::optional<double> storeNextRun;
    std::string reason;
};

// The decision for a timed task (types 0-4) at the moment now. freeBytes is the primary drive's
// free space (nullopt when it could not be read). A task that runs gets its next "NextRun" by the
// schedule's rules from now; a due task is never run when that next run cannot be computed, so a
// broken schedule is not started again at every look.
DueDecision DecideTimedTask(const TaskSnapshot& task, double now, const SpaceRule& rule,
                            std::optional<uint64_t> freeBytes);

// True when an enabled task is to run as Windows ends the session (type 6).
bool RunsAtSessionEnd(const TaskSnapshot& task);

// The space rule alone: true when the run may go ahead.
bool SpaceAllowsRun(const SpaceRule& rule, std::optional<uint64_t> freeBytes);

} // namespace sched
