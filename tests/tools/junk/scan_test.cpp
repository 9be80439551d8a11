// The junk scan on real files of drive J: and of the temporary folder.
#include "junk_fixture.h"

#include <algorithm>
#include <cmath>

#include "app/common.h"
#include "app/pure/format.h"
#include "logs/pure/log_lines.h"

using namespace junktest;
using tools::junk::TfrmJunk;
using Lines = std::vector<std::string>;

namespace {

// Sets the file's last access (or, with write, last write) time to a local date and time.
void SetLocalFileTime(const std::string& path, double localDateTime, bool write = false) {
    FILETIME local = platform::DateTimeToFileTime(localDateTime), utc;
    LocalFileTimeToFileTime(&local, &utc);
    platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f) << path;
    ASSERT_TRUE(SetFileTime(f.get(), nullptr, write ? nullptr : &utc, write ? &utc : nullptr));
}
void SetLastAccess(const std::string& path, double localDateTime) {
    SetLocalFileTime(path, localDateTime);
}
void SetLastWrite(const std::string& path, double localDateTime) {
    SetLocalFileTime(path, localDateTime, true);
}

FILETIME LastAccess(const std::string& path) {
    FILETIME t{};
    platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    if (f) GetFileTime(f.get(), nullptr, &t, nullptr);
    return t;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

Lines Sorted(Lines v) {
    std::sort(v.begin(), v.end());
    return v;
}

int CheckedRowOf(platform::ListView& list, const std::string& caption) {
    for (int r = 0; r < list.rowCount(); ++r)
        if (platform::SameText(list.text(r), caption)) return r;
    return -1;
}

// A folder row as the folder lists hold them.
void AddFolderRow(platform::ListView& list, const std::string& folder, bool checked) {
    int row = list.addRow(platform::IncludeTrailingBackslash(folder), {"test"});
    list.setChecked(row, checked);
}

} // namespace

class JunkScan : public JunkTest {};

TEST_F(JunkScan, DefaultTypesListMatchingFilesOfTheCheckedDriveOnce) {
    const Lines expected{
        onDrive("report.tmp"),  onDrive("a\\b\\old.bak"),     onDrive("~WRL0001.doc"),
        onDrive("notes.tx~"),   onDrive("sub\\MSCREATE.DIR"), onDrive("news\\0abc.nch"),
        onDrive("deep\\x.chk"), onDrive("hidden.old"),        onDrive("f.---"),
    };
    onDrive("keep.txt");
    onDrive("report.tmp.txt");
    onDrive("news\\1abc.nch");
    ASSERT_TRUE(platform::SetAttributes(std::string(kDrive) + "hidden.old", FILE_ATTRIBUTE_HIDDEN));
    auto w = open();
    // The toolbar stays hidden while the scan runs, even once rows are listed.
    int filesSeen = 0, toolbarSeen = 0;
    auto onFile = w->ts.OnFileFound;
    w->ts.OnFileFound = [&](scan::TTreeScanner& s) {
        onFile(s);
        ++filesSeen;
        if (w->tbResults.visible() || w->cmdGo.caption() != "&Stop") ++toolbarSeen;
    };
    scan(*w);
    EXPECT_GT(filesSeen, 0);
    EXPECT_EQ(toolbarSeen, 0);
    Lines want;
    for (const auto& p : expected)
        want.push_back(lower(p));
    EXPECT_EQ(Sorted(rows(*w)), Sorted(want));
    // The row carries the list's columns, and the total counts every listed byte.
    const int row = CheckedRowOf(w->lv, lower(expected[0]));
    ASSERT_GE(row, 0);
    EXPECT_EQ(w->lv.text(row, 1), "4");
    EXPECT_EQ(w->NumBytes(), 4 * static_cast<int64_t>(expected.size()));
    EXPECT_EQ(w->StatusBar1.panelText(1), "Scan Complete: 36 bytes (0.00 megabytes) found in 9 files.");
    EXPECT_TRUE(w->tbResults.visible());
    EXPECT_EQ(w->lv.selectedIndex(), 0);
    EXPECT_FALSE(w->aniSearch.visible());
    EXPECT_TRUE(w->cmdHelp.visible());

    // A second scan starts from an empty list.
    scan(*w);
    EXPECT_EQ(w->lv.rowCount(), 9);
    w->close();

    const Lines log = logLines("Manual_Junk_Log.txt");
    const Lines oneScan{"  Start Scan...", "  Successfully scanned J:\\ for specified file types.", "  Scan End.", "",
                        "  36 bytes (0.00 megabytes) found in 9 files."};
    ASSERT_GE(log.size(), 10u);
    EXPECT_EQ(Lines(log.begin(), log.begin() + 5), oneScan);
    EXPECT_EQ(Lines(log.begin() + 5, log.begin() + 10), oneScan);
}

TEST_F(JunkScan, AttributesDaysAndFilesInUseKeepFilesOut) {
    const std::string readOnly = onDrive("ro.tmp");
    const std::string system = onDrive("sys.tmp");
    const std::string inUse = onDrive("busy.tmp");
    const std::string old = onDrive("old.tmp");
    const std::string recent = onDrive("recent.tmp");
    const std::string today = onDrive("today.tmp");
    ASSERT_TRUE(platform::SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(platform::SetAttributes(system, FILE_ATTRIBUTE_SYSTEM));
    const double now = platform::Now();
    SetLastAccess(old, now - 40);
    SetLastAccess(recent, now - 2);
    SetLastAccess(today, std::floor(now) + 0.0007);
    holdOpen(inUse);

    auto w = open();
    scan(*w);
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(old), lower(recent), lower(today)}));

    // The day limit: 30 days lists only the file not accessed for 40.
    w->cbDays.setChecked(true);
    w->meDays.setText("30");
    scan(*w);
    EXPECT_EQ(rows(*w), Lines{lower(old)});
    // Zero days is no limit, not even for a file accessed today.
    w->meDays.setText("0");
    scan(*w);
    EXPECT_EQ(rows(*w).size(), 3u);
    // Looking at the access times leaves them as they were.
    w->meDays.setText("30");
    scan(*w);
    EXPECT_EQ(rows(*w), Lines{lower(old)});

    // Without the attribute and in-use options these files are listed too.
    w->cbDays.setChecked(false);
    w->cbSkipAttr.setChecked(false);
    scan(*w);
    // A read-only file counts as in use (it cannot be opened for writing).
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(system), lower(old), lower(recent), lower(today)}));
    w->cbInUse.setChecked(false);
    scan(*w);
    EXPECT_EQ(rows(*w).size(), 6u);
    w->close();
}

TEST_F(JunkScan, ADayCountThatIsNoNumberIsRefusedWithAMessage) {
    onDrive("a.tmp");
    auto w = open();
    w->cbDays.setChecked(true);
    w->meDays.setText("");
    dialogs.expectMessage("Please enter the number of days (0 to 999)");
    EXPECT_TRUE(w->cmdGo.click());
    EXPECT_EQ(w->lv.rowCount(), 0);
    EXPECT_EQ(w->pcJunk.activePage(), 3);
    EXPECT_FALSE(logExists("Manual_Junk_Log.txt"));

    // Unattended, nothing can be asked: no file is known to be old enough, so none is listed.
    w->Unattended = true;
    w->LogUnattended = true;
    scan(*w);
    EXPECT_EQ(w->lv.rowCount(), 0);
    const Lines log = logLines("JunkLog.txt");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "  0 bytes (0.00 megabytes) found in 0 files.");
}

TEST_F(JunkScan, ExcludedAndMoveToFoldersAreLeftOutOfEveryPhase) {
    onDrive("skip\\a.tmp");
    onDrive("skip\\deeper\\b.bak");
    onDrive("skip\\empty.txt", "");
    onDrive("skip2\\c.tmp");
    onDrive("open\\d.tmp");
    onDrive("moved\\e.tmp");
    onDrive("moved\\old\\f.tmp");
    onDrive("nothere\\g.tmp");
    const std::string zero = onDrive("open\\zero.dat", "");
    auto w = open();
    AddFolderRow(w->lvFolderExclude, std::string(kDrive) + "skip", true);
    AddFolderRow(w->lvFolderExclude, std::string(kDrive) + "nothere", false); // unchecked: no effect
    w->deMove.setText(std::string(kDrive) + "MOVED");
    w->cbZeroLength.setChecked(true);
    // A find folder inside an excluded one lists nothing either.
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "skip\\deeper", true);
    scan(*w);
    EXPECT_EQ(Sorted(rows(*w)),
              Sorted({lower(std::string(kDrive) + "skip2\\c.tmp"), lower(std::string(kDrive) + "open\\d.tmp"),
                      lower(std::string(kDrive) + "nothere\\g.tmp"), lower(zero)}));
    w->close();
    const Lines log = logLines("Manual_Junk_Log.txt");
    EXPECT_NE(std::find(log.begin(), log.end(), "  Successfully scanned J:\\ for zero length files."), log.end());
}

TEST_F(JunkScan, ZeroLengthFilesAreFoundOnlyWhenAsked) {
    const std::string zero = onDrive("data\\empty.dat", "");
    const std::string zeroTmp = onDrive("data\\empty.tmp", "");
    onDrive("data\\full.dat", "x");
    auto w = open();
    scan(*w);
    EXPECT_EQ(rows(*w), Lines{lower(zeroTmp)});
    w->cbZeroLength.setChecked(true);
    scan(*w);
    // Found by both walks, listed once.
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(zero), lower(zeroTmp)}));
    EXPECT_EQ(w->NumBytes(), 0);
    w->close();
    // With a list total of 0 no walk reports success.
    for (const auto& line : logLines("Manual_Junk_Log.txt"))
        EXPECT_EQ(line.find("Successfully scanned"), std::string::npos) << line;
}

TEST_F(JunkScan, TemporaryAndFindFoldersListEveryFileOnce) {
    const std::string inTemp = onDrive("Temp\\anything.doc");
    const std::string junkInTemp = onDrive("Temp\\x.tmp");
    const std::string found = onDrive("downloads\\setup.zip");
    onDrive("unchecked\\keep.zip");
    UseTempFolder(std::string(kDrive) + "Temp\\");
    auto w = open();
    w->cbTemp.setChecked(true);
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "downloads", true);
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "unchecked", false);
    scan(*w);
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(inTemp), lower(junkInTemp), lower(found)}));
    w->close();
    const Lines log = logLines("Manual_Junk_Log.txt");
    const Lines want{"  Start Scan...",
                     "  Successfully scanned J:\\Temp\\ for specified file types.",
                     "  Successfully scanned J:\\downloads\\ for specified file types.",
                     "  Successfully scanned J:\\ for specified file types.",
                     "  Scan End.",
                     "",
                     "  12 bytes (0.00 megabytes) found in 3 files."};
    ASSERT_GE(log.size(), want.size());
    EXPECT_EQ(Lines(log.begin(), log.begin() + static_cast<long>(want.size())), want);
}

TEST_F(JunkScan, WithoutUsableFileTypesTheDrivesAreNotWalkedForTypes) {
    onDrive("a.tmp");
    const std::string zero = onDrive("z.dat", "");
    const std::string found = onDrive("downloads\\f.zip");
    auto w = open();
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "downloads", true);
    w->cbZeroLength.setChecked(true);
    app::CheckAllItems(false, w->lvScan);
    scan(*w);
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(zero), lower(found)}));

    // One checked type with an empty pattern sorts first and turns the whole phase off.
    app::CheckAllItems(true, w->lvScan);
    w->lvScan.setText(2, 0, "");
    scan(*w);
    EXPECT_EQ(Sorted(rows(*w)), Sorted({lower(zero), lower(found)}));
    w->close();
}

TEST_F(JunkScan, AStopEndsTheWholeScanAndLogsItsEndOnce) {
    onDrive("a.tmp");
    onDrive("downloads\\f.zip");
    const std::string inTemp = write(temp + "t.tmp", "temp");
    auto w = open();
    w->cbTemp.setChecked(true);
    w->cbZeroLength.setChecked(true);
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "downloads", true);
    // The click reaches the window at the scan's first message pump, inside the temporary folder.
    PostMessageW(w->hwnd(), WM_COMMAND, MAKEWPARAM(w->cmdGo.id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(w->cmdGo.hwnd()));
    scan(*w);
    // The temporary folder's walk was stopped before its file; no find folder and no drive followed.
    EXPECT_EQ(w->lv.rowCount(), 0);
    EXPECT_TRUE(w->pcJunk.enabled());
    EXPECT_TRUE(w->cmdExit.enabled());
    w->close();
    const Lines log = logLines("Manual_Junk_Log.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), "  Scan End."), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "  0 bytes (0.00 megabytes) found in 0 files."), 1);
    for (const auto& line : log)
        EXPECT_EQ(line.find("Successfully scanned"), std::string::npos) << line;
}

TEST_F(JunkScan, TheLogSwitchesSilenceEachLog) {
    onDrive("a.tmp");
    platform::RegKey::Create(HKEY_CURRENT_USER, kLogsKey).writeInt("DoJunk", 0);
    {
        auto w = open();
        EXPECT_FALSE(w->DoJunk);
        w->show();
        scan(*w);
        EXPECT_EQ(w->lv.rowCount(), 1);
        w->close();
    }
    EXPECT_FALSE(logExists("Manual_Junk_Log.txt"));
    {
        auto w = open();
        w->Unattended = true;
        w->LogUnattended = false;
        scan(*w);
        w->lv.selectAll();
        EXPECT_TRUE(w->tbResults.click("cmdDelete"));
        w->close();
    }
    EXPECT_FALSE(logExists("JunkLog.txt"));
    EXPECT_FALSE(logExists("Manual_Junk_Log.txt"));
    // The counters grow whatever the logs do.
    EXPECT_EQ(counter("JunkFiles"), 1);
    EXPECT_EQ(counter("JunkBytes"), 4);
}

TEST_F(JunkScan, RowsShowTheFilesOwnIconOrTheGenericOne) {
    const std::string exe = std::string(kDrive) + "tools\\vantrel.exe";
    platform::ForceFolders(std::string(kDrive) + "tools\\");
    ASSERT_TRUE(platform::CopyFileTo(testsupport::BuildFolder() + "Vantrel.exe", exe, false));
    const std::string tmp = onDrive("tools\\a.tmp");
    SetLastWrite(tmp, textfmt::EncodeDateTime(2001, 5, 3, 8, 0, 0));
    // Reading a file's head, version data and icon leaves its last access as it was, whether the
    // in-use test held the file (on) or not (off).
    const double now = platform::Now();
    SetLastAccess(exe, now - 100);
    SetLastAccess(tmp, now - 50);
    const FILETIME exeAccess = LastAccess(exe), tmpAccess = LastAccess(tmp);
    auto w = open();
    AddFolderRow(w->lvFolderFind, std::string(kDrive) + "tools", true);
    for (bool inUse : {false, true}) {
        w->cbInUse.setChecked(inUse);
        scan(*w);
        EXPECT_TRUE(SameTime(LastAccess(exe), exeAccess)) << "in-use test " << inUse;
        EXPECT_TRUE(SameTime(LastAccess(tmp), tmpAccess)) << "in-use test " << inUse;
    }
    ASSERT_EQ(w->lv.rowCount(), 2);
    const int exeRow = CheckedRowOf(w->lv, lower(exe)), tmpRow = CheckedRowOf(w->lv, lower(tmp));
    ASSERT_GE(exeRow, 0);
    ASSERT_GE(tmpRow, 0);
    EXPECT_EQ(w->lv.image(tmpRow), 0);
    EXPECT_GE(w->lv.image(exeRow), 1);
    EXPECT_EQ(w->lv.text(exeRow, 5), "1.0.0.0"); // the executable's file version
    EXPECT_EQ(w->lv.text(tmpRow, 5), "");
    // Size, date and attributes are the file's own (as the walk listed them, with the in-use
    // test holding the file).
    const auto& fs = textfmt::ProcessFormats();
    EXPECT_EQ(w->lv.text(tmpRow, 1), "4");
    EXPECT_EQ(w->lv.text(tmpRow, 3),
              "2001" + fs.dateSeparator + "05" + fs.dateSeparator + "03 08" + fs.timeSeparator + "00");
    EXPECT_EQ(w->lv.text(tmpRow, 4), "   A");

    // Alt+Enter on the list shows the selected file's properties.
    w->lv.setFocus();
    for (int r = 0; r < w->lv.rowCount(); ++r)
        w->lv.setSelected(r, r == tmpRow);
    {
        testsupport::SheetCloser closer;
        SendMessageW(w->lv.hwnd(), WM_SYSKEYDOWN, VK_RETURN, 1 << 29);
    }
    EXPECT_NE(testsupport::SheetCloser::caption().find("a.tmp"), std::string::npos)
        << testsupport::SheetCloser::caption();
    HIMAGELIST icons = ListView_GetImageList(w->lv.hwnd(), LVSIL_SMALL);
    EXPECT_EQ(ImageList_GetImageCount(icons), 2);
    // A new scan starts again from the generic icon alone.
    w->lvFolderFind.setChecked(0, false);
    scan(*w);
    EXPECT_EQ(ImageList_GetImageCount(icons), 1);
    w->close();
}
