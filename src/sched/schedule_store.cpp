#include "sched/schedule_store.h"

#include <cstring>
#include <exception>

#include "app/paths.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "sched/pure/schedule_calc.h"

namespace sched {

using platform::RegKey;

namespace {
constexpr std::array<TaskInfo, 3> kTaskInfo{{
    {Task::Junk, "\\Software\\Quorvel\\Vantrel\\Schedule\\Junk", "JunkLog.txt", "/CleanJunk",
     "Clean Junk Files at StartUp"},
    {Task::Eraser, "\\Software\\Quorvel\\Vantrel\\Schedule\\Eraser", "EraserLog.txt", "/CleanHistory",
     "Erase History at StartUp"},
    {Task::Registry, "\\Software\\Quorvel\\Vantrel\\Schedule\\Registry", "RegistryLog.txt", "/RegistryClean",
     "Clean Registry at StartUp"},
}};

std::string_view WithoutLeadingBackslash(std::string_view key) {
    while (!key.empty() && key.front() == '\\')
        key.remove_prefix(1);
    return key;
}
} // namespace

const TaskInfo& InfoOf(Task task) {
    return kTaskInfo[static_cast<size_t>(task)];
}

std::optional<Task> TaskOfKey(std::string_view key) {
    for (const auto& info : kTaskInfo)
        if (platform::SameText(WithoutLeadingBackslash(info.key), WithoutLeadingBackslash(key))) return info.task;
    return std::nullopt;
}

std::optional<int32_t> ReadSchedType(const RegKey& key) {
    return key.readInt("SchedType");
}

std::optional<std::string> ReadParams(const RegKey& key) {
    return key.readString("Params");
}

std::optional<double> ReadDateTime(const RegKey& key, std::string_view name) {
    auto v = key.readValue(name);
    if (!v) return std::nullopt;
    if (v->type != REG_BINARY || v->data.size() != sizeof(double))
        throw ScheduleError("The value \"" + std::string(name) + "\" of the schedule is not an 8-byte date and time");
    double d;
    std::memcpy(&d, v->data.data(), sizeof d);
    if (!ValidDateTime(d))
        throw ScheduleError("The value \"" + std::string(name) + "\" of the schedule is not a valid date and time");
    return d;
}

void WriteDateTime(RegKey& key, std::string_view name, double value) {
    key.writeBinary(name, &value, sizeof value);
}

std::optional<double> NextRunOfKey(int type, std::string_view key, double base) {
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    auto params = ReadParams(k);
    if (!params) return std::nullopt;
    return NextRun(type, *params, base);
}

std::optional<double> NextScanOfKey(std::string_view key, double now) {
    auto k = RegKey::Create(HKEY_CURRENT_USER, key);
    auto type = ReadSchedType(k);
    if (!type) return std::nullopt;
    auto lastRan = ReadDateTime(k, "LastRan");
    auto nextRun = ReadDateTime(k, "NextRun");
    auto marker = [&]() -> std::optional<double> {
        if (*type == kAtWindowsStart) return kStartMarker;
        if (*type == kAtWindowsShutdown) return kShutdownMarker;
        return std::nullopt;
    };
    if (lastRan && !nextRun) {
        if (*type >= kEveryMinutes && *type <= kEveryMonths) return NextRunOfKey(*type, key, *lastRan);
        return marker();
    }
    if (!nextRun) {
        nextRun = now + 1.0 / 24.0;
        WriteDateTime(k, "NextRun", *nextRun);
    }
    if (*type >= kEveryMinutes && *type <= kEveryMonths) return nextRun;
    return marker();
}

TaskSnapshot ReadSnapshot(Task task) {
    TaskSnapshot s;
    auto k = RegKey::Open(HKEY_CURRENT_USER, InfoOf(task).key);
    if (!k) return s;
    try {
        auto enabled = k->readInt("Enabled");
        s.enabled = enabled && *enabled != 0;
        if (!s.enabled) return s;
        s.schedType = ReadSchedType(*k);
        s.params = ReadParams(*k);
        s.nextRun = ReadDateTime(*k, "NextRun");
        s.lastRan = ReadDateTime(*k, "LastRan");
    } catch (const std::exception& e) {
        s.readError = e.what();
    }
    return s;
}

SpaceRule ReadSpaceRule() {
    SpaceRule rule;
    auto k = RegKey::Open(HKEY_CURRENT_USER, kScheduleKey);
    if (!k) return rule;
    try {
        rule.onlyScan = k->readInt("OnlyScan").value_or(0) != 0;
        rule.spaceFreeMb = k->readInt("SpaceFree").value_or(0);
    } catch (const std::exception&) {
        // An option that cannot be read cannot be honoured: hold every run back rather than run
        // one the user may have restricted.
        rule.onlyScan = true;
        rule.spaceFreeMb = 0;
    }
    return rule;
}

std::optional<uint64_t> PrimaryDriveFreeBytes() {
    std::string windows = platform::WindowsDirectory();
    if (windows.size() < 3) return std::nullopt;
    auto space = platform::DiskFree(windows.substr(0, 3));
    if (!space) return std::nullopt;
    return space->freeBytes;
}

std::string CommandPath(std::string_view path) {
    // A blank in an unquoted start-up command lets Windows try "C:\Program.exe" first.
    std::string out;
    if (path.find(' ') == std::string_view::npos) return out.assign(path);
    out.reserve(path.size() + 2);
    out += '"';
    out += path;
    out += '"';
    return out;
}

std::string StartupCommand(Task task) {
    return CommandPath(platform::ExecutablePath()) + " " + InfoOf(task).switchText;
}

void WriteTaskStartup(Task task) {
    RegKey::Create(HKEY_CURRENT_USER, kRunKey).writeString(InfoOf(task).startupValue, StartupCommand(task));
}

void RemoveTaskStartup(Task task) {
    if (auto k = RegKey::Open(HKEY_CURRENT_USER, kRunKey, KEY_READ | KEY_WRITE))
        k->deleteValue(InfoOf(task).startupValue);
}

std::string AgentPath() {
    return app::ProgramFolder() + kAgentExe;
}

void WriteAgentStartup() {
    RegKey::Create(HKEY_CURRENT_USER, kRunKey).writeString(kAgentRunValue, CommandPath(AgentPath()));
}

void RemoveAgentStartup() {
    if (auto k = RegKey::Open(HKEY_CURRENT_USER, kRunKey, KEY_READ | KEY_WRITE)) k->deleteValue(kAgentRunValue);
}

std::vector<HWND> AgentWindows() {
    std::vector<HWND> found;
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, kAgentWindowClass, nullptr)) != nullptr)
        found.push_back(h);
    return found;
}

} // namespace sched
