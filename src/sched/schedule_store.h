#pragma once
// The stored schedule: the three tasks' keys and names, strict reads of their values, the next-run
// computations over a key, and the Windows start-up entries of the tasks and of the agent.
// Shared by the schedule windows, the unattended runs and the scheduling agent.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "sched/pure/due_rules.h"

namespace sched {

enum class Task { Junk, Eraser, Registry };
inline constexpr std::array<Task, 3> kAllTasks{Task::Junk, Task::Eraser, Task::Registry};

struct TaskInfo {
    Task task;
    const char* key;           // the task's schedule key under HKEY_CURRENT_USER
    const char* unattendedLog; // the log its unattended run writes
    const char* switchText;    // the command-line switch that runs it
    const char* startupValue;  // its Windows start-up entry (type 5)
};
const TaskInfo& InfoOf(Task task);
// The task whose schedule key this is (letter case and a leading backslash do not matter).
std::optional<Task> TaskOfKey(std::string_view key);

inline constexpr const char* kScheduleKey = "\\software\\Quorvel\\Vantrel\\schedule";
inline constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAgentRunValue = "Scheduled Maintenance";
inline constexpr const char* kAgentExe = "Scheduled_Maintenance.exe";
inline constexpr const wchar_t kAgentWindowClass[] = L"Scheduled Maintenance";
inline constexpr const char* kScheduleTitle = "Scheduled Maintenance";
inline constexpr const char* kRunningTitle = "Performing Scheduled Maintenance";
// Asks a schedule window to reload its logs and schedule texts.
inline constexpr UINT kRefreshMessage = WM_USER + 2005; // 3029

// Strict reads: a value of the wrong type or size raises an error rather than passing for missing.
std::optional<int32_t> ReadSchedType(const platform::RegKey& key);
std::optional<std::string> ReadParams(const platform::RegKey& key);
// An 8-byte REG_BINARY date-time; ScheduleError for another type or size, or a value that is no date.
std::optional<double> ReadDateTime(const platform::RegKey& key, std::string_view name);
void WriteDateTime(platform::RegKey& key, std::string_view name, double value);

// The next run after base by the key's "Params"; nullopt when the key has no "Params" or the type
// is not a timed one (0-4).
std::optional<double> NextRunOfKey(int type, std::string_view key, double base);
// The next run to show: from "LastRan" when no "NextRun" is stored after a run, the markers for
// types 5 and 6, otherwise the stored "NextRun" (stored as now + 1 hour when missing).
std::optional<double> NextScanOfKey(std::string_view key, double now);

// The agent's view of one task; never throws (read failures end up in readError).
TaskSnapshot ReadSnapshot(Task task);
SpaceRule ReadSpaceRule();
// Free bytes of the drive holding Windows; nullopt when it cannot be read.
std::optional<uint64_t> PrimaryDriveFreeBytes();

// A program path for a start-up command, quoted when it holds a blank.
std::string CommandPath(std::string_view path);
// The task's start-up command: the running executable and the task's switch.
std::string StartupCommand(Task task);
void WriteTaskStartup(Task task);
void RemoveTaskStartup(Task task);

// The agent: its path in the program folder, its start-up value and its windows.
std::string AgentPath();
void WriteAgentStartup();
void RemoveAgentStartup();
std::vector<HWND> AgentWindows();

} // namespace sched
