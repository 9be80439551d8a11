#include "logs/frm_logs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/hint.h"
#include "app/paths.h"
#include "app/pure/format.h"
#include "app/settings.h"
#include "logs/logs.h"
#include "logs/pure/log_view_text.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using logs::TfrmLogs;
using platform::MsgResult;

namespace {

constexpr const char* kLogsKey = "\\Software\\Quorvel\\Vantrel\\Logs";
constexpr const char* kNoEvents = "No events logged";

// Chooses one caption whenever a popup menu would be shown, and records what it offered.
class PopupChoice {
public:
    explicit PopupChoice(std::string caption) {
        m_previous = platform::PopupMenu::SetPickHook([this, caption](const platform::PopupMenu& m) {
            ++shown;
            offered.clear();
            for (const auto& i : m.items())
                offered.push_back(i->caption());
            return std::optional<std::string>(caption);
        });
    }
    ~PopupChoice() { platform::PopupMenu::SetPickHook(m_previous); }
    int shown = 0;
    std::vector<std::string> offered;

private:
    platform::PopupMenu::PickHook m_previous;
};

struct LogsWindowTest : testing::Test {
    testsupport::TempDir dir;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<TfrmLogs> form;

    void SetUp() override {
        testsupport::ClearProductKey();
        app::SetProgramFolderForTesting(dir.path());
        textfmt::ProcessFormats() = textfmt::FormatSettings{};
    }
    void TearDown() override {
        form.reset();
        app::SetProgramFolderForTesting("");
        testsupport::ClearProductKey();
    }

    TfrmLogs& open(bool show = true) {
        form = std::make_unique<TfrmLogs>();
        form->create();
        if (show) form->show();
        return *form;
    }
    platform::Edit& view(const char* name) {
        auto* e = form->controlAs<platform::Edit>(name);
        if (!e) throw std::runtime_error(std::string("no view ") + name);
        return *e;
    }
    platform::Button& button(const char* name) {
        auto* b = form->controlAs<platform::Button>(name);
        if (!b) throw std::runtime_error(std::string("no button ") + name);
        return *b;
    }
    std::string label(const std::string& name) { return form->control(name)->caption(); }
    std::string log(const char* name, std::string text) { return dir.write(name, text); }
    void setCounter(const char* name, int32_t v) { app::WriteRegInt(kLogsKey, name, v); }
    bool counterStored(const char* name) {
        auto k = platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey);
        return k && k->hasValue(name);
    }
    bool selectPage(const char* caption) { return form->pcLogs.selectPage(caption); }
};

std::vector<std::string> AllViews() {
    return {"memJunkManual",   "memJunkScheduled", "memPrivacyManual",  "memPrivacyScheduled", "memShortcuts",
            "memUninstallers", "memDupes",         "memRegistryManual", "memRegistryScheduled"};
}

} // namespace

TEST_F(LogsWindowTest, EightPagesNineReadOnlyViewsAndTheirButtons) {
    open(false);
    EXPECT_EQ(form->caption(), "Tool Action Logs");
    EXPECT_EQ(form->pcLogs.visiblePageCaptions(),
              (std::vector<std::string>{"Junk Files", "Privacy", "Shortcuts", "Uninstallers", "Duplicate Files",
                                        "Registry", "Statistics", "Settings"}));
    for (const auto& name : AllViews()) {
        auto& v = view(name.c_str());
        LONG_PTR style = GetWindowLongPtrW(v.hwnd(), GWL_STYLE);
        EXPECT_TRUE(v.readOnly()) << name;
        EXPECT_TRUE(style & ES_MULTILINE) << name;
        // Without word wrap a multi-line edit scrolls sideways instead of breaking lines.
        EXPECT_TRUE(style & ES_AUTOHSCROLL) << name;
        EXPECT_TRUE(style & WS_HSCROLL) << name;
    }
    for (const char* page : {"Junk", "Privacy", "Shortcuts", "Uninstallers", "Dupes", "Registry"}) {
        EXPECT_EQ(button(("cmdClear" + std::string(page)).c_str()).caption(), "Clear &Log");
        EXPECT_EQ(button(("cmdView" + std::string(page)).c_str()).caption(), "View in &Text Editor");
    }
    EXPECT_EQ(label("lblJunkManual"), "Manual Operations");
    EXPECT_EQ(label("lblRegistryScheduled"), "Scheduled Operations");
    EXPECT_NE(form->controlAs<platform::Splitter>("splPrivacy"), nullptr);
    EXPECT_EQ(form->control("splShortcuts"), nullptr);

    auto& menu = form->MainMenu;
    EXPECT_EQ(menu.item("mnuFile")->caption(), "&File");
    EXPECT_EQ(menu.item("mnuReset")->caption(), "&Reset...");
    EXPECT_EQ(menu.item("mnuExit")->caption(), "&Exit");
    EXPECT_EQ(menu.item("mnuRefresh")->caption(), "&Refresh Data");
    EXPECT_EQ(menu.item("mnuRefresh")->shortcut(), "F5");
    EXPECT_EQ(menu.item("mnuHowTo")->caption(), "&How to use Tool Action Logs");
    EXPECT_EQ(menu.item("mnuHowTo")->shortcut(), "F1");
    std::vector<std::string> resets;
    for (const auto& i : menu.item("mnuReset")->items())
        resets.push_back(i->caption());
    EXPECT_EQ(resets,
              (std::vector<std::string>{"&Junk and Obsolete File Statistics", "&History and Privacy Statistics",
                                        "&Invalid Shortcuts Statistics", "Invalid &Uninstaller Statistics",
                                        "&Duplicate File Statistics", "&Registry Statistics", "&All Statistics"}));
    // The menu bar the user sees.
    HMENU bar = GetMenu(form->hwnd());
    ASSERT_NE(bar, nullptr);
    auto text = [](HMENU m, UINT pos) {
        wchar_t buf[128] = {};
        GetMenuStringW(m, pos, buf, 128, MF_BYPOSITION);
        return platform::Narrow(buf);
    };
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(text(bar, 0), "&File");
    EXPECT_EQ(text(bar, 1), "&View");
    EXPECT_EQ(text(bar, 2), "&Help");
    EXPECT_EQ(text(GetSubMenu(bar, 1), 0), "&Refresh Data\tF5");
    EXPECT_EQ(text(GetSubMenu(GetSubMenu(bar, 0), 0), 6), "&All Statistics");
}

TEST_F(LogsWindowTest, APageIsLoadedWhenFirstShownAndOnlyRefreshReloadsIt) {
    log("Manual_Junk_Log.txt", "junk manual\r\n");
    log("JunkLog.txt", "junk scheduled\r\n");
    log("Manual_Privacy_Log.txt", "privacy manual\r\n");
    open(false);
    for (const auto& name : AllViews())
        EXPECT_EQ(view(name.c_str()).text(), "") << name << " was loaded before its page was shown";

    form->show(); // the first activation loads "Junk Files"
    EXPECT_TRUE(form->pageLoaded("Junk Files"));
    EXPECT_EQ(view("memJunkManual").text(), "junk manual\r\n");
    EXPECT_EQ(view("memJunkScheduled").text(), "junk scheduled\r\n");
    EXPECT_FALSE(form->pageLoaded("Privacy"));
    EXPECT_EQ(view("memPrivacyManual").text(), "");

    ASSERT_TRUE(selectPage("Privacy"));
    EXPECT_TRUE(form->pageLoaded("Privacy"));
    EXPECT_EQ(view("memPrivacyManual").text(), "privacy manual\r\n");
    EXPECT_EQ(view("memPrivacyScheduled").text(), kNoEvents);
    EXPECT_TRUE(form->imgLogs.visible());
    EXPECT_FALSE(form->imgStatistics.visible());

    // Coming back to a loaded page does not read the file again.
    log("Manual_Junk_Log.txt", "junk manual\r\nmore\r\n");
    ASSERT_TRUE(selectPage("Junk Files"));
    EXPECT_EQ(view("memJunkManual").text(), "junk manual\r\n");

    // F5 (through the window's own key handling) reloads every view.
    PostMessageW(form->hwnd(), WM_KEYDOWN, VK_F5, 0);
    platform::ProcessMessages();
    EXPECT_EQ(view("memJunkManual").text(), "junk manual\r\nmore\r\n");
    EXPECT_EQ(view("memRegistryManual").text(), kNoEvents);
    // The caret stands at the end of the text.
    DWORD start = 0, end = 0;
    SendMessageW(view("memJunkManual").hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(GetWindowTextLengthW(view("memJunkManual").hwnd())));
    EXPECT_EQ(start, end);

    // "&Refresh Data" from the menu bar, through WM_COMMAND as a real menu choice arrives.
    log("JunkLog.txt", "replaced\r\n");
    SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(form->MainMenu.item("mnuRefresh")->id(), 0), 0);
    EXPECT_EQ(view("memJunkScheduled").text(), "replaced\r\n");
}

TEST_F(LogsWindowTest, WithNoLogsEveryViewSaysSoAndEveryButtonIsDisabled) {
    open();
    ASSERT_TRUE(form->MainMenu.pick({"&View", "&Refresh Data"}));
    for (const auto& name : AllViews())
        EXPECT_EQ(view(name.c_str()).text(), kNoEvents) << name;
    for (const char* page : {"Junk", "Privacy", "Shortcuts", "Uninstallers", "Dupes", "Registry"}) {
        EXPECT_FALSE(button(("cmdClear" + std::string(page)).c_str()).enabled()) << page;
        EXPECT_FALSE(button(("cmdView" + std::string(page)).c_str()).enabled()) << page;
    }
}

TEST_F(LogsWindowTest, ClearingOneLogOfATwoViewPageKeepsTheButtonsWhileTheOtherExists) {
    std::string manual = log("Manual_Junk_Log.txt", "manual\r\n");
    std::string scheduled = log("JunkLog.txt", "scheduled\r\n");
    open();
    {
        PopupChoice choice("Scheduled Operations");
        dialogs.expectMessage("Are you sure you want to permanently clear the log file associated with this operation?",
                              MsgResult::Yes);
        ASSERT_TRUE(button("cmdClearJunk").click());
        EXPECT_EQ(choice.shown, 1);
        EXPECT_EQ(choice.offered, (std::vector<std::string>{"Manual Operations", "Scheduled Operations"}));
    }
    EXPECT_EQ(dialogs.asked().back().caption, "Please confirm");
    EXPECT_FALSE(platform::FileExists(scheduled));
    EXPECT_TRUE(platform::FileExists(manual));
    EXPECT_EQ(view("memJunkScheduled").text(), kNoEvents);
    EXPECT_EQ(view("memJunkManual").text(), "manual\r\n");
    EXPECT_TRUE(button("cmdClearJunk").enabled());
    EXPECT_TRUE(button("cmdViewJunk").enabled());

    {
        // This time through the drop-down arrow of the menu button.
        PopupChoice choice("Manual Operations");
        dialogs.expectMessage("permanently clear", MsgResult::Yes);
        NMBCDROPDOWN nm{};
        nm.hdr.hwndFrom = button("cmdClearJunk").hwnd();
        nm.hdr.idFrom = static_cast<UINT_PTR>(button("cmdClearJunk").id());
        nm.hdr.code = BCN_DROPDOWN;
        SendMessageW(form->hwnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
        EXPECT_EQ(choice.shown, 1);
    }
    EXPECT_FALSE(platform::FileExists(manual));
    EXPECT_FALSE(button("cmdClearJunk").enabled());
    EXPECT_FALSE(button("cmdViewJunk").enabled());
}

TEST_F(LogsWindowTest, AnsweringNoClearsNothingAndAOneViewPageDisablesBothButtonsAfterClearing) {
    std::string shortcuts = log("Manual_Shortcuts_Log.txt", "fixed one\r\n");
    open();
    ASSERT_TRUE(selectPage("Shortcuts"));
    dialogs.expectMessage("permanently clear", MsgResult::No);
    ASSERT_TRUE(button("cmdClearShortcuts").click());
    EXPECT_TRUE(platform::FileExists(shortcuts));
    EXPECT_EQ(view("memShortcuts").text(), "fixed one\r\n");
    EXPECT_TRUE(button("cmdClearShortcuts").enabled());

    dialogs.expectMessage("permanently clear", MsgResult::Yes);
    ASSERT_TRUE(button("cmdClearShortcuts").click());
    EXPECT_FALSE(platform::FileExists(shortcuts));
    EXPECT_EQ(view("memShortcuts").text(), kNoEvents);
    EXPECT_FALSE(button("cmdClearShortcuts").enabled());
    EXPECT_FALSE(button("cmdViewShortcuts").enabled());
}

TEST_F(LogsWindowTest, ViewInTextEditorOpensTheChosenLogOrSaysNothingWasLogged) {
    testsupport::ShellRecorder shell;
    log("Manual_Registry_Log.txt", "manual\r\n");
    std::string unattended = log("RegistryLog.txt", "unattended\r\n");
    std::string dupes = log("Manual_Dupes_Log.txt", "dupes\r\n");
    open();
    ASSERT_TRUE(selectPage("Registry"));
    {
        PopupChoice choice("Scheduled Operations");
        ASSERT_TRUE(button("cmdViewRegistry").click());
    }
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "Open");
    EXPECT_TRUE(platform::SameText(shell.requests()[0].file, unattended));

    ASSERT_TRUE(selectPage("Duplicate Files"));
    ASSERT_TRUE(button("cmdViewDupes").click());
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_TRUE(platform::SameText(shell.requests()[1].file, dupes));

    // The unattended log vanished after the page was loaded.
    ASSERT_TRUE(platform::DeleteFileAt(unattended));
    ASSERT_TRUE(selectPage("Registry"));
    dialogs.expectMessage("No events have been logged for this operation yet.");
    {
        PopupChoice choice("Scheduled Operations");
        ASSERT_TRUE(button("cmdViewRegistry").click());
    }
    EXPECT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(dialogs.asked().back().text, "No events have been logged for this operation yet.");
}

TEST_F(LogsWindowTest, StatisticsShowEachCounterAndTheHistoricalTotals) {
    setCounter("JunkFiles", 3);
    setCounter("JunkBytes", 1048576);
    setCounter("EraserBytes", 524288);
    setCounter("ShortFixed", 9);
    setCounter("ShortRemoved", 2);
    setCounter("ShortBytes", 1000);
    setCounter("UninItems", 4);
    setCounter("DupeFiles", 5);
    setCounter("DupeBytes", 2000);
    setCounter("RegRefs", 77);
    open(false); // creation computes the statistics
    EXPECT_EQ(label("gbJunk"), "Junk and Obsolete Files");
    EXPECT_EQ(label("gbPrivacy"), "Privacy and History");
    EXPECT_EQ(label("gbTotals"), "Historical Totals");
    EXPECT_EQ(label("lblUninItemsCaption"), "Total Invalid References Removed:");
    EXPECT_EQ(label("lblJunkFiles"), "3");
    EXPECT_EQ(label("lblJunkBytes"), "1,048,576 bytes. (1.00 megabytes)");
    EXPECT_EQ(label("lblEraserBytes"), "524,288 bytes. (0.50 megabytes)");
    EXPECT_EQ(label("lblShortFixed"), "9");
    EXPECT_EQ(label("lblShortRemoved"), "2");
    EXPECT_EQ(label("lblUninItems"), "4");
    EXPECT_EQ(label("lblDupeFiles"), "5");
    EXPECT_EQ(label("lblDupeBytes"), "2,000 bytes. (0.00 megabytes)");
    EXPECT_EQ(label("lblRegRefs"), "77");
    EXPECT_EQ(label("lblTotalFiles"), "10");
    EXPECT_EQ(label("lblTotalBytes"), "1,575,864 bytes. (1.50 megabytes)");
    EXPECT_EQ(form->StatusBar1.panelText(0), "Total Files Removed: 10");
    EXPECT_EQ(form->StatusBar1.panelText(1), "Total Space Freed: 1,575,864 bytes. (1.50 megabytes)");
    EXPECT_FALSE(form->lblStatsNote.visible());

    ASSERT_TRUE(selectPage("Statistics"));
    EXPECT_TRUE(form->imgStatistics.visible());
    EXPECT_FALSE(form->imgLogs.visible());
    ASSERT_TRUE(selectPage("Settings"));
    EXPECT_TRUE(form->imgSettings.visible());
}

TEST_F(LogsWindowTest, EachResetDeletesItsCountersAfterYesAndNothingAfterNo) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> items{
        {"&Junk and Obsolete File Statistics", {"JunkBytes", "JunkFiles"}},
        {"&History and Privacy Statistics", {"EraserBytes"}},
        {"&Invalid Shortcuts Statistics", {"ShortBytes", "ShortRemoved", "ShortFixed"}},
        {"Invalid &Uninstaller Statistics", {"UninItems"}},
        {"&Duplicate File Statistics", {"DupeBytes", "DupeFiles"}},
        {"&Registry Statistics", {"RegRefs"}},
        {"&All Statistics",
         {"JunkBytes", "JunkFiles", "ShortBytes", "ShortRemoved", "ShortFixed", "UninItems", "DupeBytes", "DupeFiles",
          "RegRefs"}},
    };
    const std::vector<std::string> all{"JunkFiles",  "JunkBytes", "EraserBytes", "ShortFixed", "ShortRemoved",
                                       "ShortBytes", "UninItems", "DupeFiles",   "DupeBytes",  "RegRefs"};
    open();
    for (const auto& [caption, reset] : items) {
        for (const auto& c : all)
            setCounter(c.c_str(), 1);
        dialogs.expectMessage("Are you sure you want reset this statistical data?  This operation cannot be reversed.",
                              MsgResult::No);
        ASSERT_TRUE(form->MainMenu.pick({"&File", "&Reset...", caption}));
        for (const auto& c : all)
            EXPECT_TRUE(counterStored(c.c_str())) << caption << " answered No still removed " << c;
        // The page is recomputed after a No as well.
        EXPECT_EQ(label("lblTotalFiles"), "3");

        dialogs.expectMessage("reset this statistical data", MsgResult::Yes);
        ASSERT_TRUE(form->MainMenu.pick({"&File", "&Reset...", caption}));
        EXPECT_EQ(dialogs.asked().back().caption, "Please confirm...");
        for (const auto& c : all) {
            bool shouldGo = std::find(reset.begin(), reset.end(), c) != reset.end();
            EXPECT_EQ(counterStored(c.c_str()), !shouldGo) << caption << ": " << c;
        }
    }
}

TEST_F(LogsWindowTest, AllStatisticsLeavesTheErasersSpaceSoTheTotalEqualsIt) {
    setCounter("JunkBytes", 5000);
    setCounter("EraserBytes", 3000);
    setCounter("DupeBytes", 700);
    setCounter("JunkFiles", 6);
    open();
    dialogs.expectMessage("reset this statistical data", MsgResult::Yes);
    ASSERT_TRUE(form->MainMenu.pick({"&File", "&Reset...", "&All Statistics"}));
    EXPECT_EQ(label("lblEraserBytes"), "3,000 bytes. (0.00 megabytes)");
    EXPECT_EQ(label("lblTotalBytes"), "3,000 bytes. (0.00 megabytes)");
    EXPECT_EQ(label("lblJunkBytes"), "0 bytes. (0.00 megabytes)");
    EXPECT_EQ(label("lblTotalFiles"), "0");
    EXPECT_EQ(form->StatusBar1.panelText(1), "Total Space Freed: 3,000 bytes. (0.00 megabytes)");
    EXPECT_EQ(app::ReadRegInt(kLogsKey, "EraserBytes"), 3000);
}

TEST_F(LogsWindowTest, ClosingWritesTheSwitchesAndTheNextWindowShowsThem) {
    app::WriteRegBool("\\Software\\Quorvel\\Vantrel\\Schedule\\Registry", "LogEvents", false);
    open();
    EXPECT_TRUE(form->cbJunk.checked());
    EXPECT_TRUE(form->cbSchedJunk.checked());
    EXPECT_FALSE(form->cbSchedRegistry.checked());
    EXPECT_EQ(form->cbDupes.caption(), "Du&plicate Files");
    EXPECT_EQ(form->cbSchedRegistry.caption(), "Regis&try Cleaner");
    ASSERT_TRUE(selectPage("Settings"));
    ASSERT_TRUE(form->cbJunk.click());
    ASSERT_TRUE(form->cbDupes.click());
    ASSERT_TRUE(form->cbSchedPrivacy.click());
    ASSERT_TRUE(form->cbSchedRegistry.click());
    ASSERT_TRUE(form->MainMenu.pick({"&File", "&Exit"}));
    EXPECT_FALSE(form->isOpen());

    EXPECT_FALSE(app::ReadRegBool(kLogsKey, "DoJunk"));
    EXPECT_TRUE(app::ReadRegBool(kLogsKey, "DoPriv"));
    EXPECT_TRUE(app::ReadRegBool(kLogsKey, "DoShort"));
    EXPECT_TRUE(app::ReadRegBool(kLogsKey, "DoUnin"));
    EXPECT_FALSE(app::ReadRegBool(kLogsKey, "DoDupes"));
    EXPECT_TRUE(app::ReadRegBool(kLogsKey, "DoReg"));
    EXPECT_TRUE(app::ReadRegBool("\\Software\\Quorvel\\Vantrel\\Schedule\\Junk", "LogEvents"));
    EXPECT_FALSE(app::ReadRegBool("\\Software\\Quorvel\\Vantrel\\Schedule\\Eraser", "LogEvents"));
    EXPECT_TRUE(app::ReadRegBool("\\Software\\Quorvel\\Vantrel\\Schedule\\Registry", "LogEvents"));
    // The boxes are also kept with the window's state.
    app::WindowStateStore store(logs::kLogsWindowKey);
    EXPECT_EQ(store.read("cbJunk_Checked"), "False");
    EXPECT_EQ(store.read("cbPrivacy_Checked"), "True");
    EXPECT_TRUE(store.hasPosition());

    open();
    EXPECT_FALSE(form->cbJunk.checked());
    EXPECT_FALSE(form->cbDupes.checked());
    EXPECT_TRUE(form->cbPrivacy.checked());
    EXPECT_FALSE(form->cbSchedPrivacy.checked());
    EXPECT_TRUE(form->cbSchedRegistry.checked());
}

TEST_F(LogsWindowTest, TheManualBoxesComeFromTheWindowStateUnlessASwitchSaysOtherwise) {
    app::WindowStateStore store(logs::kLogsWindowKey);
    store.write("cbShortcuts_Checked", "False");
    store.write("cbRegistry_Checked", "True");
    app::WriteRegBool(kLogsKey, "DoReg", false); // the switch in force wins over a stale window state
    open();
    EXPECT_FALSE(form->cbShortcuts.checked());
    EXPECT_FALSE(form->cbRegistry.checked());
    EXPECT_TRUE(form->cbUninstallers.checked());
}

TEST_F(LogsWindowTest, SplitterPositionsAreKeptWithTheWindowState) {
    open();
    auto* split = form->controlAs<platform::Splitter>("splJunk");
    ASSERT_NE(split, nullptr);
    int before = split->position();
    split->dragTo(200);
    EXPECT_EQ(split->position(), 200);
    EXPECT_NE(before, 200);
    EXPECT_EQ(form->control("pnlJunkManual")->bounds().w, 200);
    EXPECT_EQ(form->control("splJunk")->bounds().x, 8 + 200);
    // A drag cannot squeeze the other pane away.
    split->dragTo(100000);
    int widest = split->position();
    EXPECT_LT(widest, 1000);
    EXPECT_GE(form->control("pnlJunkScheduled")->bounds().w, 120);
    // The mouse: press on the bar, move 50 pixels left, release.
    split->dragTo(250);
    SendMessageW(split->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 20));
    SendMessageW(split->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 - form->scale(50), 20));
    SendMessageW(split->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2 - form->scale(50), 20));
    EXPECT_EQ(split->position(), 200);
    EXPECT_EQ(form->control("pnlJunkManual")->bounds().w, 200);
    ASSERT_TRUE(form->close());

    app::WindowStateStore store(logs::kLogsWindowKey);
    EXPECT_EQ(store.read("pnlJunkManual_Width"), "200");
    ASSERT_TRUE(store.read("pnlRegistryManual_Width").has_value());

    open();
    EXPECT_EQ(form->controlAs<platform::Splitter>("splJunk")->position(), 200);
    EXPECT_EQ(form->control("pnlJunkManual")->bounds().w, 200);
}

TEST_F(LogsWindowTest, ALogTooLargeToShowIsShownFromItsEndAndLeftUntouched) {
    std::string body = "FIRST LINE\r\n";
    const std::string line = "  Moving to recycle bin: C:\\Some\\Folder\\file.tmp\r\n";
    while (body.size() < logs::kMaxViewBytes + 256 * 1024)
        body += line;
    body += "LAST LINE\r\n";
    std::string path = log("Manual_Dupes_Log.txt", body);
    open();
    ASSERT_TRUE(selectPage("Duplicate Files"));
    std::string shown = view("memDupes").text();
    EXPECT_EQ(shown.rfind("[The first ", 0), 0u) << shown.substr(0, 200);
    EXPECT_NE(shown.find("bytes of this log are not shown here"), std::string::npos);
    EXPECT_EQ(shown.find("FIRST LINE"), std::string::npos);
    EXPECT_EQ(shown.substr(shown.size() - 11), "LAST LINE\r\n");
    EXPECT_LE(shown.size(), logs::kMaxViewBytes + 300);
    // The second line of the view is a whole log line.
    size_t second = shown.find("\r\n") + 2;
    EXPECT_EQ(shown.compare(second, line.size(), line), 0);
    EXPECT_EQ(platform::FileSize(path).value_or(0), body.size());
    EXPECT_EQ(testsupport::ReadText(path), body);
    EXPECT_TRUE(button("cmdClearDupes").enabled());
}

TEST_F(LogsWindowTest, BytesOutsideTheCodePageAndNulBytesNeitherCrashNorCutTheText) {
    std::string bytes = "caf\xE9 \x81\x8D\x8F\x90\x9D";
    bytes += std::string(3, '\0');
    bytes += "\xFF\xFE end\r\nlone\nLAST";
    log("Manual_Uninstallers_Log.txt", bytes);
    open();
    ASSERT_TRUE(selectPage("Uninstallers"));
    std::string shown = view("memUninstallers").text();
    EXPECT_EQ(shown.substr(shown.size() - 4), "LAST");
    EXPECT_NE(shown.find("   "), std::string::npos); // the NUL bytes, as blanks
    EXPECT_NE(shown.find(" end\r\nlone\r\nLAST"), std::string::npos);
    if (GetACP() == 1252) {
        EXPECT_EQ(shown.rfind("caf\xC3\xA9 ", 0), 0u);
    }
    EXPECT_EQ(testsupport::ReadText(dir.file("Manual_Uninstallers_Log.txt")), bytes);
}

TEST_F(LogsWindowTest, ACounterOfTheWrongTypeIsShownAsUnreadableUntilReset) {
    platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey).writeString("JunkFiles", "12");
    setCounter("DupeFiles", 4);
    setCounter("JunkBytes", 100);
    open();
    EXPECT_EQ(label("lblJunkFiles"), "unreadable (counted as 0)");
    EXPECT_EQ(label("lblTotalFiles"), "4");
    EXPECT_EQ(form->StatusBar1.panelText(0), "Total Files Removed: 4");
    EXPECT_TRUE(form->lblStatsNote.visible());
    EXPECT_NE(form->lblStatsNote.caption().find("\"JunkFiles\""), std::string::npos);

    dialogs.expectMessage("reset this statistical data", MsgResult::Yes);
    ASSERT_TRUE(form->MainMenu.pick({"&File", "&Reset...", "&Junk and Obsolete File Statistics"}));
    EXPECT_EQ(label("lblJunkFiles"), "0");
    EXPECT_FALSE(form->lblStatsNote.visible());
}

TEST_F(LogsWindowTest, ASwitchOfTheWrongTypeIsReportedAndStoredAgainOnClose) {
    platform::RegKey::Create(HKEY_CURRENT_USER, "\\Software\\Quorvel\\Vantrel\\Schedule\\Eraser")
        .writeString("LogEvents", "no");
    platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey).writeString("DoPriv", "0");
    open();
    EXPECT_TRUE(form->cbSchedPrivacy.checked());
    EXPECT_TRUE(form->cbPrivacy.checked());
    EXPECT_TRUE(form->lblSettingsNote.visible());
    EXPECT_NE(form->lblSettingsNote.caption().find("\"LogEvents\" (Schedule\\Eraser)"), std::string::npos);
    EXPECT_NE(form->lblSettingsNote.caption().find("\"DoPriv\""), std::string::npos);
    ASSERT_TRUE(form->close());
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER, "\\Software\\Quorvel\\Vantrel\\Schedule\\Eraser");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->readInt("LogEvents"), 1);
    EXPECT_EQ(platform::RegKey::Open(HKEY_CURRENT_USER, kLogsKey)->readInt("DoPriv"), 1);
}

TEST_F(LogsWindowTest, ALockedLogIsReportedInItsViewAndIsNotLostWhenClearingFails) {
    std::string path = log("EraserLog.txt", "erased\r\n");
    platform::UniqueFile lock(CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    open();
    ASSERT_TRUE(selectPage("Privacy"));
    std::string shown = view("memPrivacyScheduled").text();
    EXPECT_NE(shown.find("could not be read"), std::string::npos) << shown;
    EXPECT_TRUE(button("cmdClearPrivacy").enabled());

    dialogs.expectMessage("permanently clear", MsgResult::Yes);
    dialogs.expectMessage("could not be deleted");
    {
        PopupChoice choice("Scheduled Operations");
        ASSERT_TRUE(button("cmdClearPrivacy").click());
    }
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_NE(view("memPrivacyScheduled").text(), kNoEvents);
    lock.reset();
    EXPECT_EQ(testsupport::ReadText(path), "erased\r\n");
}

TEST_F(LogsWindowTest, HelpOpensTheTopicAndTheWebItemOpensTheSupportPage) {
    testsupport::ShellRecorder shell;
    app::WriteRegBool(app::kHintsKey, "All", false); // the "Web" hint stays quiet
    app::SetProgramFolderForTesting(testsupport::BuildFolder());
    open();
    PostMessageW(form->hwnd(), WM_KEYDOWN, VK_F1, 0);
    platform::ProcessMessages();
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_TRUE(platform::SameText(
        shell.requests()[0].file, testsupport::BuildFolder() + "Help\\Tracking_statistics_with_Tool_Action_Logs.html"));
    EXPECT_TRUE(platform::FileExists(shell.requests()[0].file));
    ASSERT_TRUE(form->MainMenu.pick({"&Help", "&How to use Tool Action Logs"}));
    EXPECT_EQ(shell.requests().size(), 2u);

    ASSERT_TRUE(form->MainMenu.pick({"&Help", form->MainMenu.item("mnuWeb")->caption()}));
    ASSERT_EQ(shell.requests().size(), 3u);
    EXPECT_EQ(shell.requests()[2].verb, "OPEN");
    EXPECT_EQ(shell.requests()[2].file, logs::kSupportPage);
}

TEST_F(LogsWindowTest, ShowLogsWindowRunsTheWindowModallyUntilItIsClosed) {
    log("Manual_Junk_Log.txt", "modal\r\n");
    std::string seenCaption, seenView;
    bool wasVisible = false;
    auto previous = platform::Form::SetModalHook([&](platform::Form& f) {
        seenCaption = f.caption();
        wasVisible = f.visible();
        auto* logsForm = dynamic_cast<TfrmLogs*>(&f);
        ASSERT_NE(logsForm, nullptr);
        seenView = logsForm->controlAs<platform::Edit>("memJunkManual")->text();
        logsForm->cbRegistry.setChecked(false);
        logsForm->MainMenu.pick({"&File", "&Exit"});
    });
    logs::ShowLogsWindow();
    platform::Form::SetModalHook(previous);
    EXPECT_EQ(seenCaption, "Tool Action Logs");
    EXPECT_TRUE(wasVisible);
    EXPECT_EQ(seenView, "modal\r\n");
    EXPECT_FALSE(app::ReadRegBool(kLogsKey, "DoReg"));
}

// Screenshot mode for the documentation: with VANTREL_SCREENSHOT set (in a prefix with a display)
// the window stays on its statistics page for that many seconds; VANTREL_SCREENSHOT_READY names a
// file created once it is drawn, so the capture knows when to look.
TEST(LogsScreenshot, StatisticsPageStaysUpForTheCapture) {
    const char* seconds = std::getenv("VANTREL_SCREENSHOT");
    if (!seconds) GTEST_SKIP() << "screenshot mode only";
    testsupport::TempDir dir;
    testsupport::ScriptedDialogs dialogs;
    testsupport::ClearProductKey();
    app::SetProgramFolderForTesting(dir.path());
    const std::pair<const char*, int32_t> counters[] = {
        {"JunkFiles", 1482},     {"JunkBytes", 386492416}, {"EraserBytes", 52715520}, {"ShortFixed", 37},
        {"ShortRemoved", 12},    {"ShortBytes", 14336},    {"UninItems", 9},          {"DupeFiles", 264},
        {"DupeBytes", 93847552}, {"RegRefs", 318}};
    for (const auto& [name, value] : counters)
        app::WriteRegInt(kLogsKey, name, value);
    dir.write("Manual_Junk_Log.txt",
              "========================================\r\nOPEN SESSION: 12/8/2025 9:14:02 AM\r\n"
              "========================================\r\n\r\n  Moving to recycle bin: "
              "C:\\Temp\\~DF3A.tmp\r\n  Moving to recycle bin: C:\\Temp\\setup.log\r\n");
    dir.write("JunkLog.txt", "\r\n========================================\r\nOPERATION START: 12/7/2025 3:00:00 "
                             "AM\r\n========================================\r\n\r\n  Deleting: C:\\Temp\\a.bak\r\n");
    const char* page = std::getenv("VANTREL_SCREENSHOT_PAGE");
    TfrmLogs form;
    form.create();
    form.show();
    ASSERT_TRUE(form.pcLogs.selectPage(page ? page : "Statistics"));
    RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    platform::ProcessMessages();
    // The ready file tells the capture where the menu bar and client area are on the screen.
    if (const char* ready = std::getenv("VANTREL_SCREENSHOT_READY")) {
        RECT w = form.windowRect(), c{};
        GetClientRect(form.hwnd(), &c);
        MapWindowPoints(form.hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&c), 2);
        int menuTop = c.top - GetSystemMetrics(SM_CYMENU);
        platform::WriteFileBytes(ready, std::to_string(w.left) + " " + std::to_string(menuTop) + " " +
                                            std::to_string(w.right) + " " + std::to_string(w.bottom) + "\n");
    }
    DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(seconds)) * 1000;
    while (GetTickCount() < until && form.isOpen()) {
        platform::ProcessMessages();
        Sleep(50);
    }
    EXPECT_EQ(form.StatusBar1.panelText(0), "Total Files Removed: 1758");
    form.close();
    app::SetProgramFolderForTesting("");
    testsupport::ClearProductKey();
}
