// The walk over the real registry of the prefix: what is listed, in which order, with which texts,
// and how the scan reports its progress and its end.
#include <gtest/gtest.h>

#include <regex>

#include "logs/logs.h"
#include "regclean_fixture.h"

using namespace regtest;
using platform::MsgResult;

namespace {
struct ScanTest : RegCleanTest {};

std::vector<std::string> Names(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> out;
    for (auto& r : rows)
        out.push_back(r[2]);
    return out;
}
} // namespace

TEST_F(ScanTest, ValuesWhoseNameOrDataPointsToAMissingPathAreListed) {
    std::string present = Existing("present.exe");
    WriteString("Paths", "aMissingData", Missing("app.exe"));
    WriteString("Paths", Missing("byname.dll"), present);
    WriteString("Paths", present, Missing("both"));
    WriteString("Paths", "", Missing("default.exe"));
    WriteString("Paths", "bSpaces", "C:\\VantrelRegTest\\gone\\with space\\x.exe");
    WriteString("Paths", "cValid", present);
    WriteString("Paths", "dExpand", Missing("%UNEXPANDED%.txt"), REG_EXPAND_SZ);
    WriteString("Paths", "eExpandVariable", "%SystemRoot%\\gone.dll", REG_EXPAND_SZ);
    Key("Paths").writeInt(Missing("dword.dll"), 1);
    std::string bytes = Missing("binary.dll");
    Key("Paths").writeBinary("fBinary", bytes.data(), bytes.size());
    Key("Paths").writeBinary(Missing("binaryname.dll"), bytes.data(), bytes.size());
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    auto rows = ScratchRows(*f);
    // Wine lists values by name, ignoring case; the default value (empty name) comes first.
    ASSERT_EQ(Names(rows), (std::vector<std::string>{"", "aMissingData", Missing("byname.dll"), present, "dExpand"}));
    for (auto& r : rows)
        EXPECT_EQ(r[0], KeyColumn("Paths"));
    EXPECT_EQ(rows[0][3], Missing("default.exe"));
    EXPECT_EQ(rows[1][3], Missing("app.exe"));
    EXPECT_EQ(rows[2][3], present);
    EXPECT_EQ(rows[3][3], Missing("both"));
    EXPECT_EQ(rows[4][3], Missing("%UNEXPANDED%.txt"));
    EXPECT_TRUE(std::regex_match(rows[0][1], std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d(AM|PM))"))) << rows[0][1];
    EXPECT_EQ(f->lv.image(0), 0);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
    EXPECT_EQ(f->StatusBar1.panelText(1), "Number of invalid entries found: 5");
    EXPECT_TRUE(f->lv.selected(0));
    EXPECT_EQ(f->lv.selectedCount(), 1);
}

TEST_F(ScanTest, LastModificationIsTheKeysWriteTimeInUtcAsTwelveHourText) {
    WriteString("Time", "x", Missing("x.exe"));
    FILETIME ft = Key("Time").lastWriteTime();
    SYSTEMTIME st;
    FileTimeToSystemTime(&ft, &st);
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    auto rows = ScratchRows(*f);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], tools::regclean::FormatLastModification(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute));
}

TEST_F(ScanTest, KeysAreWalkedDepthFirstEachBeforeItsSubkeys) {
    WriteString("Tree\\A", "v", Missing("a.exe"));
    WriteString("Tree\\A\\B", "v", Missing("ab.exe"));
    WriteString("Tree\\A\\B\\C", "v", Missing("abc.exe"));
    WriteString("Tree\\A\\D", "v", Missing("ad.exe"));
    WriteString("Tree\\E", "v", Missing("e.exe"));
    WriteString("Tree", "own", Missing("tree.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    std::vector<std::string> keys;
    for (auto& r : ScratchRows(*f))
        keys.push_back(r[0]);
    EXPECT_EQ(keys,
              (std::vector<std::string>{KeyColumn("Tree"), KeyColumn("Tree\\A"), KeyColumn("Tree\\A\\B"),
                                        KeyColumn("Tree\\A\\B\\C"), KeyColumn("Tree\\A\\D"), KeyColumn("Tree\\E")}));
}

TEST_F(ScanTest, MachineAreaStartsBelowSoftwareAndItsPathsHaveNoLeadingBackslash) {
    WriteString("", "lm", Missing("lm.exe"), REG_SZ, HKEY_LOCAL_MACHINE);
    platform::RegKey::Create(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS)
        .writeString("VantrelTestsOwn", Missing("own.exe"));
    Areas(false, false, true, false);
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    platform::RegKey::Open(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS)->deleteValue("VantrelTestsOwn");
    auto rows = ScratchRows(*f);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], std::string("HKEY_LOCAL_MACHINE: ") + kScratch);
    for (auto& r : AllRows(*f))
        EXPECT_NE(r[2], "VantrelTestsOwn") << "the start key's own values are not tested";
}

TEST_F(ScanTest, TheCurrentUsersValuesAreListedAgainUnderHkeyUsers) {
    WriteString("Twice", "v", Missing("twice.exe"));
    Areas(true, true, false, false);
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    auto rows = ScratchRows(*f);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], KeyColumn("Twice"));
    EXPECT_TRUE(std::regex_match(rows[1][0],
                                 std::regex(R"(HKEY_USERS: \\S-1-5-[-0-9]+\\Software\\VantrelTests\\RegClean\\Twice)")))
        << rows[1][0];
}

TEST_F(ScanTest, ValuesOfOddTypesAndSizesAndKeysWithOddNames) {
    auto raw = [&](const std::string& name, DWORD type, const std::wstring& text, size_t extraBytes = 0,
                   size_t cut = 0) {
        std::vector<uint8_t> data(reinterpret_cast<const uint8_t*>(text.c_str()),
                                  reinterpret_cast<const uint8_t*>(text.c_str()) + (text.size() + 1) * 2);
        data.resize(data.size() + extraBytes, 0x41);
        data.resize(data.size() - cut);
        Key("Odd").writeRaw(name, type, data);
    };
    std::wstring missing = platform::Widen(Missing("odd.exe"));
    raw("aNoTerminator", REG_SZ, missing, 0, 2);
    raw("bOddSize", REG_SZ, missing, 0, 3);
    raw("cJunkAfterNul", REG_SZ, missing + L'\0' + L"junk");
    raw("dMulti", REG_MULTI_SZ, missing + L'\0');
    Key("Odd").writeRaw("eEmpty", REG_SZ, {});
    Key("Odd").writeRaw("fNone", REG_NONE, {1, 2, 3});
    WriteString("Odd\\name: with;odd [chars]", "v", Missing("colon.exe"));
    WriteString("Odd\\\xC3\x84\xE2\x82\xAC", "v", Missing("unicode.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Scan(*f);
    auto rows = ScratchRows(*f);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][2], "aNoTerminator");
    EXPECT_EQ(rows[0][3], Missing("odd.exe"));
    EXPECT_EQ(rows[1][2], "bOddSize");
    EXPECT_EQ(rows[1][3], Missing("odd.ex")) << "the data ends with its last whole character";
    EXPECT_EQ(rows[2][2], "cJunkAfterNul");
    EXPECT_EQ(rows[2][3], Missing("odd.exe"));
    EXPECT_EQ(rows[3][0], KeyColumn("Odd\\name: with;odd [chars]"));
    EXPECT_EQ(rows[4][0], KeyColumn("Odd\\\xC3\x84\xE2\x82\xAC"));
}

TEST_F(ScanTest, StatusLogAndControlsFollowTheScan) {
    WriteString("Status", "v", Missing("s.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    Poster during;
    std::string caption, hint;
    bool exitEnabled = true, pagesEnabled = true, backupEnabled = true, removeEnabled = true, animation = false;
    during.post([&] {
        caption = f->btnStart.caption();
        hint = f->btnStart.hint();
        exitEnabled = f->cmdExit.enabled();
        // The pages are windows of their own next to the tab control.
        pagesEnabled = f->pcRegistry.enabled() || IsWindowEnabled(GetParent(f->cbExclude.hwnd())) ||
                       IsWindowEnabled(GetParent(f->cbBackup.hwnd()));
        backupEnabled = f->cmdBackup.enabled() || f->cmdRestore.enabled();
        removeEnabled = f->tb.buttonEnabled("cmdRemove");
        animation = f->aniSearch.visible();
    });
    Scan(*f);
    EXPECT_EQ(caption, "&Stop");
    EXPECT_EQ(hint, "Abort the current scan (may take a moment)");
    EXPECT_FALSE(exitEnabled);
    EXPECT_FALSE(pagesEnabled);
    EXPECT_FALSE(backupEnabled);
    EXPECT_FALSE(removeEnabled);
    EXPECT_TRUE(animation);
    EXPECT_EQ(f->btnStart.caption(), "Scan &Registry");
    EXPECT_EQ(f->btnStart.hint(), "Begin scanning your registry");
    EXPECT_TRUE(f->cmdExit.enabled());
    EXPECT_TRUE(f->pcRegistry.enabled());
    EXPECT_TRUE(f->cmdBackup.enabled());
    EXPECT_FALSE(f->aniSearch.visible());
    EXPECT_TRUE(f->tb.visible());
    EXPECT_TRUE(f->tb.buttonEnabled("cmdRemove"));
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
    int n = f->lv.rowCount();
    auto log = LogLines(logs::kManualRegistryLog);
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(
        std::vector<std::string>(log.end() - 3, log.end()),
        (std::vector<std::string>{"  Scanning registry for invalid references.", "  Analyzing: HKEY_CURRENT_USER...",
                                  "  Scan complete. " + std::to_string(n) + " invalid references found."}));
}

TEST_F(ScanTest, EveryAreaWritesItsLineAndStatusInOrder) {
    Areas(true, true, true, true);
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    Poster watch;
    std::vector<std::string> statuses;
    std::function<void()> sample = [&] {
        std::string s = f->StatusBar1.panelText(0);
        if (statuses.empty() || statuses.back() != s) statuses.push_back(s);
    };
    watch.whenReady(
        [&] {
            sample();
            return false;
        },
        [] {});
    Scan(*f);
    auto log = LogLines(logs::kManualRegistryLog);
    std::vector<std::string> areas;
    for (auto& l : log)
        if (l.rfind("  Analyzing: ", 0) == 0) areas.push_back(l);
    EXPECT_EQ(areas, (std::vector<std::string>{"  Analyzing: HKEY_CURRENT_USER...", "  Analyzing: HKEY_USERS...",
                                               "  Analyzing: HKEY_LOCAL_MACHINE...",
                                               "  Analyzing: Shared DLL References..."}));
    // The machine area takes long enough to be seen on the timer.
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Analyzing: HKEY_LOCAL_MACHINE"), statuses.end());
}

TEST_F(ScanTest, NoAreaCheckedCompletesAtOnceWithTheCleanMessage) {
    Areas(false, false, false, false);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("No invalid references detected.");
    auto f = Shown();
    Scan(*f);
    EXPECT_EQ(f->lv.rowCount(), 0);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
    EXPECT_EQ(f->StatusBar1.panelText(1), "Number of invalid entries found: 0");
    EXPECT_FALSE(f->tb.visible());
    EXPECT_FALSE(f->tb.buttonEnabled("cmdRemove"));
}

TEST_F(ScanTest, StopDuringTheFirstAreaSkipsTheOthersAndShowsNoMessage) {
    Areas(true, false, true, true);
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    Poster during;
    during.post([&] { EXPECT_TRUE(f->btnStart.click()); });
    Scan(*f);
    EXPECT_EQ(during.ran(), 1);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
    EXPECT_EQ(f->btnStart.caption(), "Scan &Registry");
    auto log = LogLines(logs::kManualRegistryLog);
    EXPECT_NE(std::find(log.begin(), log.end(), "  Analyzing: HKEY_CURRENT_USER..."), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "  Analyzing: HKEY_LOCAL_MACHINE..."), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "  Analyzing: Shared DLL References..."), log.end());
}

namespace {
// A key whose 3000 string values keep the walk busy long enough to be caught on a 10 ms timer.
void Busy(ScanTest& t, const std::string& key) {
    auto k = platform::RegKey::Create(HKEY_CURRENT_USER, std::string(kScratch) + "\\" + key, KEY_ALL_ACCESS);
    for (int i = 0; i < 3000; ++i)
        k.writeString("valid" + std::to_string(i), "C:\\");
    (void)t;
}
} // namespace

TEST_F(ScanTest, ASubkeyThatVanishesDuringTheWalkIsSkipped) {
    Busy(*this, "Walk\\A");
    WriteString("Walk\\A", "zMissing", Missing("a.exe"));
    WriteString("Walk\\B", "v", Missing("b.exe"));
    WriteString("Walk\\C", "v", Missing("c.exe"));
    testsupport::ScriptedDialogs dialogs;
    auto f = Shown();
    Poster during;
    during.whenReady([&] { return f->StatusBar1.panelText(1) == "Analyzing: A"; },
                     [&] { platform::DeleteKeyTree(HKEY_CURRENT_USER, Sub("Walk\\B")); });
    Scan(*f);
    ASSERT_EQ(during.ran(), 1);
    std::vector<std::string> keys;
    for (auto& r : ScratchRows(*f))
        keys.push_back(r[0]);
    EXPECT_EQ(keys, (std::vector<std::string>{KeyColumn("Walk\\A"), KeyColumn("Walk\\C")}));
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan successfully completed.");
}

TEST_F(ScanTest, AParentKeyThatVanishesEndsTheScanWithTheFindingsSoFar) {
    Busy(*this, "Walk\\A");
    WriteString("Walk\\A", "zMissing", Missing("a.exe"));
    WriteString("Walk\\B", "v", Missing("b.exe"));
    WriteString("Zafter", "v", Missing("after.exe"));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("Can not open key \\Software\\VantrelTests\\RegClean\\Walk");
    auto f = Shown();
    Poster during;
    during.whenReady([&] { return f->StatusBar1.panelText(1) == "Analyzing: A"; },
                     [&] { platform::DeleteKeyTree(HKEY_CURRENT_USER, Sub("Walk")); });
    Scan(*f);
    ASSERT_EQ(during.ran(), 1);
    dialogs.verifyAllAsked();
    auto rows = ScratchRows(*f);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], KeyColumn("Walk\\A"));
    // The end is visible to whoever waits for it, and the window is usable again.
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
    EXPECT_EQ(f->btnStart.caption(), "Scan &Registry");
    EXPECT_TRUE(f->cmdExit.enabled());
    EXPECT_TRUE(f->pcRegistry.enabled());
    EXPECT_TRUE(f->cmdBackup.enabled());
    EXPECT_TRUE(f->tb.buttonEnabled("cmdRemove"));
    auto log = LogLines(logs::kManualRegistryLog);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "  Scan complete. " + std::to_string(f->lv.rowCount()) + " invalid references found.");
}

TEST_F(ScanTest, SharedDllRecordsAreReportedWhenTheirFileIsMissing) {
    std::string present = Existing("present.dll");
    std::vector<std::string> reported{Missing("gone.dll"), "A:\\GONE.DLL", "C:\\VantrelRegTest\\gone dir\\x.dll",
                                      std::string(kFiles), "vantrel-gone-relative.dll"};
    for (auto& p : reported)
        AddSharedDll(p);
    AddSharedDll(present);
    AddSharedDll("R:\\SETUP\\PRESENT.EXE");
    std::vector<std::string> remote{"N:\\share\\gone.dll", "R:\\SETUP\\GONE.DLL", "\\\\server\\share\\gone.dll"};
    for (auto& p : remote)
        AddSharedDll(p);
    Areas(false, false, false, true);
    for (bool exclude : {true, false}) {
        testsupport::ScriptedDialogs dialogs;
        auto f = Hidden();
        f->cbBackup.setChecked(false);
        f->cbExclude.setChecked(exclude);
        Scan(*f);
        std::vector<std::string> names;
        for (auto& r : AllRows(*f)) {
            EXPECT_EQ(r[0], std::string("HKEY_LOCAL_MACHINE: ") + kSharedDlls);
            EXPECT_EQ(r[2], r[3]);
            names.push_back(r[2]);
        }
        std::vector<std::string> expected = reported;
        if (!exclude) expected.insert(expected.end(), remote.begin(), remote.end());
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << "exclusion " << exclude;
        for (int i = 0; i < f->lv.rowCount(); ++i)
            EXPECT_EQ(f->lv.image(i), 1);
    }
}

TEST_F(ScanTest, AStopReachesTheSharedDllLoop) {
    for (int i = 0; i < 3; ++i)
        AddSharedDll(Missing("stop" + std::to_string(i) + ".dll"));
    Areas(false, false, false, true);
    testsupport::ScriptedDialogs dialogs;
    auto f = Hidden();
    f->cbBackup.setChecked(false);
    Poster during;
    during.post([&] { EXPECT_TRUE(f->btnStart.click()); });
    Scan(*f);
    EXPECT_EQ(during.ran(), 1);
    EXPECT_LT(f->lv.rowCount(), 3);
    EXPECT_EQ(f->StatusBar1.panelText(0), "Scan interrupted.");
}
