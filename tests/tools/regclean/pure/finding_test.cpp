#include "tools/regclean/pure/finding.h"

#include <gtest/gtest.h>

using namespace tools::regclean;

TEST(FindingTexts, ColumnsShowRootAndPathThenTimeNameAndData) {
    Finding f{"HKEY_CURRENT_USER", "\\Software\\Acme\\Paths",     "03/07/2024 02:05PM", "Path",
              "C:\\GONE\\x.exe",   FindingKind::RegistryReference};
    EXPECT_EQ(ColumnTexts(f), (std::vector<std::string>{"HKEY_CURRENT_USER: \\Software\\Acme\\Paths",
                                                        "03/07/2024 02:05PM", "Path", "C:\\GONE\\x.exe"}));
}

TEST(FindingTexts, LastModificationUsesTwelveHourClockWithLeadingZeros) {
    EXPECT_EQ(FormatLastModification(2024, 3, 7, 14, 5), "03/07/2024 02:05PM");
    EXPECT_EQ(FormatLastModification(1999, 12, 31, 0, 0), "12/31/1999 12:00AM");
    EXPECT_EQ(FormatLastModification(2001, 1, 2, 12, 30), "01/02/2001 12:30PM");
    EXPECT_EQ(FormatLastModification(2001, 1, 2, 11, 59), "01/02/2001 11:59AM");
    EXPECT_EQ(FormatLastModification(2001, 1, 2, 23, 1), "01/02/2001 11:01PM");
}

TEST(FindingKeyParsing, RootBeforeTheFirstColonAndPathAbsolute) {
    auto cu = ParseFindingKey("HKEY_CURRENT_USER: \\Software\\Acme");
    EXPECT_EQ(cu.rootName, "HKEY_CURRENT_USER");
    EXPECT_EQ(cu.keyPath, "\\Software\\Acme");
    auto lm = ParseFindingKey("HKEY_LOCAL_MACHINE: Software\\Acme");
    EXPECT_EQ(lm.rootName, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(lm.keyPath, "\\Software\\Acme");
    // Key names may hold colons of their own; only the first one ends the root.
    auto odd = ParseFindingKey("HKEY_USERS: \\S-1\\a: b:c");
    EXPECT_EQ(odd.rootName, "HKEY_USERS");
    EXPECT_EQ(odd.keyPath, "\\S-1\\a: b:c");
    auto dll = ParseFindingKey(std::string("HKEY_LOCAL_MACHINE: ") + kSharedDllsPath);
    EXPECT_EQ(dll.keyPath, std::string("\\") + kSharedDllsPath);
}

TEST(FindingKeyParsing, MalformedTextsGiveNoRoot) {
    EXPECT_EQ(ParseFindingKey("no colon").rootName, "");
    EXPECT_EQ(ParseFindingKey("HKEY_USERS:").keyPath, "\\");
}

TEST(RemovalTexts, QuestionDependsOnTheNumberOfRows) {
    EXPECT_EQ(RemoveSelectedQuestion(1), "Are you sure you want to remove selected entry from the Registry?");
    EXPECT_EQ(RemoveSelectedQuestion(2), "Are you sure you want to remove 2 selected entries from the Registry?");
    EXPECT_EQ(KeyLogLine("HKEY_CURRENT_USER", "\\Software\\Acme"), "      KEY: HKEY_CURRENT_USER\\Software\\Acme");
    EXPECT_EQ(ValueLogLine(""), "      VALUE: ");
    EXPECT_EQ(ScanCompleteLine(3), "  Scan complete. 3 invalid references found.");
    EXPECT_EQ(RemovedCountLine(0), "NUMBER OF INVALID REFERENCES REMOVED: 0");
}

TEST(RemovalSelection, TheRowAboveTheLastRemovedPlaceElseTheRowNowThere) {
    // r1..r5 with r2 and r4 removed: r4 was at index 2 when it went; r3 (index 1) is chosen.
    EXPECT_EQ(NeighbourAfterRemoval(2, 3), 1);
    EXPECT_EQ(NeighbourAfterRemoval(0, 4), 0);
    EXPECT_EQ(NeighbourAfterRemoval(0, 0), -1);
    EXPECT_EQ(NeighbourAfterRemoval(5, 2), 1);
}

TEST(ColumnWidthRule, FirstColumnTakesTheRestOnlyBeyondSeventyPixels) {
    EXPECT_EQ(FirstColumnWidth(600, {100, 100, 100}), 296);
    EXPECT_EQ(FirstColumnWidth(371, {100, 100, 100}), 67);
    EXPECT_FALSE(FirstColumnWidth(370, {100, 100, 100}).has_value());
    EXPECT_FALSE(FirstColumnWidth(200, {100, 100, 100}).has_value());
}

TEST(ScanAreas, FourRowsInTheirOrder) {
    ASSERT_EQ(kScanAreas.size(), 4u);
    EXPECT_STREQ(kScanAreas[0].storedAs, "CU");
    EXPECT_STREQ(kScanAreas[1].storedAs, "US");
    EXPECT_STREQ(kScanAreas[2].storedAs, "LM");
    EXPECT_STREQ(kScanAreas[3].storedAs, "SD");
    EXPECT_STREQ(kScanAreas[3].location, "Invalid shared DLL's");
    EXPECT_STREQ(kScanAreas[3].rootName, "HKEY_LOCAL_MACHINE");
    EXPECT_STREQ(kScanAreas[3].logLine, "  Analyzing: Shared DLL References...");
}
