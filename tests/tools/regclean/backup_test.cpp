// Backup and restore through the registry editor: the stand-in editor for the texts and decisions,
// Wine's real regedit for the export and import themselves.
#include <gtest/gtest.h>

#include "logs/logs.h"
#include "regclean_fixture.h"

using namespace regtest;
using platform::MsgResult;
using tools::regclean::EditorRun;

namespace {
struct BackupTest : RegCleanTest {
    void SetUp() override {
        RegCleanTest::SetUp();
        platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, true});
    }
    std::string File() const { return DataFolder() + "Registry Backup\\Reg_Backup.reg"; }
    void UseRealEditor() { tools::regclean::SetRegistryEditorRunner({}); }
    std::string Utf16Start(const std::string& path) {
        std::string bytes = testsupport::ReadText(path), out;
        for (size_t i = 2; i + 1 < bytes.size() && out.size() < 36; i += 2)
            out += bytes[i];
        return out;
    }
};
} // namespace

TEST_F(BackupTest, TheParametersQuoteTheFullPathOfTheBackupFile) {
    // A program folder with a blank in its name.
    testsupport::RemoveTree("C:\\VantrelReg Tools");
    platform::ForceFolders("C:\\VantrelReg Tools\\");
    app::SetProgramFolderForTesting("C:\\VantrelReg Tools\\");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Registry files successfully backed up to:");
    dialogs.expectMessage("Restoring replaces the registry", MsgResult::Yes);
    auto f = Shown();
    EXPECT_TRUE(f->cmdBackup.click());
    EXPECT_TRUE(f->cmdRestore.click());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], "/e \"C:\\VantrelReg Tools\\Registry Backup\\Reg_Backup.reg\"");
    EXPECT_EQ(runs[1], "/c \"C:\\VantrelReg Tools\\Registry Backup\\Reg_Backup.reg\"");
    f.reset();
    app::SetProgramFolderForTesting(DataFolder());
    testsupport::RemoveTree("C:\\VantrelReg Tools");
}

TEST_F(BackupTest, AFirstInteractiveBackupAsksNothingAndNamesTheFileWritten) {
    UseRealEditor();
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Registry files successfully backed up to:\r\r" + File());
    auto f = Shown();
    EXPECT_TRUE(f->cmdBackup.click());
    dialogs.verifyAllAsked();
    EXPECT_EQ(Utf16Start(File()), "Windows Registry Editor Version 5.00");
    EXPECT_GT(platform::FileSize(File()).value_or(0), 100000u);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Registry backup procedure complete...");
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_NE(std::find(log.begin(), log.end(), "  Backing up registry files."), log.end());
}

TEST_F(BackupTest, AnExistingBackupIsReplacedOnlyWhenTheUserSaysYes) {
    platform::ForceFolders(DataFolder() + "Registry Backup\\");
    platform::WriteFileBytes(File(), "earlier backup");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("A backup copy of the registry exists - do you want to update it?", MsgResult::No);
    auto f = Shown();
    f->StatusBar1.setPanelText(0, "");
    EXPECT_TRUE(f->cmdBackup.click());
    dialogs.verifyAllAsked();
    ASSERT_FALSE(dialogs.asked().empty());
    EXPECT_EQ(dialogs.asked()[0].caption, "Existing Backup...");
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(testsupport::ReadText(File()), "earlier backup");
    EXPECT_EQ(f->StatusBar1.panelText(0), "Registry backup procedure complete...");

    dialogs.expectMessage("A backup copy of the registry exists", MsgResult::Yes);
    dialogs.expectMessage("Registry files successfully backed up to:");
    EXPECT_TRUE(f->cmdBackup.click());
    dialogs.verifyAllAsked();
    EXPECT_EQ(runs.size(), 1u);
    EXPECT_EQ(testsupport::ReadText(File()), "Windows Registry Editor Version 5.00\r\n");
    EXPECT_FALSE(platform::PathExists(File() + ".old"));
}

TEST_F(BackupTest, OnWindows9xThePageShowsAndEveryScanStartsWithASilentBackup) {
    platform::ForceFolders(DataFolder() + "Registry Backup\\");
    platform::WriteFileBytes(File(), "earlier backup");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("No invalid references detected.");
    auto f = Shown();
    EXPECT_EQ(f->pcRegistry.visiblePageCaptions(), (std::vector<std::string>{"Scan Options", "Backup / Restore"}));
    EXPECT_TRUE(f->cbBackup.checked());
    Scan(*f);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], "/e \"" + File() + "\"");
    EXPECT_EQ(testsupport::ReadText(File()), "Windows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
}

TEST_F(BackupTest, OnWindowsNtThePageIsHiddenAndScansMakeNoBackup) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("No invalid references detected.");
    auto f = Shown();
    EXPECT_EQ(f->pcRegistry.visiblePageCaptions(), (std::vector<std::string>{"Scan Options"}));
    EXPECT_FALSE(f->cbBackup.checked());
    Scan(*f);
    EXPECT_TRUE(runs.empty());
}

TEST_F(BackupTest, AnExportThatWritesNothingIsReportedAndKeepsThePreviousBackup) {
    platform::ForceFolders(DataFolder() + "Registry Backup\\");
    platform::WriteFileBytes(File(), "earlier backup");
    editor = [](const std::string&) { return EditorRun{true, true, 0}; };
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("A backup copy of the registry exists", MsgResult::Yes);
    dialogs.expectMessage("The registry could not be backed up: the registry editor did not write \"" + File() +
                          "\"; the previous backup was kept.");
    auto f = Shown();
    EXPECT_FALSE(f->BackupRegistry(false));
    dialogs.verifyAllAsked();
    EXPECT_EQ(testsupport::ReadText(File()), "earlier backup");
    EXPECT_EQ(f->StatusBar1.panelText(0), "Registry backup procedure complete...");
}

TEST_F(BackupTest, AFailedSilentBackupIsLoggedAndTheScanGoesOn) {
    editor = [](const std::string&) { return EditorRun{true, true, 0}; };
    WriteString("Silent", "v", Missing("x.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->Unattended = true;
    f->LogUnattended = true;
    Scan(*f);
    auto log = LogLines(logs::kRegistryLog);
    auto at = std::find(log.begin(), log.end(), "  Backing up registry files...");
    ASSERT_NE(at, log.end());
    ASSERT_NE(at + 1, log.end());
    EXPECT_EQ(*(at + 1), "  Registry backup failed: the registry editor did not write \"" + File() + "\".");
    EXPECT_EQ(*(at + 2), "  Analyzing: HKEY_CURRENT_USER...");
    EXPECT_EQ(ScratchRows(*f).size(), 1u);
}

TEST_F(BackupTest, TheRealEditorFailingToWriteIsReportedAsAFailure) {
    UseRealEditor();
    // A folder where the file should go: regedit cannot write it.
    platform::ForceFolders(File() + "\\");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("The registry could not be backed up: the registry editor did not write");
    auto f = Shown();
    EXPECT_FALSE(f->BackupRegistry(false));
    dialogs.verifyAllAsked();
}

TEST_F(BackupTest, AnEditorThatCannotStartGivesTheErrorNumber) {
    editor = [](const std::string&) { return EditorRun{false, false, ERROR_FILE_NOT_FOUND}; };
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("There was an error while backing up the registry.\r\rError Number: 2");
    auto f = Shown();
    EXPECT_FALSE(f->BackupRegistry(false));
    dialogs.verifyAllAsked();
    EXPECT_EQ(f->StatusBar1.panelText(0), "Registry backup procedure complete...");
    platform::ForceFolders(DataFolder() + "Registry Backup\\");
    platform::WriteFileBytes(File(), "backup");
    dialogs.expectMessage("Restoring replaces the registry", MsgResult::Yes);
    dialogs.expectMessage("There was an error while restoring the registry.\r\rError Number: 2");
    EXPECT_FALSE(f->RestoreRegistry(false));
    dialogs.verifyAllAsked();
    EXPECT_EQ(f->StatusBar1.panelText(0), "Restore procedure complete");
}

TEST_F(BackupTest, AnEditorThatDoesNotFinishInTimeIsReported) {
    editor = [](const std::string&) { return EditorRun{true, false, 0}; };
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("the registry editor did not finish within 10 minutes");
    auto f = Shown();
    EXPECT_FALSE(f->BackupRegistry(false));
    dialogs.verifyAllAsked();
}

TEST_F(BackupTest, ARestoreWithoutBackupStartsNothingButIsLogged) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("No backup copy of the registry exists.");
    auto f = Shown();
    EXPECT_TRUE(f->cmdRestore.click());
    dialogs.verifyAllAsked();
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(f->StatusBar1.panelText(0), "Restore procedure complete");
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_NE(std::find(log.begin(), log.end(), "  Restoring registry files from backup."), log.end());
}

TEST_F(BackupTest, ARestoreAsksBeforeReplacingTheRegistry) {
    platform::ForceFolders(DataFolder() + "Registry Backup\\");
    platform::WriteFileBytes(File(), "backup");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Restoring replaces the registry with the backup copy in:\r\r" + File(), MsgResult::No);
    auto f = Shown();
    EXPECT_TRUE(f->cmdRestore.click());
    dialogs.verifyAllAsked();
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(f->StatusBar1.panelText(0), "Restore procedure complete");
}

TEST_F(BackupTest, TheRealEditorPutsBackWhatTheBackupHeld) {
    UseRealEditor();
    WriteString("Restore", "kept", "C:\\Windows");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Registry files successfully backed up to:");
    dialogs.expectMessage("Restoring replaces the registry", MsgResult::Yes);
    auto f = Shown();
    EXPECT_TRUE(f->BackupRegistry(false));
    Key("Restore").deleteValue("kept");
    ASSERT_FALSE(ValueExists("Restore", "kept"));
    EXPECT_TRUE(f->RestoreRegistry(false));
    dialogs.verifyAllAsked();
    EXPECT_TRUE(ValueExists("Restore", "kept"));
    EXPECT_EQ(f->StatusBar1.panelText(0), "Restore procedure complete");
}

TEST_F(BackupTest, ThePictureTogglesTheBackupOption) {
    auto f = Shown();
    ASSERT_TRUE(f->cbBackup.checked());
    EXPECT_EQ(f->Image2.hint(), "Use this option to make a backup of your registry before performing a scan");
    EXPECT_TRUE(f->Image2.click());
    EXPECT_FALSE(f->cbBackup.checked());
    EXPECT_TRUE(f->Image2.click());
    EXPECT_TRUE(f->cbBackup.checked());
}
