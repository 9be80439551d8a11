#pragma once
// What every schedule window test needs: a clean product key and Run key, the program folder in a
// scratch folder, a fixed clock and the shell launcher recorded.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/paths.h"
#include "app/pure/format.h"
#include "platform/os.h"
#include "platform/registry.h"
#include "sched/clock.h"
#include "sched/schedule_store.h"
#include "support/fixtures.h"

namespace schedtest {

// 6 May 2024 (a Monday), 14:20:00.
inline const double kNow = textfmt::EncodeDateTime(2024, 5, 6, 14, 20, 0);

inline void ClearRunValues() {
    if (auto k = platform::RegKey::Open(HKEY_CURRENT_USER, sched::kRunKey, KEY_READ | KEY_WRITE)) {
        k->deleteValue(sched::kAgentRunValue);
        for (sched::Task t : sched::kAllTasks)
            k->deleteValue(sched::InfoOf(t).startupValue);
    }
}

inline std::optional<std::string> RunValue(std::string_view name) {
    auto k = platform::RegKey::Open(HKEY_CURRENT_USER, sched::kRunKey);
    return k ? k->readString(name) : std::nullopt;
}

inline platform::RegKey TaskKey(sched::Task t) {
    return platform::RegKey::Create(HKEY_CURRENT_USER, sched::InfoOf(t).key);
}

inline void WriteTime(sched::Task t, std::string_view name, double value) {
    auto k = TaskKey(t);
    sched::WriteDateTime(k, name, value);
}

inline std::optional<double> ReadTime(sched::Task t, std::string_view name) {
    return sched::ReadDateTime(TaskKey(t), name);
}

inline void WriteSchedule(sched::Task t, bool enabled, int type, std::string_view params) {
    auto k = TaskKey(t);
    k.writeInt("Enabled", enabled ? 1 : 0);
    k.writeInt("SchedType", type);
    k.writeString("Params", params);
}

class SchedFixture : public testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        ClearRunValues();
        app::SetProgramFolderForTesting(folder.path());
        sched::SetNowForTesting(kNow);
    }
    void TearDown() override {
        sched::SetNowForTesting(std::nullopt);
        app::SetProgramFolderForTesting("");
        platform::OverrideOs(std::nullopt);
        ClearRunValues();
        testsupport::ClearProductKey();
    }
    testsupport::TempDir folder;
    testsupport::ShellRecorder shell;
};

} // namespace schedtest
