// Removal of findings: questions, what is deleted, the rows left, the log, the counter, the undo
// file (imported again with Wine's regedit) and the menus and toolbar that lead there.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "logs/logs.h"
#include "platform/menu.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "regclean_fixture.h"

using namespace regtest;
using platform::MsgResult;

namespace {
struct RemovalTest : RegCleanTest {
    // Five findings r1..r5, one per key, listed in that order.
    std::unique_ptr<TfrmRegClean> FiveRows(testsupport::ScriptedDialogs&) {
        for (int i = 1; i <= 5; ++i)
            WriteString("Rm\\r" + std::to_string(i), "v", Missing("r" + std::to_string(i) + ".exe"));
        auto f = Shown();
        Scan(*f);
        EXPECT_EQ(f->lv.rowCount(), 5);
        return f;
    }
    static void SelectOnly(TfrmRegClean& f, std::initializer_list<int> rows) {
        for (int i = 0; i < f.lv.rowCount(); ++i)
            f.lv.setSelected(i, false);
        for (int r : rows)
            f.lv.setSelected(r, true);
    }
    std::vector<std::string> KeysListed(TfrmRegClean& f) {
        std::vector<std::string> out;
        for (auto& r : AllRows(f))
            out.push_back(r[0]);
        return out;
    }
};
} // namespace

TEST_F(RemovalTest, TheQuestionCountsTheSelectedRowsAndNoRemovesNothing) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    auto before = LogLines(logs::kManualRegistryLog);
    SelectOnly(*f, {0, 1});
    dialogs.expectMessage("Are you sure you want to remove 2 selected entries from the Registry?", MsgResult::No);
    EXPECT_TRUE(f->tb.click("cmdRemove"));
    SelectOnly(*f, {3});
    dialogs.expectMessage("Are you sure you want to remove selected entry from the Registry?", MsgResult::No);
    EXPECT_TRUE(f->tb.click("cmdRemove"));
    dialogs.verifyAllAsked();
    EXPECT_EQ(dialogs.asked()[0].caption, "Please Confirm");
    EXPECT_EQ(f->lv.rowCount(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(ValueExists("Rm\\r" + std::to_string(i), "v"));
    EXPECT_EQ(LogLines(logs::kManualRegistryLog), before);
    EXPECT_EQ(f->removedCount(), 0);
}

TEST_F(RemovalTest, RemovingTheSecondAndFourthOfFiveLeavesThreeWithTheThirdSelected) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    SelectOnly(*f, {1, 3});
    dialogs.expectMessage("Are you sure you want to remove 2 selected entries", MsgResult::Yes);
    f->Remove_Selected();
    EXPECT_FALSE(ValueExists("Rm\\r2", "v"));
    EXPECT_FALSE(ValueExists("Rm\\r4", "v"));
    for (int i : {1, 3, 5})
        EXPECT_TRUE(ValueExists("Rm\\r" + std::to_string(i), "v"));
    EXPECT_EQ(KeysListed(*f),
              (std::vector<std::string>{KeyColumn("Rm\\r1"), KeyColumn("Rm\\r3"), KeyColumn("Rm\\r5")}));
    EXPECT_EQ(f->StatusBar1.panelText(1), "Number of invalid entries found: 3");
    EXPECT_EQ(f->lv.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(f->removedCount(), 2);
    auto log = LogLines(logs::kManualRegistryLog);
    std::vector<std::string> removal(std::find(log.begin(), log.end(), "  Removing invalid reference..."), log.end());
    EXPECT_EQ(removal, (std::vector<std::string>{"  Removing invalid reference...",
                                                 "      KEY: HKEY_CURRENT_USER\\" + Sub("Rm\\r2"), "      VALUE: v",
                                                 "  Removing invalid reference...",
                                                 "      KEY: HKEY_CURRENT_USER\\" + Sub("Rm\\r4"), "      VALUE: v"}));
}

TEST_F(RemovalTest, RemoveAllAsksOnceAndEmptiesTheList) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    dialogs.expectMessage("Are you sure you want to remove all displayed entries from the Registry?", MsgResult::Yes);
    ASSERT_TRUE(f->pmResults.click("mnuAll"));
    dialogs.verifyAllAsked();
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(ValueExists("Rm\\r" + std::to_string(i), "v"));
    EXPECT_EQ(f->lv.rowCount(), 0);
    EXPECT_FALSE(f->tb.buttonEnabled("cmdRemove"));
    EXPECT_FALSE(f->pmResults.enabled("mnuAll"));
    EXPECT_EQ(f->StatusBar1.panelText(1), "Number of invalid entries found: 0");
    EXPECT_EQ(f->removedCount(), 5);
}

TEST_F(RemovalTest, SharedDllAndDefaultValueFindingsDeleteExactlyTheirValue) {
    std::string dll = Missing("shared.dll");
    AddSharedDll(dll, 3);
    WriteString("Default", "", Missing("default.exe"));
    WriteString("Default", "other", "C:\\");
    Areas(true, false, false, true);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    auto f = Shown();
    Scan(*f);
    ASSERT_EQ(f->lv.rowCount(), 2);
    EXPECT_EQ(f->lv.row(1), (std::vector<std::string>{std::string("HKEY_LOCAL_MACHINE: ") + kSharedDlls,
                                                      f->lv.text(1, 1), dll, dll}));
    EXPECT_EQ(f->lv.image(1), 1);
    f->Remove_All();
    EXPECT_FALSE(platform::RegKey::Open(HKEY_LOCAL_MACHINE, kSharedDlls)->hasValue(dll));
    EXPECT_FALSE(ValueExists("Default", ""));
    EXPECT_TRUE(ValueExists("Default", "other"));
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_NE(std::find(log.begin(), log.end(), std::string("      KEY: HKEY_LOCAL_MACHINE\\") + kSharedDlls),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "      VALUE: " + dll), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "      VALUE: "), log.end());
}

TEST_F(RemovalTest, WithRescanOnARemovalIsFollowedByAFullNewScan) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    f->cbRescan.setChecked(true);
    SelectOnly(*f, {0});
    dialogs.expectMessage("Are you sure you want to remove selected entry", MsgResult::Yes);
    f->Remove_Selected();
    EXPECT_EQ(f->lv.rowCount(), 4);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_EQ(std::count(log.begin(), log.end(), "  Scanning registry for invalid references."), 2);
    EXPECT_EQ(log.back(), "  Scan complete. 4 invalid references found.");
}

TEST_F(RemovalTest, EveryRemovedValueIsSavedAndImportingTheUndoFilePutsItBack) {
    auto raw = [&](const std::string& key, const std::string& name, DWORD type, std::vector<uint8_t> data) {
        Key(key).writeRaw(name, type, data);
    };
    auto utf16 = [](const std::string& s, bool terminator = true) {
        std::wstring w = platform::Widen(s);
        std::vector<uint8_t> out(reinterpret_cast<const uint8_t*>(w.data()),
                                 reinterpret_cast<const uint8_t*>(w.data() + w.size()));
        if (terminator) out.insert(out.end(), {0, 0});
        return out;
    };
    std::string missing = Missing("undo.exe");
    raw("Undo", "quote\"and\\backslash", REG_SZ, utf16(missing));
    raw("Undo", "", REG_SZ, utf16(missing));
    raw("Undo", "expand", REG_EXPAND_SZ, utf16(missing));
    raw("Undo", "\xC3\xA4rger \xE2\x82\xAC", REG_SZ, utf16(Missing("\xC3\xBC.exe")));
    raw("Undo", "newline", REG_SZ, utf16(missing + "\nsecondline"));
    raw("Undo", "noTerminator", REG_SZ, utf16(missing, false));
    raw("Undo\\sub key;odd", "v", REG_SZ, utf16(missing));
    std::string dll = Missing("undo.dll");
    AddSharedDll(dll, 7);
    Areas(true, false, false, true);
    std::vector<std::pair<std::string, platform::RegValue>> before;
    for (auto& v : Key("Undo").values())
        before.push_back({"Undo", v});
    before.push_back({"Undo\\sub key;odd", *Key("Undo\\sub key;odd").readValue("v")});
    auto dllBefore = *platform::RegKey::Open(HKEY_LOCAL_MACHINE, kSharedDlls)->readValue(dll);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    auto f = Shown();
    Scan(*f);
    ASSERT_EQ(f->lv.rowCount(), 8);
    f->Remove_All();
    ASSERT_EQ(f->removedCount(), 8);
    for (auto& [key, v] : before)
        ASSERT_FALSE(ValueExists(key, v.name)) << v.name;

    std::string undo = f->undoFilePath();
    EXPECT_EQ(platform::ExtractFilePath(undo), DataFolder() + "Registry Backup\\");
    EXPECT_EQ(platform::ExtractFileName(undo).substr(0, 5), "Undo_");
    std::string bytes = testsupport::ReadText(undo);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_NE(std::find(log.begin(), log.end(), "  Removed values are kept for undo in: " + undo), log.end());
    EXPECT_EQ(f->StatusBar1.panelText(0), "Removed values saved to " + undo);

    auto p = platform::StartProcess("regedit.exe /s " + platform::QuoteArgument(undo));
    ASSERT_TRUE(p);
    ASSERT_TRUE(platform::WaitForExit(*p, 60000));
    for (auto& [key, v] : before) {
        auto k = platform::RegKey::Open(HKEY_CURRENT_USER, Sub(key));
        ASSERT_TRUE(k);
        auto again = k->readValue(v.name);
        ASSERT_TRUE(again) << v.name;
        EXPECT_EQ(again->type, v.type) << v.name;
        if (v.name == "noTerminator") {
            // Wine's regedit sometimes adds the terminator that the unterminated string lacked
            // when it imports the hex form; the text itself must come back unchanged.
            std::vector<uint8_t> terminated = v.data;
            terminated.insert(terminated.end(), {0, 0});
            EXPECT_TRUE(again->data == v.data || again->data == terminated) << v.name;
            continue;
        }
        EXPECT_EQ(again->data, v.data) << v.name;
    }
    auto dllAgain = platform::RegKey::Open(HKEY_LOCAL_MACHINE, kSharedDlls)->readValue(dll);
    ASSERT_TRUE(dllAgain);
    EXPECT_EQ(dllAgain->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dllAgain->data, dllBefore.data);
}

TEST_F(RemovalTest, NothingIsDeletedWhenTheUndoFileCannotBeWritten) {
    platform::WriteFileBytes(DataFolder() + "Registry Backup", "a file where the folder should be");
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    dialogs.expectMessage("The removed values could not be saved to");
    EXPECT_TRUE(f->pmResults.click("mnuAll"));
    dialogs.verifyAllAsked();
    EXPECT_EQ(f->lv.rowCount(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(ValueExists("Rm\\r" + std::to_string(i), "v"));
    EXPECT_EQ(f->removedCount(), 0);
}

TEST_F(RemovalTest, AKeyThatCannotBeOpenedEndsTheRemovalAndTheRowsHandledAreGone) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    platform::DeleteKeyTree(HKEY_CURRENT_USER, Sub("Rm\\r3"));
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    dialogs.expectMessage("Error opening registry key \\" + Sub("Rm\\r3"));
    EXPECT_TRUE(f->pmResults.click("mnuAll"));
    dialogs.verifyAllAsked();
    EXPECT_FALSE(ValueExists("Rm\\r1", "v"));
    EXPECT_FALSE(ValueExists("Rm\\r2", "v"));
    EXPECT_TRUE(ValueExists("Rm\\r4", "v"));
    EXPECT_EQ(KeysListed(*f),
              (std::vector<std::string>{KeyColumn("Rm\\r3"), KeyColumn("Rm\\r4"), KeyColumn("Rm\\r5")}));
    EXPECT_EQ(f->removedCount(), 2);
}

TEST_F(RemovalTest, AValueListedTwiceIsCountedTwiceAndTheCounterGrowsAtClose) {
    WriteString("Twice", "v", Missing("twice.exe"));
    app::WriteRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "RegRefs", 5);
    Areas(true, true, false, false);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    auto f = Shown();
    Scan(*f);
    ASSERT_EQ(f->lv.rowCount(), 2);
    f->Remove_All();
    EXPECT_EQ(f->removedCount(), 2);
    EXPECT_FALSE(ValueExists("Twice", "v"));
    EXPECT_TRUE(f->close());
    EXPECT_EQ(app::ReadRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "RegRefs"), 7);
    auto log = LogLines(logs::kManualRegistryLog);
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(log[log.size() - 6], "");
    EXPECT_EQ(log[log.size() - 5], std::string(40, '='));
    EXPECT_EQ(log[log.size() - 4].rfind("CLOSE SESSION: ", 0), 0u);
    EXPECT_EQ(log[log.size() - 3], "NUMBER OF INVALID REFERENCES REMOVED: 2");
    EXPECT_EQ(log[log.size() - 2], std::string(40, '='));
    EXPECT_EQ(log[log.size() - 1], "");
}

TEST_F(RemovalTest, AValueThatCannotBeDeletedStaysListedAndIsNotCounted) {
    WriteString("Locked", "v", Missing("locked.exe"));
    WriteString("Open", "v", Missing("open.exe"));
    // Everyone may read the key, nobody may change it.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    char aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC, everyone);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    ASSERT_EQ(RegSetKeySecurity(Key("Locked").get(), DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    HKEY probe = nullptr;
    LONG denied = RegOpenKeyExW(HKEY_CURRENT_USER, platform::Widen(Sub("Locked")).c_str(), 0, KEY_SET_VALUE, &probe);
    if (probe) RegCloseKey(probe);
    if (denied != ERROR_ACCESS_DENIED) {
        FreeSid(everyone);
        GTEST_SKIP() << "this Wine does not enforce key security (open for writing gave " << denied << ")";
    }
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::Yes);
    auto f = Shown();
    Scan(*f);
    f->Remove_All();
    EXPECT_TRUE(ValueExists("Locked", "v"));
    EXPECT_FALSE(ValueExists("Open", "v"));
    EXPECT_EQ(KeysListed(*f), std::vector<std::string>{KeyColumn("Locked")});
    EXPECT_EQ(f->removedCount(), 1);
    EXPECT_TRUE(f->tb.buttonEnabled("cmdRemove"));
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](auto& l) { return l.rfind("      NOT REMOVED: ", 0) == 0; }));
    // Full access back, so that the key can go.
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    RegSetKeySecurity(platform::RegKey::Open(HKEY_CURRENT_USER, Sub("Locked"), READ_CONTROL | WRITE_DAC)->get(),
                      DACL_SECURITY_INFORMATION, &sd);
    FreeSid(everyone);
}

TEST_F(RemovalTest, ClosingWithoutRemovingWritesZeroAndLeavesTheCounter) {
    app::WriteRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "RegRefs", 5);
    auto f = Shown();
    EXPECT_TRUE(f->close());
    EXPECT_EQ(app::ReadRegInt("\\Software\\Quorvel\\Vantrel\\Logs", "RegRefs"), 5);
    auto log = LogLines(logs::kManualRegistryLog);
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[0], std::string(40, '='));
    EXPECT_EQ(log[1].rfind("SESSION START: ", 0), 0u);
    EXPECT_EQ(log[2], std::string(40, '='));
    EXPECT_EQ(log[3], "");
    EXPECT_EQ(log[7], "NUMBER OF INVALID REFERENCES REMOVED: 0");
}

TEST_F(RemovalTest, MenuItemsFollowTheListAndTheSelection) {
    auto f = Shown();
    EXPECT_EQ(f->pmResults.caption("mnuSelected"), "&Remove Selected Entries");
    EXPECT_EQ(f->pmResults.shortcut("mnuSelected"), "Del");
    EXPECT_EQ(f->pmResults.caption("mnuAll"), "Remove &All Entries");
    EXPECT_EQ(f->pmResults.shortcut("mnuAll"), "Ctrl+Del");
    EXPECT_EQ(f->pmResults.caption("mnuSelectAll"), "&Select All");
    EXPECT_EQ(f->pmResults.shortcut("mnuSelectAll"), "Ctrl+A");
    EXPECT_EQ(f->tb.buttonCaption("cmdRemove"), "Remove");
    EXPECT_EQ(f->tb.buttonHint("cmdRemove"), "Remove the selected reference(s) from the registry ");
    EXPECT_TRUE(f->tb.isDropDown("cmdRemove"));
    EXPECT_FALSE(f->tb.visible());
    for (auto name : {"mnuSelected", "mnuAll", "mnuSelectAll"})
        EXPECT_FALSE(f->pmResults.enabled(name)) << name;
    f.reset();
    testsupport::ScriptedDialogs dialogs;
    f = FiveRows(dialogs);
    EXPECT_TRUE(f->pmResults.enabled("mnuSelected"));
    EXPECT_TRUE(f->pmResults.enabled("mnuAll"));
    EXPECT_TRUE(f->pmResults.enabled("mnuSelectAll"));
    SelectOnly(*f, {});
    EXPECT_FALSE(f->pmResults.enabled("mnuSelected"));
    EXPECT_FALSE(f->pmResults.enabled("mnuSelectAll"));
    EXPECT_TRUE(f->pmResults.enabled("mnuAll"));
    EXPECT_FALSE(f->pmResults.click("mnuSelectAll"));
    // Without a selection the button asks nothing and removes nothing.
    EXPECT_TRUE(f->tb.click("cmdRemove"));
    EXPECT_EQ(f->lv.rowCount(), 5);
    SelectOnly(*f, {2});
    EXPECT_TRUE(f->pmResults.click("mnuSelectAll"));
    EXPECT_EQ(f->lv.selectedCount(), 5);
}

TEST_F(RemovalTest, TheRemoveButtonsArrowOpensTheListMenu) {
    testsupport::ScriptedDialogs dialogs;
    auto f = FiveRows(dialogs);
    std::vector<std::string> offered;
    auto previous = platform::Menu::SetPopupHook([&](platform::Menu& m) {
        for (auto& n : m.itemNames())
            if (m.enabled(n)) offered.push_back(n);
        return std::string("mnuAll");
    });
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::No);
    EXPECT_TRUE(f->tb.dropDown("cmdRemove"));
    dialogs.verifyAllAsked();
    EXPECT_EQ(offered, (std::vector<std::string>{"mnuSelected", "mnuAll", "mnuSelectAll"}));
    // The list's own context menu is the same menu.
    offered.clear();
    SelectOnly(*f, {});
    dialogs.expectMessage("Are you sure you want to remove all displayed entries", MsgResult::No);
    SendMessageW(f->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->lv.hwnd()), -1);
    EXPECT_EQ(offered, std::vector<std::string>{"mnuAll"});
    dialogs.verifyAllAsked();
    platform::Menu::SetPopupHook(previous);
    EXPECT_EQ(f->lv.rowCount(), 5);
}
