#include "scan/pure/scan_rules.h"

#include <gtest/gtest.h>

using namespace scan;

TEST(InitialDirectory, EndsInExactlyOneBackslash) {
    EXPECT_EQ(NormaliseInitialDirectory("C:"), "C:\\");
    EXPECT_EQ(NormaliseInitialDirectory("C:\\"), "C:\\");
    EXPECT_EQ(NormaliseInitialDirectory("C:\\TEMP"), "C:\\TEMP\\");
    EXPECT_EQ(NormaliseInitialDirectory("C:\\TEMP\\"), "C:\\TEMP\\");
    EXPECT_EQ(NormaliseInitialDirectory("\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(NormaliseInitialDirectory("\\"), "\\");
    EXPECT_EQ(NormaliseInitialDirectory("sub"), "sub\\");
}

TEST(ShellOpFlags, SharedInstanceSettingsGiveTheKnownFlags) {
    ShellOpOptions shared{true, true, false, true, false, false};
    EXPECT_EQ(ShellOpFlags(shared, ShellOpKind::Delete, true), 0xD4u);
    EXPECT_EQ(ShellOpFlags(shared, ShellOpKind::Delete, false), 0x94u);
    EXPECT_EQ(ShellOpFlags(shared, ShellOpKind::Move, false), 0x9Cu);
}

TEST(ShellOpFlags, EachOptionAddsItsFlagAndMoveOnlyOnesStayOffDeletes) {
    EXPECT_EQ(ShellOpFlags({}, ShellOpKind::Delete, false), kFofSilent);
    ShellOpOptions animated;
    animated.animate = true;
    EXPECT_EQ(ShellOpFlags(animated, ShellOpKind::Delete, false), 0u);
    animated.hasProgressTitle = true;
    EXPECT_EQ(ShellOpFlags(animated, ShellOpKind::Delete, false), kFofSimpleProgress);
    ShellOpOptions moveOnly;
    moveOnly.animate = true;
    moveOnly.autoMakeDir = true;
    moveOnly.renameOnCollision = true;
    EXPECT_EQ(ShellOpFlags(moveOnly, ShellOpKind::Delete, false), 0u);
    EXPECT_EQ(ShellOpFlags(moveOnly, ShellOpKind::Move, false), kFofNoConfirmMkDir | kFofRenameOnCollision);
}

TEST(CollisionName, NumberGoesBeforeTheExtension) {
    EXPECT_EQ(CollisionName("x.txt", 2, false), "x (2).txt");
    EXPECT_EQ(CollisionName("archive.tar.gz", 3, false), "archive.tar (3).gz");
    EXPECT_EQ(CollisionName("readme", 2, false), "readme (2)");
    EXPECT_EQ(CollisionName(".profile", 2, false), ".profile (2)");
    EXPECT_EQ(CollisionName("old.stuff", 2, true), "old.stuff (2)");
}

TEST(DriveCaptions, LetterAndRootFollowTheParenthesisConvention) {
    EXPECT_EQ(DriveLetterOfCaption("Local Disk (C:)"), 'C');
    EXPECT_EQ(DriveLetterOfCaption(" (z:)"), 'Z');
    EXPECT_EQ(DriveLetterOfCaption("CD (D:) extra (E:)"), 'D');
    EXPECT_FALSE(DriveLetterOfCaption("Local Disk C:").has_value());
    EXPECT_FALSE(DriveLetterOfCaption("Disk (C)").has_value());
    EXPECT_FALSE(DriveLetterOfCaption("").has_value());
    EXPECT_EQ(DriveRootOfCaption("Local Disk (C:)"), "C:\\");
    EXPECT_EQ(DriveRootOfCaption("ab"), "");
}

TEST(AttributeText, FourPlacesInFixedOrder) {
    EXPECT_EQ(AttributeText(true, false, false, true), "R  A");
    EXPECT_EQ(AttributeText(false, true, true, false), " HS ");
    EXPECT_EQ(AttributeText(false, false, false, false), "    ");
}

TEST(DateTimeReading, ReadsTheFileListForm) {
    textfmt::FormatSettings fs;
    fs.shortDateFormat = "yyyy/mm/dd";
    fs.longTimeFormat = "hh:nn";
    double when = textfmt::EncodeDateTime(2000, 1, 31, 14, 5, 0);
    ASSERT_EQ(textfmt::DateTimeToStr(when, fs), "2000/01/31 14:05");
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2000/01/31 14:05", fs).value(), when);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2000/01/31", fs).value(), textfmt::EncodeDate(2000, 1, 31));
    EXPECT_FALSE(ParseDateTimeText("2000/02/30 10:00", fs).has_value());
    EXPECT_FALSE(ParseDateTimeText("not a date", fs).has_value());
    EXPECT_FALSE(ParseDateTimeText("", fs).has_value());
    EXPECT_FALSE(ParseDateTimeText("2000/01/31 25:00", fs).has_value());
}

TEST(DateTimeReading, FollowsTheDateOrderAndTwelveHourClock) {
    textfmt::FormatSettings us; // m/d/yyyy and h:nn:ss AMPM
    double when = textfmt::EncodeDateTime(1999, 12, 3, 0, 30, 15);
    std::string text = textfmt::DateTimeToStr(when, us);
    EXPECT_DOUBLE_EQ(ParseDateTimeText(text, us).value(), when);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("12/3/1999 1:00:00 PM", us).value(),
                     textfmt::EncodeDateTime(1999, 12, 3, 13, 0, 0));
    textfmt::FormatSettings de;
    de.shortDateFormat = "dd.mm.yyyy";
    EXPECT_DOUBLE_EQ(ParseDateTimeText("03.12.1999", de).value(), textfmt::EncodeDate(1999, 12, 3));
}

TEST(FileListOrder, SizesAsNumbersDatesAsDatesOtherColumnsAsText) {
    textfmt::FormatSettings fs;
    fs.shortDateFormat = "yyyy/mm/dd";
    fs.longTimeFormat = "hh:nn";
    const double now = textfmt::EncodeDate(2001, 6, 1);
    TextCompare text = AsciiCompareText;
    EXPECT_LT(CompareFileListColumn(1, "9", "10", text, now, fs), 0);
    EXPECT_EQ(CompareFileListColumn(1, "x", "0", text, now, fs), 0);
    EXPECT_GT(CompareFileListColumn(1, "5", "abc", text, now, fs), 0);
    EXPECT_LT(CompareFileListColumn(3, "1999/12/31 23:59", "2000/01/01", text, now, fs), 0);
    EXPECT_EQ(CompareFileListColumn(3, "garbage", "2001/06/01", text, now, fs), 0);
    EXPECT_GT(CompareFileListColumn(3, "garbage", "2001/05/31", text, now, fs), 0);
    EXPECT_EQ(CompareFileListColumn(0, "C:\\A.TXT", "c:\\a.txt", text, now, fs), 0);
    EXPECT_LT(CompareFileListColumn(2, "Text Document", "tmp file", text, now, fs), 0);
    EXPECT_LT(CompareFileListColumn(5, "10.0", "9.0", text, now, fs), 0);
}

TEST(VersionQuery, LanguageAndCodePageAsLowerCaseHex) {
    EXPECT_EQ(VersionStringQuery(0x0409, 0x04B0, "FileVersion"), "\\StringFileInfo\\040904b0\\FileVersion");
    EXPECT_EQ(VersionStringQuery(0x0C0A, 0x04E4, "ProductVersion"), "\\StringFileInfo\\0c0a04e4\\ProductVersion");
}
