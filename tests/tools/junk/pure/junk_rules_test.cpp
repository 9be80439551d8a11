#include "tools/junk/pure/junk_rules.h"

#include <gtest/gtest.h>

using namespace tools::junk;

namespace {
textfmt::FormatSettings English() {
    return textfmt::FormatSettings{};
}
} // namespace

TEST(JunkDayLimit, DayCountIsANumberFromZeroTo999) {
    EXPECT_EQ(ParseDayCount("30"), 30);
    EXPECT_EQ(ParseDayCount("  7 "), 7);
    EXPECT_EQ(ParseDayCount("0"), 0);
    EXPECT_EQ(ParseDayCount("999"), 999);
    EXPECT_EQ(ParseDayCount("007"), 7);
    EXPECT_FALSE(ParseDayCount(""));
    EXPECT_FALSE(ParseDayCount("   "));
    EXPECT_FALSE(ParseDayCount("1000"));
    EXPECT_FALSE(ParseDayCount("-1"));
    EXPECT_FALSE(ParseDayCount("3 0"));
    EXPECT_FALSE(ParseDayCount("ten"));
}

TEST(JunkDayLimit, FilesAreListedOnceTheDaysHavePassedSinceTheirLastAccess) {
    const double today = textfmt::EncodeDate(2024, 5, 10);
    const double tenDaysAgo = today - 10 + textfmt::EncodeTime(15, 0, 0);
    EXPECT_TRUE(DayLimitExcludes(30, today, tenDaysAgo));
    EXPECT_TRUE(DayLimitExcludes(11, today, tenDaysAgo)); // 9.375 days
    EXPECT_FALSE(DayLimitExcludes(9, today, tenDaysAgo));
    EXPECT_FALSE(DayLimitExcludes(10, today, today - 10)); // exactly ten days: listed
    // An unreadable access date does not keep the file out.
    EXPECT_FALSE(DayLimitExcludes(30, today, 0));
    // Zero days is no limit, also for files accessed today or with a clock ahead.
    EXPECT_FALSE(DayLimitExcludes(0, today, today + textfmt::EncodeTime(9, 0, 0)));
    EXPECT_FALSE(DayLimitExcludes(0, today, today + 3));
    EXPECT_TRUE(DayLimitExcludes(1, today, today + textfmt::EncodeTime(9, 0, 0)));
}

TEST(JunkFolderTests, FolderTestsAreSubstringTestsOnTheFilesFolder) {
    EXPECT_EQ(FolderOf("C:\\TEMP\\a.tmp"), "C:\\TEMP\\");
    EXPECT_EQ(FolderOf("C:\\a.tmp"), "C:\\");
    EXPECT_EQ(FolderOf("a.tmp"), "");
    EXPECT_TRUE(FolderPathContains("C:\\TEMP\\", "C:\\TEMP\\"));
    EXPECT_TRUE(FolderPathContains("C:\\TEMP\\SUB\\", "C:\\TEMP\\"));
    EXPECT_TRUE(FolderPathContains("C:\\TEMP2\\", "C:\\TEMP"));
    EXPECT_FALSE(FolderPathContains("C:\\TEMP2\\", "C:\\TEMP\\"));
    EXPECT_FALSE(FolderPathContains("D:\\", "D:\\JUNK"));
    EXPECT_TRUE(FolderPathContains("D:\\JUNK\\OLD\\", "D:\\JUNK"));
    EXPECT_FALSE(FolderPathContains("C:\\ANY\\", ""));
}

TEST(JunkResultIndex, HoldsOneRowPerPathAndSixtyFourBitTotals) {
    ResultIndex index;
    EXPECT_TRUE(index.add("C:\\A.TMP", 3'000'000'000));
    EXPECT_FALSE(index.add("C:\\A.TMP", 5));
    EXPECT_TRUE(index.add("C:\\B.TMP", 2'000'000'000));
    EXPECT_TRUE(index.contains("C:\\B.TMP"));
    EXPECT_FALSE(index.contains("C:\\b.tmp")); // the caller folds the case
    EXPECT_EQ(index.count(), 2u);
    EXPECT_EQ(index.totalBytes(), 5'000'000'000);
    EXPECT_EQ(index.remove("C:\\A.TMP"), 3'000'000'000);
    EXPECT_FALSE(index.remove("C:\\A.TMP"));
    EXPECT_EQ(index.totalBytes(), 2'000'000'000);
    index.clear();
    EXPECT_EQ(index.count(), 0u);
    EXPECT_EQ(index.totalBytes(), 0);
}

TEST(JunkTexts, StatusAndLogLinesCarryBytesMegabytesAndFiles) {
    const auto fs = English();
    EXPECT_EQ(ScanningText("C:\\TEMP\\"), "Scanning: C:\\TEMP\\...");
    EXPECT_EQ(ScanCompleteText(1234567, 3, fs), "Scan Complete: 1,234,567 bytes (1.18 megabytes) found in 3 files.");
    EXPECT_EQ(ScanSummaryLine(0, 0, fs), "  0 bytes (0.00 megabytes) found in 0 files.");
    EXPECT_EQ(RecoveredText(1048576, 2, fs), "Total space recovered: 1,048,576 bytes (1.00 megabytes) in 2 files.");
    // Past 2 GiB the totals stay exact.
    EXPECT_EQ(RecoveredText(3'000'000'000, 1, fs),
              "Total space recovered: 3,000,000,000 bytes (2,861.02 megabytes) in 1 files.");
    EXPECT_EQ(ScannedLine("D:\\", false), "  Successfully scanned D:\\ for specified file types.");
    EXPECT_EQ(ScannedLine("D:\\", true), "  Successfully scanned D:\\ for zero length files.");
    EXPECT_EQ(RemovalLine(RemovalMethod::Recycle, "c:\\a.tmp", ""), "  Moving to recycle bin: c:\\a.tmp");
    EXPECT_EQ(RemovalLine(RemovalMethod::Delete, "c:\\a.tmp", "d:\\x"), "  Permanently deleting: c:\\a.tmp");
    EXPECT_EQ(RemovalLine(RemovalMethod::Move, "c:\\a.tmp", "D:\\JUNK"),
              "  Relocating file: c:\\a.tmp\r     To: D:\\JUNK");
    EXPECT_EQ(InUseLine("c:\\a.tmp"), "  Unable to remove \"c:\\a.tmp\".  This file is currently in use.");
    EXPECT_EQ(InUseHintText("c:\\a.tmp"), "The file: \"c:\\a.tmp\" was unable to be removed at this time as it is "
                                          "currently in use by Windows or its associated application.");
}

TEST(JunkCommands, ProgressAndCommandStatesFollowTheListAndTheScan) {
    EXPECT_EQ(ProgressMaximum(2, true, true, true), 6);
    EXPECT_EQ(ProgressMaximum(2, false, false, false), 2);
    EXPECT_EQ(ProgressMaximum(0, true, true, false), 1);

    auto none = ResultCommandStates(0, 0, false);
    EXPECT_FALSE(none.toolbarVisible);
    EXPECT_FALSE(none.removeAll);
    auto listed = ResultCommandStates(5, 0, false);
    EXPECT_TRUE(listed.toolbarVisible);
    EXPECT_TRUE(listed.removeAll);
    EXPECT_FALSE(listed.remove);
    EXPECT_FALSE(listed.selectAll);
    auto one = ResultCommandStates(5, 1, false);
    EXPECT_TRUE(one.remove && one.selectAll && one.quickView && one.properties);
    auto two = ResultCommandStates(5, 2, false);
    EXPECT_TRUE(two.remove && two.selectAll);
    EXPECT_FALSE(two.quickView || two.properties);
    auto scanning = ResultCommandStates(5, 1, true);
    EXPECT_FALSE(scanning.toolbarVisible || scanning.remove || scanning.removeAll || scanning.quickView);

    EXPECT_EQ(ListCommandStates(0, 0).checkAll, false);
    EXPECT_EQ(ListCommandStates(3, 0).checkAll, true);
    EXPECT_EQ(ListCommandStates(3, 0).edit, false);
    EXPECT_EQ(ListCommandStates(3, 1).remove, true);

    EXPECT_EQ(QuickViewerPath("C:\\WINDOWS\\SYSTEM"), "C:\\WINDOWS\\SYSTEM\\viewers\\QuikView.exe");
    EXPECT_EQ(QuickViewerPath("C:\\WINDOWS\\SYSTEM\\"), "C:\\WINDOWS\\SYSTEM\\viewers\\QuikView.exe");
}
