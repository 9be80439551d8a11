// The unattended junk clean against the real junk cleaner window (a folder to empty, no drive),
// and the junk page's "&Define Actions...".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/progress.h"
#include "app/settings.h"
#include "every_tick.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "sched/frm_sched.h"
#include "sched/unattended.h"
#include "sched_fixture.h"
#include "support/scripted_dialogs.h"
#include "tools/junk/frm_junk.h"

using namespace schedtest;
using sched::Task;
using sched::TfrmSched;

namespace {
constexpr const char* kWork = "C:\\VantrelSchedJunk\\";
constexpr const char* kFoldersKey = "Software\\Quorvel\\Vantrel\\junk\\folders";
constexpr const char* kStateKey = "Software\\Quorvel\\Vantrel\\junk\\pos";
constexpr const char* kLogsKey = "\\Software\\Quorvel\\Vantrel\\Logs";

class JunkRun : public SchedFixture {
protected:
    void SetUp() override {
        SchedFixture::SetUp();
        testsupport::RemoveTree(kWork);
        // No drive is stored, so only the folder to empty is walked.
        platform::RegKey::Create(HKEY_CURRENT_USER, kFoldersKey).writeInt(Cache(), 1);
        platform::RegKey::Create(HKEY_CURRENT_USER, kStateKey);
    }
    void TearDown() override {
        testsupport::RemoveTree(kWork);
        SchedFixture::TearDown();
    }
    static std::string Cache() { return std::string(kWork) + "cache\\"; }
    // Files of 5 bytes, count in each of the given number of subfolders; their paths.
    static std::vector<std::string> Fill(int folders, int count) {
        std::vector<std::string> files;
        for (int f = 0; f < folders; ++f) {
            std::string folder = Cache() + "f" + std::to_string(f) + "\\";
            platform::ForceFolders(folder);
            for (int i = 0; i < count; ++i) {
                files.push_back(folder + "page" + std::to_string(i) + ".htm");
                platform::WriteFileBytes(files.back(), "12345");
            }
        }
        return files;
    }
    static int Remaining(const std::vector<std::string>& files) {
        int n = 0;
        for (const auto& f : files)
            n += platform::FileExists(f) ? 1 : 0;
        return n;
    }

    TfrmSched sched;
};
} // namespace

TEST_F(JunkRun, TheHiddenJunkCleanerEmptiesTheFolderAndTheRunIsRecorded) {
    auto files = Fill(2, 3);
    // Empty folders make the walk outlast a few timer ticks, so that the running scan is seen.
    for (int f = 0; f < 600; ++f)
        platform::ForceFolders(Cache() + "empty" + std::to_string(f) + "\\");
    std::string status;
    bool toolHidden = false;
    EveryTick sample([&] {
        auto* progress = sched.progressWindow();
        auto* tool = sched.runningTool();
        if (!progress || !tool || tool->window().controlAs<platform::Button>("cmdGo")->caption() != "&Stop")
            return false;
        status = progress->lblStatus.caption();
        toolHidden = !IsWindowVisible(tool->window().hwnd());
        return true;
    });
    testsupport::ScriptedDialogs dialogs; // nothing may be asked
    sched.create();
    sched.PerformJunk();
    EXPECT_EQ(status, "Removing junk and obsolete files...");
    EXPECT_TRUE(toolHidden);
    EXPECT_EQ(Remaining(files), 0);
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "JunkFiles"), 6);
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "JunkBytes"), 30);
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);
    EXPECT_EQ(sched.runningTool(), nullptr);
    EXPECT_EQ(sched.progressWindow(), nullptr);
    std::string log = testsupport::ReadText(folder.file("JunkLog.txt"));
    EXPECT_NE(log.find("TOTAL SPACE RECOVERED: 30 bytes (0.00 megabytes.)"), std::string::npos) << log;
    EXPECT_EQ(log.find("Drives Already Clean"), std::string::npos);
}

TEST_F(JunkRun, CancelStopsTheScanAndTheJunkFoundSoFarIsStillRemoved) {
    auto files = Fill(40, 25);
    int rowsAtCancel = 0;
    std::string linkText;
    EveryTick cancel([&] {
        auto* progress = sched.progressWindow();
        auto* tool = sched.runningTool();
        if (!progress || !tool || tool->resultCount() == 0) return false;
        rowsAtCancel = tool->resultCount();
        EXPECT_TRUE(progress->lblCancel.click());
        linkText = progress->lblCancel.caption();
        return true;
    });
    testsupport::ScriptedDialogs dialogs;
    sched.create();
    sched.PerformJunk();

    EXPECT_EQ(linkText, "Please Wait...");
    ASSERT_GT(rowsAtCancel, 0);
    const int removed = static_cast<int>(files.size()) - Remaining(files);
    EXPECT_GE(removed, rowsAtCancel);
    EXPECT_LT(removed, static_cast<int>(files.size())) << "the scan was not stopped";
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "JunkFiles"), removed);
    EXPECT_EQ(ReadTime(Task::Junk, "LastRan"), kNow);
    std::string log = testsupport::ReadText(folder.file("JunkLog.txt"));
    EXPECT_NE(log.find("  Scan End."), std::string::npos);
    EXPECT_EQ(log.find("Drives Already Clean"), std::string::npos);
}

TEST_F(JunkRun, DefineActionsOpensTheJunkCleanerWithItsCaptionPrefixed) {
    auto files = Fill(1, 2);
    std::vector<std::string> modal;
    auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
        modal.push_back(f.className() + ": " + f.caption());
        f.close();
    });
    sched.create();
    EXPECT_TRUE(sched.junk.cmdDefine.click());
    platform::Form::SetModalHook(previous);
    ASSERT_EQ(modal.size(), 2u);
    EXPECT_EQ(modal[0].rfind("TfrmHint: ", 0), 0u) << modal[0];
    EXPECT_EQ(modal[1],
              "TfrmJunk: Modifying Scheduled Maintenance Properties - Find and Clean Junk and Obsolete Files");
    // Only the settings were shown: nothing was scanned or removed.
    EXPECT_EQ(Remaining(files), 2);
    EXPECT_FALSE(ReadTime(Task::Junk, "LastRan"));
    EXPECT_FALSE(platform::FileExists(folder.file("JunkLog.txt")));
}
