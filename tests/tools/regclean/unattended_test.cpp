// The window driven as the unattended registry clean drives it: created hidden, flags set, the scan
// button pressed, the first status panel watched, Remove_All, close. Nothing may be asked.
#include <gtest/gtest.h>

#include <regex>

#include "app/settings.h"
#include "logs/logs.h"
#include "platform/messages.h"
#include "regclean_fixture.h"

using namespace regtest;

namespace {
constexpr const char* kLogsKey = "\\Software\\Quorvel\\Vantrel\\Logs";

struct UnattendedTest : RegCleanTest {
    // The run's own steps: press the button, wait for the end, remove what was found, close.
    void Run(TfrmRegClean& f, bool logEvents, const std::function<void()>& beforeClose = {}) {
        f.Unattended = true;
        f.LogUnattended = logEvents;
        platform::ProcessMessages();
        ASSERT_TRUE(f.btnStart.click());
        for (int i = 0; i < 100000; ++i) {
            std::string s = f.StatusBar1.panelText(0);
            if (s == "Scan successfully completed." || s == "Scan interrupted.") break;
            platform::ProcessMessages();
        }
        if (f.lv.rowCount() > 0) f.Remove_All();
        platform::ProcessMessages();
        if (beforeClose) beforeClose();
        EXPECT_TRUE(f.close());
    }
    static bool IsStamp(const std::string& line, const std::string& header) {
        return line.rfind(header, 0) == 0 && line.size() > header.size();
    }
};
} // namespace

TEST_F(UnattendedTest, ThreeFindingsAreRemovedAndTheRunLogsEveryStep) {
    for (const char* name : {"a", "b", "c"})
        WriteString("Run", name, Missing(std::string(name) + ".exe"));
    testsupport::ScriptedDialogs dialogs; // any question fails the test
    auto f = Hidden();
    Run(*f, true);
    for (const char* name : {"a", "b", "c"})
        EXPECT_FALSE(ValueExists("Run", name));
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "RegRefs"), 3);
    // A window that is never shown backs up before it scans, also on Windows NT.
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].substr(0, 3), "/e ");
    EXPECT_FALSE(platform::PathExists(DataFolder() + logs::kManualRegistryLog));

    auto log = LogLines(logs::kRegistryLog);
    std::string sep(40, '=');
    std::string key = "      KEY: HKEY_CURRENT_USER\\" + Sub("Run");
    std::vector<std::string> expected{"",
                                      sep,
                                      "*OPERATION START: ",
                                      sep,
                                      "  Backing up registry files...",
                                      "  Analyzing: HKEY_CURRENT_USER...",
                                      "  Scan complete. 3 invalid references found.",
                                      "*  Removed values are kept for undo in: ",
                                      "  Start: Removing invalid references"};
    for (const char* name : {"a", "b", "c"})
        expected.insert(expected.end(), {"  Removing invalid reference...", key, std::string("      VALUE: ") + name});
    expected.insert(expected.end(), {"  Finish: Removing invalid references", sep,
                                     "*OPERATION COMPLETE: ", "NUMBER OF INVALID REFERENCES REMOVED: 3", sep});
    ASSERT_EQ(log.size(), expected.size());
    for (size_t i = 0; i < log.size(); ++i) {
        if (expected[i][0] == '*')
            EXPECT_TRUE(IsStamp(log[i], expected[i].substr(1))) << i << ": " << log[i];
        else
            EXPECT_EQ(log[i], expected[i]) << i;
    }
}

TEST_F(UnattendedTest, AnAlreadyCleanRegistryClosesTheOperationAtOnce) {
    app::WriteRegInt(kLogsKey, "RegRefs", 4);
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    Run(*f, true);
    auto log = LogLines(logs::kRegistryLog);
    std::string sep(40, '=');
    ASSERT_EQ(log.size(), 11u);
    EXPECT_EQ(log[5], "  Analyzing: HKEY_CURRENT_USER...");
    EXPECT_EQ(log[6], "  Registry Already Clean: No invalid references detected.");
    EXPECT_EQ(log[7], sep);
    EXPECT_TRUE(IsStamp(log[8], "OPERATION COMPLETE: "));
    EXPECT_EQ(log[9], sep);
    EXPECT_EQ(log[10], "  Scan complete. 0 invalid references found.");
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "RegRefs"), 4);
}

TEST_F(UnattendedTest, WithLogEventsOffNothingIsLoggedButTheWorkIsDone) {
    WriteString("Quiet", "v", Missing("quiet.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    Run(*f, false);
    EXPECT_FALSE(ValueExists("Quiet", "v"));
    EXPECT_FALSE(platform::PathExists(DataFolder() + logs::kRegistryLog));
    EXPECT_FALSE(platform::PathExists(DataFolder() + logs::kManualRegistryLog));
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "RegRefs"), 1);
}

TEST_F(UnattendedTest, CancellingMidScanRemovesWhatWasFoundSoFar) {
    WriteString("Cancel\\A", "v", Missing("a.exe"));
    auto busy = Key("Cancel\\B");
    for (int i = 0; i < 3000; ++i)
        busy.writeString("valid" + std::to_string(i), "C:\\");
    WriteString("Cancel\\C", "v", Missing("c.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    Poster cancel;
    // The progress window's "Cancel" presses the scan button.
    cancel.whenReady([&] { return f->lv.rowCount() > 0; }, [&] { EXPECT_TRUE(f->btnStart.click()); });
    f->Unattended = true;
    f->LogUnattended = true;
    ASSERT_TRUE(f->btnStart.click());
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
    ASSERT_EQ(ScratchRows(*f).size(), 1u);
    f->Remove_All();
    EXPECT_TRUE(f->close());
    EXPECT_FALSE(ValueExists("Cancel\\A", "v"));
    EXPECT_TRUE(ValueExists("Cancel\\C", "v"));
    auto log = LogLines(logs::kRegistryLog);
    EXPECT_EQ(std::find(log.begin(), log.end(), "  Registry Already Clean: No invalid references detected."),
              log.end());
    EXPECT_EQ(log[log.size() - 2], "NUMBER OF INVALID REFERENCES REMOVED: 1");
}

TEST_F(UnattendedTest, AWalkThatFailsEndsAsInterruptedAndIsLoggedNotShown) {
    WriteString("Found", "v", Missing("found.exe"));
    auto busy = Key("Walk\\A");
    for (int i = 0; i < 3000; ++i)
        busy.writeString("valid" + std::to_string(i), "C:\\");
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    Poster during;
    during.whenReady([&] { return f->StatusBar1.panelText(1) == "Analyzing: A"; },
                     [&] { platform::DeleteKeyTree(HKEY_CURRENT_USER, Sub("Walk")); });
    Run(*f, true);
    ASSERT_EQ(during.ran(), 1);
    auto log = LogLines(logs::kRegistryLog);
    auto at = std::find(log.begin(), log.end(), "  Scan complete. 1 invalid references found.");
    ASSERT_NE(at, log.end());
    ASSERT_NE(at + 1, log.end());
    EXPECT_EQ(*(at + 1), "  Can not open key \\" + Sub("Walk"));
    EXPECT_EQ(log[log.size() - 2], "NUMBER OF INVALID REFERENCES REMOVED: 1");
}

TEST_F(UnattendedTest, AWindowNeverShownLeavesTheStoredOptionsAlone) {
    auto pos = platform::RegKey::Create(HKEY_CURRENT_USER, "Software\\Quorvel\\Vantrel\\regclean\\Pos");
    pos.writeString("cbRescan_Checked", "True");
    pos.writeString("Left", "17");
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, false});
    testsupport::ScriptedDialogs dialogs;
    int modal = 0;
    auto previous = platform::Form::SetModalHook([&](platform::Form& other) {
        ++modal;
        other.close();
    });
    auto f = Hidden();
    Run(*f, false, [&] {
        // The initial states: exclusion on, re-scan off, backup on.
        EXPECT_TRUE(f->cbExclude.checked());
        EXPECT_FALSE(f->cbRescan.checked());
        EXPECT_TRUE(f->cbBackup.checked());
    });
    platform::Form::SetModalHook(previous);
    EXPECT_EQ(modal, 0) << "no hint stops an unattended run";
    EXPECT_EQ(pos.readString("cbRescan_Checked").value_or(""), "True");
    EXPECT_EQ(pos.readString("Left").value_or(""), "17");
}
