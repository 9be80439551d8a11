#include <gtest/gtest.h>

#include <functional>

#include "app/pure/format.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "scan/disk_list.h"
#include "scan/file_list.h"
#include "scan/pure/scan_rules.h"
#include "support/fixtures.h"

using scan::TDiskListView;
using scan::TFileListView;
using testsupport::TempDir;
using Lines = std::vector<std::string>;

namespace {

// A small window that hosts one list of each kind, as the tool windows do.
class ListForm : public platform::Form {
public:
    ListForm() : Form("TListForm") {}
    TDiskListView DiskListView1;
    TFileListView lvFiles;

protected:
    void buildWindow(HWND owner) override {
        createWindow({"Lists", 600, 420}, owner);
        addListView(DiskListView1, "DiskListView1", {10, 10, 250, 150}, nullptr, true);
        addListView(lvFiles, "lvFiles", {10, 170, 580, 240});
    }
};

LONG_PTR Style(HWND h) {
    return GetWindowLongPtrW(h, GWL_STYLE);
}

std::string Letters(const TDiskListView& list) {
    std::string out;
    for (int r = 0; r < list.rowCount(); ++r)
        out.push_back(scan::DriveLetterOfCaption(list.text(r)).value_or('?'));
    return out;
}

// Clicks a column header the way the control reports it to its window.
void ClickColumn(platform::Form& form, platform::ListView& list, int column) {
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list.hwnd();
    nm.hdr.idFrom = static_cast<UINT_PTR>(list.id());
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageW(form.hwnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

Lines Column(const platform::ListView& list, int column) {
    Lines out;
    for (int r = 0; r < list.rowCount(); ++r)
        out.push_back(list.text(r, column));
    return out;
}

void SetLocalWriteTime(const std::string& path, int y, int mo, int d, int h, int mi) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    platform::UniqueFile f(CreateFileW(platform::Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &utc));
}

constexpr const char* kScratchKey = "Software\\VantrelTests\\DiskList";

} // namespace

// The suite's prefix has C: (fixed), D: (CD-ROM), N: (network), Q: (a letter whose folder is
// missing) and Z: (fixed, Wine's view of the Unix root); see fixtures.sh.
TEST(DiskListView, ListsTheDrivesWithIconsAndSelectsTheFixedOnes) {
    ListForm form;
    form.create();
    TDiskListView& list = form.DiskListView1;
    list.FillDrives();
    EXPECT_EQ(Letters(list), "CDNZ");
    EXPECT_EQ(list.GetSelectedDrives(), "CZ");
    EXPECT_EQ(ImageList_GetImageCount(list.DiskListViewImageList()), list.rowCount());
    for (int r = 0; r < list.rowCount(); ++r)
        EXPECT_EQ(list.image(r), r);
    // Filling again rebuilds rather than adds.
    list.FillDrives();
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(ImageList_GetImageCount(list.DiskListViewImageList()), 4);

    list.SelectLocalDrives = false;
    list.FillDrives();
    EXPECT_EQ(list.GetSelectedDrives(), "");
    list.setSelected(1, true);
    list.setSelected(3, true);
    EXPECT_EQ(list.GetSelectedDrives(), "DZ");
    form.close();
}

TEST(DiskListView, DefaultsAndItsOwnColumnOrTheWindowsColumns) {
    ListForm form;
    form.create();
    TDiskListView& list = form.DiskListView1;
    LONG_PTR style = Style(list.hwnd());
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOCOLUMNHEADER | LVS_SORTASCENDING));
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_FALSE(Style(ListView_GetHeader(list.hwnd())) & HDS_BUTTONS);
    EXPECT_EQ(list.columnCount(), 1);
    EXPECT_EQ(list.columnCaption(0), "Select drives");
    list.FillDrives();
    EXPECT_GT(list.columnWidth(0), 0);

    ListForm own;
    own.DiskListView1.Columns = {{"Drives to scan", 180}};
    own.create();
    EXPECT_EQ(own.DiskListView1.columnCount(), 1);
    EXPECT_EQ(own.DiskListView1.columnCaption(0), "Drives to scan");
    own.DiskListView1.FillDrives();
    EXPECT_EQ(own.DiskListView1.columnWidth(0), 180);
    own.close();
    form.close();
}

TEST(DiskListView, CheckFixedDrivesOnlyOnFirstUse) {
    platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratchKey);
    ListForm form;
    form.create();
    TDiskListView& list = form.DiskListView1;
    list.FillDrives();
    scan::CheckFixedDrives(std::string("\\") + kScratchKey, "pos", list);
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kScratchKey));
    std::string checked;
    for (int r = 0; r < list.rowCount(); ++r)
        if (list.checked(r)) checked += Letters(list)[static_cast<size_t>(r)];
    EXPECT_EQ(checked, "CZ");

    for (int r = 0; r < list.rowCount(); ++r)
        list.setChecked(r, false);
    platform::RegKey::Create(HKEY_CURRENT_USER, std::string(kScratchKey) + "\\POS");
    scan::CheckFixedDrives(kScratchKey, "pos", list);
    for (int r = 0; r < list.rowCount(); ++r)
        EXPECT_FALSE(list.checked(r)) << r;
    form.close();
    platform::DeleteKeyTree(HKEY_CURRENT_USER, kScratchKey);
}

TEST(FileListView, CreatingOneSwitchesTheProcessDateFormats) {
    TFileListView list;
    EXPECT_TRUE(textfmt::FileListFormatsInUse());
    EXPECT_EQ(textfmt::ProcessFormats().shortDateFormat, "yyyy/mm/dd");
    EXPECT_EQ(textfmt::ProcessFormats().longTimeFormat, "hh:nn");
    const auto& fs = textfmt::ProcessFormats();
    EXPECT_EQ(textfmt::DateTimeToStr(textfmt::EncodeDateTime(2000, 1, 31, 14, 5, 0)),
              "2000" + fs.dateSeparator + "01" + fs.dateSeparator + "31 14" + fs.timeSeparator + "05");
}

TEST(FileListView, DefaultColumnsAndStyles) {
    ListForm form;
    form.create();
    TFileListView& list = form.lvFiles;
    ASSERT_EQ(list.columnCount(), 7);
    Lines captions;
    for (int c = 0; c < 7; ++c)
        captions.push_back(list.columnCaption(c));
    EXPECT_EQ(captions, (Lines{"Name", "Size", "Type", "Modified", "Attr", "File Ver", "Prod Ver"}));
    std::string aligned;
    for (int c = 0; c < 7; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_FMT;
        ListView_GetColumn(list.hwnd(), c, &col);
        aligned.push_back((col.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT ? 'R' : 'L');
    }
    EXPECT_EQ(aligned, "LRLLRRR");
    LONG_PTR style = Style(list.hwnd());
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(style & (LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER));
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list.hwnd()) & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(list.SortColumn(), 1);
    EXPECT_TRUE(list.SortAscending());
    form.close();
}

TEST(FileListView, AddFileItemFillsTheSevenColumns) {
    TempDir dir;
    ListForm form;
    form.create();
    TFileListView& list = form.lvFiles;
    std::string path = dir.write("Mixed Case.TXT", "0123456789");
    SetLocalWriteTime(path, 2000, 1, 31, 14, 5);
    ASSERT_TRUE(platform::SetAttributes(path, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    int64_t size = -1;
    ASSERT_TRUE(list.AddFileItem(path, size));
    EXPECT_EQ(size, 10);
    Lines row = list.row(0);
    ASSERT_EQ(row.size(), 7u);
    EXPECT_EQ(row[0], platform::LowerCase(path));
    EXPECT_NE(row[0], path);
    EXPECT_EQ(row[1], "10");
    auto shell = platform::GetShellFileInfo(path, 0, false);
    ASSERT_TRUE(shell.has_value());
    EXPECT_FALSE(row[2].empty());
    EXPECT_EQ(row[2], shell->typeName);
    const auto& fs = textfmt::ProcessFormats();
    EXPECT_EQ(row[3], "2000" + fs.dateSeparator + "01" + fs.dateSeparator + "31 14" + fs.timeSeparator + "05");
    EXPECT_EQ(row[4], "R  A");
    EXPECT_EQ(row[5], "");
    EXPECT_EQ(row[6], "");
    platform::SetAttributes(path, FILE_ATTRIBUTE_NORMAL);

    std::string exe = testsupport::BuildFolder() + "Vantrel.exe";
    ASSERT_TRUE(list.AddFileItem(exe, size));
    EXPECT_EQ(list.text(1, 5), "1.0.0.0");
    EXPECT_EQ(list.text(1, 6), "1.0.0.0");
    EXPECT_EQ(static_cast<uint64_t>(size), platform::FileSize(exe).value());

    size = 77;
    EXPECT_FALSE(list.AddFileItem(dir.path() + "missing.txt", size));
    EXPECT_FALSE(list.AddFileItem(dir.path() + "*.TXT", size));
    EXPECT_EQ(list.rowCount(), 2);
    form.close();
}

TEST(FileListView, ColumnClicksSortAndAWindowsOwnHandlerReplacesThat) {
    TempDir dir;
    ListForm form;
    form.create();
    TFileListView& list = form.lvFiles;
    struct F {
        const char* name;
        size_t size;
        int day;
    };
    for (F f : {F{"b.txt", 10, 3}, F{"A.txt", 9, 1}, F{"c.txt", 100, 2}}) {
        std::string p = dir.write(f.name, std::string(f.size, 'x'));
        SetLocalWriteTime(p, 2001, 5, f.day, 8, 0);
        int64_t size = 0;
        ASSERT_TRUE(list.AddFileItem(p, size));
    }
    // Size is the sort column from the start, so its first click reverses the direction.
    ClickColumn(form, list, 1);
    EXPECT_EQ(Column(list, 1), (Lines{"100", "10", "9"}));
    EXPECT_FALSE(list.SortAscending());
    ClickColumn(form, list, 1);
    EXPECT_EQ(Column(list, 1), (Lines{"9", "10", "100"}));
    ClickColumn(form, list, 0);
    EXPECT_EQ(Column(list, 1), (Lines{"9", "10", "100"})); // a.txt, b.txt, c.txt
    EXPECT_EQ(list.SortColumn(), 0);
    ClickColumn(form, list, 3);
    EXPECT_EQ(Column(list, 1), (Lines{"9", "100", "10"})); // days 1, 2, 3
    ClickColumn(form, list, 3);
    EXPECT_EQ(Column(list, 1), (Lines{"10", "100", "9"}));

    int clicked = -1;
    list.onColumnClick = [&](int column) { clicked = column; };
    ClickColumn(form, list, 1);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(Column(list, 1), (Lines{"10", "100", "9"}));
    form.close();
}

TEST(FileProperties, ShowsTheShellsPropertySheet) {
    TempDir dir;
    EXPECT_FALSE(scan::ShowFileProperties(dir.path() + "missing.txt", nullptr));
    std::string path = dir.write("notes.txt", "n");
    {
        testsupport::SheetCloser closer;
        EXPECT_TRUE(scan::ShowFileProperties(path, nullptr));
    }
    EXPECT_NE(testsupport::SheetCloser::caption().find("notes.txt"), std::string::npos)
        << testsupport::SheetCloser::caption();
}
