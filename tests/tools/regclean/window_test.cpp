// The window as the user meets it: texts, stored choices, OS modes, the column rule, help, the
// administrator hint, closing during a scan, the keyboard.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "logs/logs.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "regclean_fixture.h"
#include "tools/regclean/regclean.h"

using namespace regtest;
using platform::MsgResult;

namespace {
struct WindowTest : RegCleanTest {};
constexpr const char* kPos = "Software\\Quorvel\\Vantrel\\regclean\\Pos";
} // namespace

TEST_F(WindowTest, TheWindowShowsItsAreasColumnsAndOptions) {
    auto f = Shown();
    EXPECT_EQ(f->caption(), "Registry Cleaner");
    EXPECT_EQ(f->lvScanFor.columnCaption(0), "Location to scan");
    EXPECT_EQ(f->lvScanFor.columnCaption(1), "Description");
    ASSERT_EQ(f->lvScanFor.rowCount(), 4);
    EXPECT_EQ(f->lvScanFor.row(0),
              (std::vector<std::string>{"HKEY_CURRENT_USER", "Stores information about the currently logged-in user"}));
    EXPECT_EQ(f->lvScanFor.row(1),
              (std::vector<std::string>{"HKEY_USERS", "Stores information about all configured users"}));
    EXPECT_EQ(f->lvScanFor.row(2),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE", "Stores global information about the computer"}));
    EXPECT_EQ(f->lvScanFor.row(3), (std::vector<std::string>{"Invalid shared DLL's",
                                                             "Find orphaned references to system-shared .dll files"}));
    EXPECT_EQ(f->lvScanFor.image(0), 0);
    EXPECT_EQ(f->lvScanFor.image(2), 0);
    EXPECT_EQ(f->lvScanFor.image(3), 1);
    std::vector<std::string> columns;
    for (int c = 0; c < f->lv.columnCount(); ++c)
        columns.push_back(f->lv.columnCaption(c));
    EXPECT_EQ(columns,
              (std::vector<std::string>{"Registry Key", "Last Modification", "Key", "Invalid Reference Value"}));
    EXPECT_EQ(f->btnStart.caption(), "Scan &Registry");
    EXPECT_EQ(f->btnStart.hint(), "Begin scanning your registry");
    EXPECT_EQ(f->cmdExit.caption(), "&Exit");
    EXPECT_EQ(f->cmdHelp.caption(), "&Help");
    EXPECT_EQ(f->pcRegistry.pageCaption(0), "Scan Options");
    EXPECT_EQ(f->pcRegistry.pageCaption(1), "Backup / Restore");
    EXPECT_EQ(f->cbExclude.caption(), "&Exclude references to CDROM or network drives");
    EXPECT_TRUE(f->cbExclude.checked());
    EXPECT_EQ(f->cbRescan.caption(), "&Re-scan after removal");
    EXPECT_FALSE(f->cbRescan.checked());
    EXPECT_EQ(f->cbBackup.caption(), "&Backup registry files before scanning");
    EXPECT_EQ(f->cbBackup.hint(), "Use this option to make a backup of your registry before performing a scan");
    EXPECT_EQ(f->cmdBackup.caption(), "&Perform Backup Now");
    EXPECT_EQ(f->cmdBackup.hint(), "Backup registry information now");
    EXPECT_EQ(f->cmdRestore.caption(), "&Restore From Backup");
    EXPECT_EQ(f->cmdRestore.hint(), "Restore last saved registry backup");
    EXPECT_EQ(f->StatusBar1.panelCount(), 2);
    EXPECT_FALSE(f->tb.visible());
    EXPECT_FALSE(f->tb.buttonEnabled("cmdRemove"));
    EXPECT_FALSE(f->aniSearch.visible());
}

TEST_F(WindowTest, StoredAreasAreRestoredFollowedByTheSelectionAndWrittenBackAtClose) {
    auto k = platform::RegKey::Create(HKEY_CURRENT_USER, kOptions);
    k.writeInt("CU", 0);
    k.deleteValue("US");
    k.writeInt("LM", 1);
    k.writeInt("SD", 0);
    auto f = Shown();
    EXPECT_FALSE(f->lvScanFor.checked(0));
    EXPECT_TRUE(f->lvScanFor.checked(1)) << "a missing value counts as checked";
    EXPECT_TRUE(f->lvScanFor.checked(2));
    EXPECT_FALSE(f->lvScanFor.checked(3));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f->lvScanFor.selected(i), f->lvScanFor.checked(i)) << i;
    f->lvScanFor.setChecked(3, true);
    f->lvScanFor.setChecked(2, false);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f->lvScanFor.selected(i), f->lvScanFor.checked(i)) << i;
    EXPECT_TRUE(f->close());
    auto again = platform::RegKey::Open(HKEY_CURRENT_USER, kOptions);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->valueType("US"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(again->readInt("CU"), 0);
    EXPECT_EQ(again->readInt("US"), 1);
    EXPECT_EQ(again->readInt("LM"), 0);
    EXPECT_EQ(again->readInt("SD"), 1);
}

TEST_F(WindowTest, TheReScanOptionIsKeptAndTheBackupOptionFollowsTheSystem) {
    {
        auto f = Shown();
        f->cbRescan.setChecked(true);
        EXPECT_TRUE(f->close());
    }
    auto pos = platform::RegKey::Open(HKEY_CURRENT_USER, kPos, KEY_ALL_ACCESS);
    ASSERT_TRUE(pos);
    EXPECT_EQ(pos->readString("cbRescan_Checked").value_or(""), "True");
    EXPECT_EQ(pos->readString("cbBackup_Checked").value_or(""), "False");
    pos->writeString("cbBackup_Checked", "True");
    auto f = Shown();
    EXPECT_TRUE(f->cbRescan.checked());
    EXPECT_FALSE(f->cbBackup.checked()) << "Windows NT: no backup whatever was stored";
    f.reset();
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, true});
    pos->writeString("cbBackup_Checked", "False");
    f = Shown();
    EXPECT_TRUE(f->cbBackup.checked()) << "Windows 98: always a backup first";
}

TEST_F(WindowTest, WithInteractiveLoggingOffNothingIsWrittenButTheCounterGrows) {
    app::WriteRegBool("\\Software\\Quorvel\\Vantrel\\Logs", "DoReg", false);
    WriteString("NoLog", "v", Missing("nolog.exe"));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to remove all", MsgResult::Yes);
    auto f = Shown();
    Scan(*f);
    f->Remove_All();
    EXPECT_TRUE(f->close());
    EXPECT_FALSE(platform::PathExists(DataFolder() + logs::kManualRegistryLog));
    EXPECT_EQ(app::ReadRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "RegRefs"), 1);
}

TEST_F(WindowTest, WideningTheWindowGivesTheRestToTheFirstColumn) {
    auto f = Shown();
    RECT r = f->windowRect();
    r.right += 300;
    f->setWindowRect(r);
    int others = f->lv.columnWidth(1) + f->lv.columnWidth(2) + f->lv.columnWidth(3);
    EXPECT_EQ(f->lv.columnWidth(0), f->lv.bounds().w - others - 4);
    // When the other columns leave 70 pixels or less, the first keeps its width.
    f->lv.setColumnWidth(3, f->lv.bounds().w - f->lv.columnWidth(1) - f->lv.columnWidth(2) - 50);
    f->lv.setColumnWidth(0, 123);
    r.right -= 10;
    f->setWindowRect(r);
    EXPECT_EQ(f->lv.columnWidth(0), 123);
}

TEST_F(WindowTest, HelpOpensTheRegistryCleanersPage) {
    app::WriteRegBool("\\Software\\Quorvel\\Vantrel\\Logs", "DoReg", false);
    app::SetProgramFolderForTesting(testsupport::BuildFolder());
    testsupport::ShellRecorder shell;
    auto f = Shown();
    EXPECT_TRUE(f->cmdHelp.click());
    f->lv.setFocus();
    PostMessageW(f->lv.hwnd(), WM_KEYDOWN, VK_F1, 0);
    platform::ProcessMessages();
    ASSERT_EQ(shell.requests().size(), 2u);
    for (auto& r : shell.requests())
        EXPECT_TRUE(platform::SameText(r.file, testsupport::BuildFolder() + "Help\\Cleaning_your_system_registry.html"))
            << r.file;
    f.reset();
    app::SetProgramFolderForTesting(DataFolder());
}

TEST_F(WindowTest, OnlyANonAdministratorSeesTheRegistryHint) {
    std::vector<std::string> modal;
    auto previous = platform::Form::SetModalHook([&](platform::Form& other) {
        modal.push_back(other.className());
        other.close();
    });
    { auto f = Shown(); }
    EXPECT_TRUE(modal.empty());
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, false});
    {
        auto f = Shown();
        EXPECT_TRUE(f->visible());
    }
    platform::Form::SetModalHook(previous);
    ASSERT_EQ(modal.size(), 1u);
    EXPECT_NE(modal[0], "TfrmRegClean");
}

TEST_F(WindowTest, ClosingDuringAScanStopsItFirstAndThenCloses) {
    WriteString("Close", "v", Missing("close.exe"));
    Areas(true, true, true, true);
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    PostMessageW(f->hwnd(), WM_CLOSE, 0, 0);
    Scan(*f);
    EXPECT_TRUE(f->isOpen()) << "the scan unwinds before the window goes";
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
    platform::ProcessMessages();
    EXPECT_FALSE(f->isOpen());
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& l) { return l.rfind("CLOSE SESSION: ", 0) == 0; }), 1);
    EXPECT_EQ(std::find(log.begin(), log.end(), "  Analyzing: HKEY_LOCAL_MACHINE..."), log.end());
    EXPECT_TRUE(platform::RegKey::Open(HKEY_CURRENT_USER, kOptions)->readInt("SD").value_or(0) == 1);
}

TEST_F(WindowTest, EscapePressesTheScanButtonAndSoStopsTheScan) {
    Areas(true, false, true, false);
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    f->lvScanFor.setFocus();
    PostMessageW(f->lvScanFor.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    Scan(*f);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
}

TEST_F(WindowTest, AClosingDuringABackupWaitsForTheEditorToFinish) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, true});
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Registry files successfully backed up to:");
    auto f = Shown();
    bool openDuring = false;
    editor = [&](const std::string& p) {
        // The user closes the window while the editor runs.
        SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
        openDuring = f->isOpen();
        platform::WriteFileBytes(FileOfParameters(p), "export");
        return tools::regclean::EditorRun{true, true, 0};
    };
    EXPECT_TRUE(f->cmdBackup.click());
    EXPECT_TRUE(openDuring);
    EXPECT_TRUE(f->isOpen());
    platform::ProcessMessages();
    EXPECT_FALSE(f->isOpen());
}

TEST_F(WindowTest, TheLaunchersEntryShowsTheWindowModally) {
    std::string shown;
    bool pageHidden = false;
    auto previous = platform::Form::SetModalHook([&](platform::Form& form) {
        shown = form.className();
        auto* f = dynamic_cast<TfrmRegClean*>(&form);
        ASSERT_NE(f, nullptr);
        pageHidden = f->pcRegistry.visiblePageCaptions() == std::vector<std::string>{"Scan Options"};
        f->cmdExit.click();
    });
    tools::regclean::ShowRegistryCleaner();
    platform::Form::SetModalHook(previous);
    EXPECT_EQ(shown, "TfrmRegClean");
    EXPECT_TRUE(pageHidden);
    auto log = LogLines(logs::kManualRegistryLog);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[1].rfind("SESSION START: ", 0), 0u);
    EXPECT_EQ(log[log.size() - 3], "NUMBER OF INVALID REFERENCES REMOVED: 0");
}

TEST_F(WindowTest, ExitStopsAndCloses) {
    auto f = Shown();
    EXPECT_TRUE(f->cmdExit.click());
    EXPECT_FALSE(f->isOpen());
}

TEST_F(WindowTest, DelAndCtrlAInTheListActAsTheirMenuItems) {
    for (int i = 1; i <= 3; ++i)
        WriteString("Keys\\k" + std::to_string(i), "v", Missing("k.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    Scan(*f);
    ASSERT_EQ(f->lv.rowCount(), 3);
    f->lv.setFocus();
    ASSERT_TRUE(f->lv.focused());
    // Ctrl+A: the key state is that of the message being handled.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(f->lv.hwnd(), WM_KEYDOWN, 'A', 0);
    platform::ProcessMessages();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(f->lv.selectedCount(), 3);
    dialogs.expectMessage("Are you sure you want to remove 3 selected entries from the Registry?", MsgResult::No);
    PostMessageW(f->lv.hwnd(), WM_KEYDOWN, VK_DELETE, 0);
    platform::ProcessMessages();
    dialogs.verifyAllAsked();
    EXPECT_EQ(f->lv.rowCount(), 3);
}

TEST(PlatformMenu, ItemsAreFoundEnabledCheckedAndChosenByName) {
    platform::Menu bar(platform::Menu::Kind::Bar);
    int opened = 0, saved = 0;
    auto& file = bar.addSubmenu("mnuFile", "&File");
    file.addItem("mnuOpen", "&Open", "Ctrl+O", [&] { ++opened; });
    file.addSeparator();
    file.addItem("mnuSave", "&Save", "", [&] { ++saved; });
    EXPECT_EQ(file.itemNames(), (std::vector<std::string>{"mnuOpen", "mnuSave"}));
    EXPECT_TRUE(bar.hasItem("mnuSave"));
    EXPECT_TRUE(bar.enabled("mnuSave"));
    bar.setEnabled("mnuSave", false);
    EXPECT_FALSE(bar.enabled("mnuSave"));
    EXPECT_FALSE(bar.click("mnuSave"));
    EXPECT_EQ(saved, 0);
    bar.setChecked("mnuOpen", true);
    EXPECT_TRUE(bar.checked("mnuOpen"));
    EXPECT_TRUE(bar.click("mnuOpen"));
    EXPECT_EQ(opened, 1);
    // The command id a window receives finds the same item.
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(GetSubMenu(bar.handle(), 0), 0, TRUE, &info));
    EXPECT_TRUE(bar.dispatch(info.wID));
    EXPECT_EQ(opened, 2);
    EXPECT_FALSE(bar.dispatch(1));
    EXPECT_EQ(bar.caption("mnuOpen"), "&Open");
    EXPECT_EQ(bar.shortcut("mnuOpen"), "Ctrl+O");
    EXPECT_FALSE(bar.hasItem("mnuNone"));
}
