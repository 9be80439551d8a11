// The unattended registry clean against the real registry cleaner window, and the registry page's
// "&Define Actions..." and "&Run Now".
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/progress.h"
#include "app/settings.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "sched/frm_sched.h"
#include "sched/unattended.h"
#include "sched_fixture.h"
#include "support/scripted_dialogs.h"
#include "every_tick.h"
#include "tools/regclean/frm_regclean.h"
#include "tools/regclean/registry_editor.h"

using namespace schedtest;
using sched::Task;
using sched::TfrmSched;
using tools::regclean::TfrmRegClean;

namespace {
constexpr const char* kScratch = "Software\\VantrelTests\\SchedRegistry";
constexpr const char* kFiles = "C:\\VantrelSchedReg\\";
constexpr const char* kAreas = "Software\\Quorvel\\Vantrel\\regclean\\pos";
constexpr const char* kLogsKey = "\\Software\\Quorvel\\Vantrel\\Logs";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

class RegistryRun : public SchedFixture {
protected:
    void SetUp() override {
        SchedFixture::SetUp();
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        testsupport::RemoveTree(kFiles);
        platform::ForceFolders(std::string(kFiles) + "here\\");
        platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
        auto areas = platform::RegKey::Create(HKEY_CURRENT_USER, kAreas);
        areas.writeInt("CU", 1);
        areas.writeInt("US", 0);
        areas.writeInt("LM", 0);
        areas.writeInt("SD", 0);
        m_previousEditor = tools::regclean::SetRegistryEditorRunner([this](const std::string& p, uint32_t) {
            editorRuns.push_back(p);
            // A small export in place of the whole registry.
            size_t a = p.find('"'), b = p.rfind('"');
            platform::WriteFileBytes(p.substr(a + 1, b - a - 1), "Windows Registry Editor Version 5.00\r\n");
            return tools::regclean::EditorRun{true, true, 0};
        });
    }
    void TearDown() override {
        tools::regclean::SetRegistryEditorRunner(m_previousEditor);
        platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
        testsupport::RemoveTree(kFiles);
        SchedFixture::TearDown();
    }

    static std::string Sub(const std::string& relative) { return std::string(kScratch) + "\\" + relative; }
    static platform::RegKey Key(const std::string& relative) {
        return platform::RegKey::Create(HKEY_CURRENT_USER, Sub(relative), KEY_ALL_ACCESS);
    }
    static bool Exists(const std::string& relative, const std::string& name) {
        auto key = platform::RegKey::Open(HKEY_CURRENT_USER, Sub(relative));
        return key && key->hasValue(name);
    }
    static std::string Missing(const std::string& name) { return std::string(kFiles) + "gone\\" + name; }
    // Values that are all valid, so that the walk takes a while in one key.
    static void Busy(const std::string& relative, int count) {
        auto key = Key(relative);
        for (int i = 0; i < count; ++i)
            key.writeString("valid" + std::to_string(i), "C:\\");
    }
    std::vector<std::string> RegistryLog() const {
        return Lines(testsupport::ReadText(folder.file("RegistryLog.txt")));
    }

    std::vector<std::string> editorRuns;
    TfrmSched sched;

private:
    tools::regclean::EditorRunner m_previousEditor;
};
} // namespace

TEST_F(RegistryRun, TheHiddenRegistryCleanerScansRemovesWhatItFoundAndTheRunIsRecorded) {
    Key("Run").writeString("alpha", Missing("alpha.exe"));
    Key("Run").writeString("beta", Missing("beta.dll"));
    Key("Run").writeString("kept", std::string(kFiles) + "here");
    Busy("Busy", 2000);
    app::WriteRegInt(kLogsKey, "RegRefs", 10);

    std::string status, heading;
    bool cancelVisible = false, toolHidden = false, toolUnattended = false, toolLogs = false;
    EveryTick sample([&] {
        auto* progress = sched.progressWindow();
        auto* tool = sched.runningTool();
        if (!progress || !tool) return false;
        auto& window = static_cast<TfrmRegClean&>(tool->window());
        if (!window.scanning()) return false;
        status = progress->lblStatus.caption();
        heading = progress->lblHeading.caption();
        cancelVisible = progress->lblCancel.visible();
        toolHidden = !IsWindowVisible(window.hwnd());
        toolUnattended = window.Unattended;
        toolLogs = window.LogUnattended;
        return true;
    });
    testsupport::ScriptedDialogs dialogs; // nothing may be asked
    sched.create();
    sched.PerformRegClean();

    EXPECT_EQ(status, "Cleaning Registry...");
    EXPECT_EQ(heading, "Performing Scheduled Maintenance");
    EXPECT_TRUE(cancelVisible);
    EXPECT_TRUE(toolHidden);
    EXPECT_TRUE(toolUnattended);
    EXPECT_TRUE(toolLogs);
    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_FALSE(Exists("Run", "beta"));
    EXPECT_TRUE(Exists("Run", "kept"));
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "RegRefs"), 12);
    EXPECT_EQ(ReadTime(Task::Registry, "LastRan"), kNow);
    ASSERT_EQ(editorRuns.size(), 1u);
    EXPECT_EQ(editorRuns[0].substr(0, 3), "/e ");
    EXPECT_EQ(sched.runningTool(), nullptr);
    EXPECT_EQ(sched.progressWindow(), nullptr);
    EXPECT_EQ(sched.caption(), "Scheduled Maintenance");
    auto log = RegistryLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "NUMBER OF INVALID REFERENCES REMOVED: 2");
    // The hidden schedule window reloaded the log the tool wrote.
    EXPECT_NE(sched.reg.meLog.text().find("NUMBER OF INVALID REFERENCES REMOVED: 2"), std::string::npos);
}

TEST_F(RegistryRun, CancelInterruptsTheScanAndWhatWasFoundSoFarIsStillRemoved) {
    Key("Cancel\\A").writeString("v", Missing("a.exe"));
    Busy("Cancel\\B", 5000);
    Key("Cancel\\C").writeString("v", Missing("c.exe"));
    std::string linkText;
    EveryTick cancel([&] {
        auto* progress = sched.progressWindow();
        auto* tool = sched.runningTool();
        if (!progress || !tool || tool->resultCount() == 0) return false;
        EXPECT_TRUE(progress->lblCancel.click());
        linkText = progress->lblCancel.caption();
        return true;
    });
    testsupport::ScriptedDialogs dialogs;
    sched.create();
    sched.PerformRegClean();

    EXPECT_EQ(linkText, "Please Wait...");
    EXPECT_FALSE(Exists("Cancel\\A", "v"));
    EXPECT_TRUE(Exists("Cancel\\C", "v"));
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "RegRefs"), 1);
    EXPECT_EQ(ReadTime(Task::Registry, "LastRan"), kNow);
    auto log = RegistryLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "NUMBER OF INVALID REFERENCES REMOVED: 1");
    EXPECT_EQ(std::count(log.begin(), log.end(), "  Registry Already Clean: No invalid references detected."), 0);
}

TEST_F(RegistryRun, WithShowProgressOffNoProgressWindowAppearsAndTheRunStillCleans) {
    Key("Run").writeString("alpha", Missing("alpha.exe"));
    Busy("Busy", 2000);
    app::WriteRegBool(sched::InfoOf(Task::Registry).key, "ShowProgress", false);
    int ticksDuringRun = 0, progressSeen = 0;
    EveryTick sample([&] {
        if (sched.runningTool()) ++ticksDuringRun;
        if (sched.progressWindow() || FindWindowW(nullptr, L"Scheduled Maintenance Progress")) ++progressSeen;
        return false;
    });
    testsupport::ScriptedDialogs dialogs;
    sched.create();
    sched.PerformRegClean();
    EXPECT_GT(ticksDuringRun, 0);
    EXPECT_EQ(progressSeen, 0);
    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_EQ(ReadTime(Task::Registry, "LastRan"), kNow);
}

TEST_F(RegistryRun, DefineActionsOpensTheRegistryCleanerWhoseSavedAreasTheRunUses) {
    std::vector<std::string> modal;
    auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
        modal.push_back(f.className() + ": " + f.caption());
        if (auto* reg = dynamic_cast<TfrmRegClean*>(&f)) {
            // The user picks other areas; the window saves them as it closes.
            reg->lvScanFor.setChecked(0, false);
            reg->lvScanFor.setChecked(3, true);
        }
        f.close();
    });
    sched.create();
    EXPECT_TRUE(sched.reg.cmdDefine.click());
    platform::Form::SetModalHook(previous);
    ASSERT_EQ(modal.size(), 2u);
    EXPECT_EQ(modal[0].rfind("TfrmHint: ", 0), 0u) << modal[0];
    EXPECT_EQ(modal[1], "TfrmRegClean: Modifying Scheduled Maintenance Properties - Registry Cleaner");
    auto areas = platform::RegKey::Open(HKEY_CURRENT_USER, kAreas);
    ASSERT_TRUE(areas);
    EXPECT_EQ(areas->readInt("CU"), 0);
    EXPECT_EQ(areas->readInt("SD"), 1);
    EXPECT_TRUE(editorRuns.empty()); // nothing was scanned
    EXPECT_FALSE(ReadTime(Task::Registry, "LastRan"));
}

TEST_F(RegistryRun, RunNowOnTheRegistryPageStartsTheRegistryCleanInANewProcess) {
    WriteSchedule(Task::Registry, true, 0, "30");
    WriteTime(Task::Registry, "NextRun", kNow + 1);
    sched.create();
    EXPECT_TRUE(sched.reg.cmdRunNow.click());
    EXPECT_FALSE(ReadTime(Task::Registry, "NextRun"));
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, folder.path() + "Vantrel.exe");
    EXPECT_EQ(shell.requests()[0].parameters, "/RegistryClean");
    EXPECT_TRUE(editorRuns.empty());
}

TEST_F(RegistryRun, TheRegistryCleanSwitchRunsOnAHiddenScheduleWindowAndEnds) {
    Key("Run").writeString("alpha", Missing("alpha.exe"));
    Busy("Busy", 2000);
    std::string titleDuringRun;
    EveryTick sample([&] {
        HWND h = FindWindowW(nullptr, L"Performing Scheduled Maintenance");
        if (!h) return false;
        titleDuringRun = IsWindowVisible(h) ? "visible" : "hidden";
        return true;
    });
    testsupport::ScriptedDialogs dialogs;
    EXPECT_TRUE(sched::RunSwitch(app::Switch::RegistryClean));
    EXPECT_EQ(titleDuringRun, "hidden");
    EXPECT_FALSE(Exists("Run", "alpha"));
    EXPECT_EQ(ReadTime(Task::Registry, "LastRan"), kNow);
    EXPECT_FALSE(FindWindowW(nullptr, L"Performing Scheduled Maintenance"));
}
