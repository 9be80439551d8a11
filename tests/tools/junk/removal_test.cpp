// Removing listed files: recycle bin, permanent delete, move; files in use; the totals, the logs,
// the counters; the unattended run as the scheduler drives it.
#include "junk_fixture.h"

#include <algorithm>
#include <regex>

#include "logs/pure/log_lines.h"
#include "platform/messages.h"
#include "platform/shell.h"

using namespace junktest;
using platform::MsgResult;
using tools::junk::TfrmJunk;
using Lines = std::vector<std::string>;

namespace {

// Where Wine's recycle bin keeps the files it was given (XDG_DATA_HOME points into the suite).
std::string TrashFiles() {
    std::string unix = platform::EnvironmentVariable("XDG_DATA_HOME");
    std::string path = "Z:";
    for (char c : unix)
        path += c == '/' ? '\\' : c;
    return path + "\\Trash\\files\\";
}

bool InTrash(const std::string& name) {
    return platform::FileExists(TrashFiles() + name);
}

const std::regex kDateStamp(R"(\d{4}/\d{2}/\d{2}( \d{2}:\d{2})?)");

bool IsHeader(const std::string& line, const std::string& header) {
    return line.rfind(header, 0) == 0 && std::regex_match(line.substr(header.size()), kDateStamp);
}

// Keys as the user presses them while the result list has the focus.
void PressKey(platform::Form& form, HWND target, WPARAM key, bool ctrl = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    std::copy(std::begin(state), std::end(state), std::begin(saved));
    if (ctrl) state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    MSG msg{target, WM_KEYDOWN, key, 0, 0, {}};
    if (!platform::Form::PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    SetKeyboardState(saved);
    (void)form;
}

} // namespace

class JunkRemoval : public JunkTest {
protected:
    // A window with the given files listed, nothing asked before removing.
    std::unique_ptr<TfrmJunk> listed(const std::vector<std::string>& names, bool confirm = false) {
        for (const auto& n : names)
            onDrive(n);
        auto w = open();
        w->cbConfirm.setChecked(confirm);
        w->cbInUse.setChecked(false);
        scan(*w);
        EXPECT_EQ(w->lv.rowCount(), static_cast<int>(names.size()));
        return w;
    }
    static void selectOnly(TfrmJunk& w, const std::vector<int>& selected) {
        for (int r = 0; r < w.lv.rowCount(); ++r)
            w.lv.setSelected(r, std::find(selected.begin(), selected.end(), r) != selected.end());
        w.UpdateCommands();
    }
};

TEST_F(JunkRemoval, ThreeFilesOneInUseRemovesTwoAndDropsAllThreeRows) {
    auto w = listed({"a.tmp", "b.tmp", "c.tmp"});
    holdOpen(std::string(kDrive) + "b.tmp");
    EXPECT_TRUE(w->mnuRemove.click("mnuRemoveAll"));
    EXPECT_EQ(w->lv.rowCount(), 0);
    EXPECT_FALSE(w->tbResults.visible());
    EXPECT_FALSE(platform::FileExists(std::string(kDrive) + "a.tmp"));
    EXPECT_TRUE(platform::FileExists(std::string(kDrive) + "b.tmp"));
    EXPECT_FALSE(platform::FileExists(std::string(kDrive) + "c.tmp"));
    EXPECT_TRUE(InTrash("a.tmp"));
    EXPECT_TRUE(InTrash("c.tmp"));
    EXPECT_EQ(w->RemovedFiles, 2);
    EXPECT_EQ(w->RemovedBytes, 8);
    EXPECT_EQ(w->StatusBar1.panelText(1), "Total space recovered: 8 bytes (0.00 megabytes) in 2 files.");
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0], "The file: \"j:\\b.tmp\" was unable to be removed at this time as it is currently in use by "
                        "Windows or its associated application.");
    release();
    w->close();

    Lines log = logLines("Manual_Junk_Log.txt");
    auto from = std::find(log.begin(), log.end(), "  Moving to recycle bin: j:\\a.tmp");
    ASSERT_NE(from, log.end());
    const Lines tail(from, log.end());
    ASSERT_EQ(tail.size(), 9u);
    EXPECT_EQ(tail[1], "  Unable to remove \"j:\\b.tmp\".  This file is currently in use.");
    EXPECT_EQ(tail[2], "  Moving to recycle bin: j:\\c.tmp");
    EXPECT_EQ(tail[3], "");
    EXPECT_EQ(tail[4], logs::SeparatorLine());
    EXPECT_TRUE(IsHeader(tail[5], "CLOSE SESSION: ")) << tail[5];
    EXPECT_EQ(tail[6], "TOTAL SPACE RECOVERED: 8 bytes (0.00 megabytes.)");
    EXPECT_EQ(tail[7], logs::SeparatorLine());
    EXPECT_EQ(tail[8], "");
    EXPECT_EQ(counter("JunkFiles"), 2);
    EXPECT_EQ(counter("JunkBytes"), 8);
}

TEST_F(JunkRemoval, ConfirmationRemovalsAddUpAndTheNextRowIsSelected) {
    auto w = listed({"a.tmp", "b.tmp", "c.tmp", "d.tmp", "e.tmp"}, true);
    selectOnly(*w, {1, 2});
    dialogs.expectMessage("Are you sure you wish to remove the selected file(s) ?", MsgResult::No);
    EXPECT_TRUE(w->tbResults.click("cmdDelete"));
    EXPECT_EQ(w->lv.rowCount(), 5);
    EXPECT_TRUE(platform::FileExists(std::string(kDrive) + "b.tmp"));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].caption, "Please confirm");

    dialogs.expectMessage("Are you sure you wish to remove the selected file(s) ?", MsgResult::Yes);
    EXPECT_TRUE(w->tbResults.click("cmdDelete"));
    EXPECT_EQ(rows(*w), (Lines{"j:\\a.tmp", "j:\\d.tmp", "j:\\e.tmp"}));
    // The row now at the first removed row's place is selected.
    EXPECT_EQ(w->lv.selectedRows(), std::vector<int>{1});

    // The status line counts since the window opened, not this command alone.
    w->cbConfirm.setChecked(false);
    selectOnly(*w, {2});
    EXPECT_TRUE(w->mnuResults.click("mnuRemoveFiles"));
    EXPECT_EQ(w->StatusBar1.panelText(1), "Total space recovered: 12 bytes (0.00 megabytes) in 3 files.");
    // Nothing stands at the removed last row's place: the first row is selected.
    EXPECT_EQ(w->lv.selectedRows(), std::vector<int>{0});
    w->close();
    EXPECT_EQ(counter("JunkFiles"), 3);
}

TEST_F(JunkRemoval, PermanentDeleteAndMoveNeverOverwrite) {
    const std::string moveTo = std::string(kDrive) + "moved";
    write(moveTo + "\\y.tmp", "older");
    onDrive("x.tmp");
    onDrive("sub\\y.tmp", "newer");
    auto w = open();
    w->cbConfirm.setChecked(false);
    w->deMove.setText(moveTo);
    scan(*w);
    // Files already moved aside are not listed again.
    ASSERT_EQ(rows(*w), (Lines{"j:\\x.tmp", "j:\\sub\\y.tmp"}));

    w->optDelete.click();
    selectOnly(*w, {0});
    EXPECT_TRUE(w->tbResults.click("cmdDelete"));
    EXPECT_FALSE(platform::FileExists(std::string(kDrive) + "x.tmp"));
    EXPECT_FALSE(InTrash("x.tmp"));

    // The folder exists, so choosing "move" asks nothing.
    w->optMove.click();
    EXPECT_TRUE(w->deMove.enabled());
    selectOnly(*w, {0});
    EXPECT_TRUE(w->tbResults.click("cmdDelete"));
    EXPECT_FALSE(platform::FileExists(std::string(kDrive) + "sub\\y.tmp"));
    EXPECT_EQ(testsupport::ReadText(moveTo + "\\y.tmp"), "older");
    EXPECT_EQ(testsupport::ReadText(moveTo + "\\y (2).tmp"), "newer");
    EXPECT_EQ(w->RemovedFiles, 2);
    EXPECT_EQ(w->RemovedBytes, 4 + 5);
    scan(*w);
    EXPECT_EQ(w->lv.rowCount(), 0);
    w->close();

    const Lines log = logLines("Manual_Junk_Log.txt");
    EXPECT_NE(std::find(log.begin(), log.end(), "  Permanently deleting: j:\\x.tmp"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "  Relocating file: j:\\sub\\y.tmp\r     To: J:\\moved"), log.end());
}

TEST_F(JunkRemoval, AVanishedMoveFolderOrFileRemovesNothingAndCountsNothing) {
    const std::string moveTo = std::string(kWorkRoot) + "aside";
    platform::ForceFolders(moveTo);
    auto w = listed({"a.tmp", "b.tmp"});
    w->deMove.setText(moveTo);
    w->optMove.click();
    testsupport::RemoveTree(moveTo);
    selectOnly(*w, {0, 1});
    dialogs.expectMessage("You must specify a valid folder to move files to");
    EXPECT_TRUE(w->tbResults.click("cmdDelete"));
    EXPECT_EQ(w->lv.rowCount(), 2);
    EXPECT_TRUE(platform::FileExists(std::string(kDrive) + "a.tmp"));
    EXPECT_FALSE(platform::FolderExists(moveTo));

    // A file that went away after the scan: its row goes, nothing is counted or logged for it.
    w->optRecycle.click();
    ASSERT_TRUE(platform::DeleteFileAt(std::string(kDrive) + "a.tmp"));
    EXPECT_TRUE(w->mnuRemove.click("mnuRemoveAll"));
    EXPECT_EQ(w->lv.rowCount(), 0);
    EXPECT_EQ(w->RemovedFiles, 1);
    EXPECT_EQ(w->RemovedBytes, 4);
    EXPECT_TRUE(hints.empty());
    w->close();
    for (const auto& line : logLines("Manual_Junk_Log.txt"))
        EXPECT_EQ(line.find("a.tmp"), std::string::npos) << line;
}

TEST_F(JunkRemoval, ClosingWritesTheTotalsAndAddsThemToTheCounters) {
    {
        auto w = open();
        w->show();
        w->close();
    }
    const Lines log = logLines("Manual_Junk_Log.txt");
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[0], logs::SeparatorLine());
    EXPECT_TRUE(IsHeader(log[1], "OPEN SESSION: ")) << log[1];
    EXPECT_EQ(log[2], logs::SeparatorLine());
    EXPECT_EQ(log[3], "");
    EXPECT_EQ(log[4], "");
    EXPECT_TRUE(IsHeader(log[6], "CLOSE SESSION: ")) << log[6];
    EXPECT_EQ(log[7], "TOTAL SPACE RECOVERED: 0 bytes (0.00 megabytes.)");
    EXPECT_EQ(counter("JunkFiles"), 0);
    EXPECT_EQ(counter("JunkBytes"), 0);

    // Past 2 GiB the log shows the true total; the 32-bit counter stops at its largest value.
    platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey).writeInt("JunkBytes", 2147483000);
    {
        auto w = listed({"big.tmp"});
        w->lv.selectAll();
        EXPECT_TRUE(w->tbResults.click("cmdDelete"));
        w->RemovedBytes += 3'000'000'000;
        w->close();
    }
    EXPECT_EQ(counter("JunkBytes"), 2147483647);
    EXPECT_EQ(counter("JunkFiles"), 1);
    const Lines after = logLines("Manual_Junk_Log.txt");
    EXPECT_NE(std::find(after.begin(), after.end(), "TOTAL SPACE RECOVERED: 3,000,000,004 bytes (2,861.02 megabytes.)"),
              after.end());
}

TEST_F(JunkRemoval, TheUnattendedRunScansRemovesAndClosesWithoutAQuestion) {
    onDrive("a.tmp");
    onDrive("b.tmp");
    auto w = open();
    w->Unattended = true;
    w->LogUnattended = true;
    // As the scheduler does: press "&Scan", wait for the caption, select all, press "Remove", close.
    ASSERT_TRUE(w->cmdGo.click());
    while (w->cmdGo.caption() != "&Scan")
        platform::ProcessMessages();
    ASSERT_EQ(w->lv.rowCount(), 2);
    holdOpen(std::string(kDrive) + "a.tmp");
    w->lv.selectAll();
    ASSERT_TRUE(w->tbResults.click("cmdDelete"));
    release();
    w->close();

    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(hints.empty());
    EXPECT_FALSE(logExists("Manual_Junk_Log.txt"));
    EXPECT_TRUE(platform::FileExists(std::string(kDrive) + "a.tmp"));
    EXPECT_FALSE(platform::FileExists(std::string(kDrive) + "b.tmp"));
    const Lines log = logLines("JunkLog.txt");
    ASSERT_EQ(log.size(), 18u);
    EXPECT_EQ(log[0], "");
    EXPECT_EQ(log[1], logs::SeparatorLine());
    EXPECT_TRUE(IsHeader(log[2], "OPERATION START: ")) << log[2];
    EXPECT_EQ(log[3], logs::SeparatorLine());
    const Lines details(log.begin() + 4, log.begin() + 12);
    EXPECT_EQ(details, (Lines{"", "  Start Scan...", "  Successfully scanned J:\\ for specified file types.",
                              "  Scan End.", "", "  8 bytes (0.00 megabytes) found in 2 files.",
                              "  Unable to remove \"j:\\a.tmp\".  This file is currently in use.",
                              "  Moving to recycle bin: j:\\b.tmp"}));
    EXPECT_EQ(log[12], "");
    EXPECT_EQ(log[13], logs::SeparatorLine());
    EXPECT_TRUE(IsHeader(log[14], "OPERATION COMPLETE: ")) << log[14];
    EXPECT_EQ(log[15], "TOTAL SPACE RECOVERED: 4 bytes (0.00 megabytes.)");
    EXPECT_EQ(log[16], logs::SeparatorLine());
    EXPECT_EQ(log[17], "");
    EXPECT_EQ(counter("JunkFiles"), 1);
    EXPECT_EQ(counter("JunkBytes"), 4);
}

TEST_F(JunkRemoval, CommandsFollowTheSelectionAndTheirKeys) {
    auto w = listed({"a.tmp", "b.tmp", "c.tmp"}, true);
    EXPECT_EQ(w->tbResults.buttonNames(), (Lines{"cmdDelete", "cmdQuickView", "cmdProperties"}));
    EXPECT_EQ(w->tbResults.buttonCaption("cmdDelete"), "Remove");
    EXPECT_TRUE(w->tbResults.isDropDown("cmdDelete"));
    EXPECT_EQ(w->mnuRemove.caption("mnuRemoveSelected"), "&Remove Selected File(s)");
    EXPECT_EQ(w->mnuRemove.caption("mnuRemoveAll"), "Remove &all listed files");
    EXPECT_EQ(w->mnuResults.shortcut("mnuRemoveFiles"), "Del");
    EXPECT_EQ(w->mnuResults.shortcut("mnuSelectAll"), "Ctrl+A");
    EXPECT_EQ(w->mnuResults.shortcut("mnuQuickView"), "Enter");
    EXPECT_EQ(w->mnuResults.shortcut("mnuProperties"), "Alt+Enter");

    // The scan selected the first row: everything for one row is available.
    EXPECT_TRUE(w->mnuResults.enabled("mnuQuickView"));
    EXPECT_TRUE(w->tbResults.buttonEnabled("cmdProperties"));
    selectOnly(*w, {0, 2});
    EXPECT_FALSE(w->mnuResults.enabled("mnuQuickView"));
    EXPECT_FALSE(w->tbResults.buttonEnabled("cmdQuickView"));
    EXPECT_TRUE(w->mnuResults.enabled("mnuRemoveFiles"));
    EXPECT_TRUE(w->mnuResults.enabled("mnuSelectAll"));
    selectOnly(*w, {});
    EXPECT_FALSE(w->mnuResults.enabled("mnuRemoveFiles"));
    EXPECT_FALSE(w->mnuResults.enabled("mnuSelectAll"));
    EXPECT_FALSE(w->mnuRemove.enabled("mnuRemoveSelected"));
    EXPECT_TRUE(w->mnuRemove.enabled("mnuRemoveAll"));
    EXPECT_FALSE(w->mnuResults.click("mnuRemoveFiles"));

    // Del and Ctrl+A reach the same commands from the list.
    w->show();
    w->lv.setFocus();
    selectOnly(*w, {1});
    PressKey(*w, w->lv.hwnd(), 'A', true);
    EXPECT_EQ(w->lv.selectedCount(), 3);
    dialogs.expectMessage("Are you sure you wish to remove the selected file(s) ?", MsgResult::No);
    PressKey(*w, w->lv.hwnd(), VK_DELETE);
    EXPECT_EQ(w->lv.rowCount(), 3);
    w->close();
}

TEST_F(JunkRemoval, QuickViewOpensTheViewerOrTheFileAndADoubleClickDropsAVanishedRow) {
    auto w = listed({"a.tmp", "b.tmp"});
    testsupport::ShellRecorder shell;
    selectOnly(*w, {0});
    EXPECT_TRUE(w->tbResults.click("cmdQuickView"));
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, "j:\\a.tmp");

    const std::string viewers = platform::SystemDirectory() + "\\viewers\\";
    platform::ForceFolders(viewers);
    write(viewers + "QuikView.exe", "MZ");
    EXPECT_TRUE(w->mnuResults.click("mnuQuickView"));
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_TRUE(platform::SameText(shell.requests()[1].file, viewers + "QuikView.exe"));
    EXPECT_EQ(shell.requests()[1].parameters, "\"j:\\a.tmp\"");
    testsupport::RemoveTree(viewers);

    // A start that fails leaves the button disabled.
    shell.succeed = false;
    EXPECT_TRUE(w->tbResults.click("cmdQuickView"));
    EXPECT_FALSE(w->tbResults.buttonEnabled("cmdQuickView"));

    ASSERT_TRUE(platform::DeleteFileAt(std::string(kDrive) + "b.tmp"));
    selectOnly(*w, {1});
    w->lv.dblClick(1);
    EXPECT_EQ(rows(*w), Lines{"j:\\a.tmp"});
    EXPECT_EQ(w->NumBytes(), 4);
    w->close();
}
