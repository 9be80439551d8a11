#include "tools/junk/pure/criteria.h"

#include <gtest/gtest.h>

#include "scan/pure/sorted_text.h"

using namespace tools::junk;
using Entries = std::vector<StoredEntry>;
using Types = std::vector<FileType>;

TEST(JunkCriteria, DefaultsAreTheThirteenCheckedTypesInTheirStoredForm) {
    const auto& types = DefaultFileTypes();
    ASSERT_EQ(types.size(), 13u);
    for (const auto& t : types)
        EXPECT_TRUE(t.checked) << t.pattern;
    EXPECT_EQ(types.front(), (FileType{"*.~*", "Temporary Files", true}));
    EXPECT_EQ(types[11], (FileType{"mscreate.dir", "Temporary directory information", true}));
    EXPECT_EQ(types.back(), (FileType{"0???????.nch", "Temporary cached newsgroup data", true}));
    EXPECT_EQ(DefaultScanFor(), "*.~*,1,~*.*,1,*.??~,1,*.---,1,*.tmp,1,*._mp,1,*.old,1,*.bak,1,*.syd,1,*.chk,1,*.gid,1,"
                                "mscreate.dir,1,0???????.nch,1,");
    EXPECT_EQ(
        DefaultScanDesc(),
        "Temporary Files,1,Temporary Files,1,Temporary Files,1,Temporary Files,1,Temporary Files,1,Temporary "
        "Files,1,Temporary backup files,1,Temporary backup files,1,Temporary backup files,1,Saved disk error data "
        "from scandisk,1,Temporary help file search data,1,Temporary directory information,1,Temporary cached "
        "newsgroup data,1,");
    EXPECT_EQ(ReadFileTypes(DefaultScanFor(), DefaultScanDesc()), types);
}

TEST(JunkCriteria, UncheckedAndEmptyRowsComeBackAsTheyWereWritten) {
    const Types types{{"*.tmp", "Temporary Files", true}, {"*.log", "Logs", false}, {"", "Edited to nothing", true}};
    const std::string scanFor = WriteScanFor(types);
    const std::string scanDesc = WriteScanDesc(types);
    EXPECT_EQ(scanFor, "*.tmp,1,*.log,0,,1,");
    EXPECT_EQ(scanDesc, "Temporary Files,1,Logs,0,Edited to nothing,1,");
    EXPECT_EQ(ReadFileTypes(scanFor, scanDesc), types);
}

TEST(JunkCriteria, StoredListReadingStopsWhereAnEntryLacksItsComma) {
    EXPECT_EQ(ParseStoredList(""), Entries{});
    EXPECT_EQ(ParseStoredList("*.tmp,1,*.bak,0,"), (Entries{{"*.tmp", true}, {"*.bak", false}}));
    // No final comma: the last entry is still read, and the reading ends.
    EXPECT_EQ(ParseStoredList("*.tmp,1,*.bak,1"), (Entries{{"*.tmp", true}, {"*.bak", true}}));
    // A text with no comma at all has no flag: it is dropped.
    EXPECT_EQ(ParseStoredList("*.tmp,1,*.bak"), (Entries{{"*.tmp", true}}));
    EXPECT_EQ(ParseStoredList("*.tmp"), Entries{});
    // A comma with nothing after it: the entry is there, unchecked.
    EXPECT_EQ(ParseStoredList("*.tmp,"), (Entries{{"*.tmp", false}}));
    // Only the first character of the flag counts; anything but "1" is unchecked.
    EXPECT_EQ(ParseStoredList("a,10,b,x,c,True,"), (Entries{{"a", true}, {"b", false}, {"c", false}}));
    EXPECT_EQ(ParseStoredList(",1,,0,"), (Entries{{"", true}, {"", false}}));
}

TEST(JunkCriteria, DescriptionsPairWithRowsByPositionAndTheirFlagsAreIgnored) {
    // Surplus descriptions are not used, missing ones leave the row without one.
    EXPECT_EQ(ReadFileTypes("a,1,b,0,", "first,0,second,1,third,1,"),
              (Types{{"a", "first", true}, {"b", "second", false}}));
    EXPECT_EQ(ReadFileTypes("a,1,b,0,", "only,1,"), (Types{{"a", "only", true}, {"b", "", false}}));
    EXPECT_EQ(ReadFileTypes("", "orphan,1,"), Types{});
}

TEST(JunkCriteria, CommasAreRefusedInPatternsAndDescriptions) {
    EXPECT_FALSE(StoredTextProblem("*.tmp", true));
    EXPECT_FALSE(StoredTextProblem("", true));
    EXPECT_FALSE(StoredTextProblem("Odd \"quoted\" text; fine", false));
    EXPECT_TRUE(StoredTextProblem("*.a,*.b", true));
    EXPECT_TRUE(StoredTextProblem("one, two", false));
    // What a refused comma would have done to the stored list on the next read.
    EXPECT_NE(ReadFileTypes(WriteScanFor({{"*.a,*.b", "x", false}}), ""), (Types{{"*.a,*.b", "", false}}));
}

TEST(JunkCriteria, MaskTextHoldsTheCheckedPatternsEachAsOneMask) {
    EXPECT_EQ(BuildMaskText({}), "");
    EXPECT_EQ(BuildMaskText({{"*.tmp", "", false}}), "");
    EXPECT_EQ(BuildMaskText({{"*.tmp", "", true}, {"*.old", "", false}, {"~*.*", "", true}}), "*.tmp,~*.*");
    // Blanks around a pattern are typing slips; a blank inside one is part of the name.
    const std::string text = BuildMaskText({{"  *.bak ", "", true}, {"my file.tmp", "", true}, {"a\"b", "", true}});
    EXPECT_EQ(scan::ParseCommaText(text), (std::vector<std::string>{"*.bak", "my file.tmp", "a\"b"}));
    // An empty checked pattern stays an empty mask, which the scan treats as "no file types".
    EXPECT_EQ(scan::ParseCommaText(BuildMaskText({{"", "", true}, {"*.tmp", "", true}})),
              (std::vector<std::string>{"", "*.tmp"}));
    EXPECT_EQ(scan::ParseCommaText(BuildMaskText({{"", "", true}})), (std::vector<std::string>{""}));
    // Also as the last checked row.
    EXPECT_EQ(scan::ParseCommaText(BuildMaskText({{"*.tmp", "", true}, {" ", "", true}, {"*.x", "", false}})),
              (std::vector<std::string>{"*.tmp", ""}));
}

TEST(JunkCriteria, DriveLettersComeFromCaptionsAndTheStoredValue) {
    EXPECT_EQ(LetterBeforeFirstColon("Local Disk (C:)"), 'C');
    EXPECT_EQ(LetterBeforeFirstColon("Backup: Disk (E:)"), 'p'); // the first colon decides
    EXPECT_FALSE(LetterBeforeFirstColon("No drive"));
    EXPECT_FALSE(LetterBeforeFirstColon(":"));

    EXPECT_FALSE(StoredDriveChecked(kDefaultDrives, 3, 'C'));
    EXPECT_TRUE(StoredDriveChecked("D", 3, 'D'));
    EXPECT_FALSE(StoredDriveChecked("D", 3, 'C'));
    EXPECT_TRUE(StoredDriveChecked("cd", 3, 'D'));
    // Only as many letters as there are rows are looked at.
    EXPECT_TRUE(StoredDriveChecked("CDE", 2, 'D'));
    EXPECT_FALSE(StoredDriveChecked("CDE", 2, 'E'));
    EXPECT_FALSE(StoredDriveChecked("", 5, 'C'));
}
