#include "scan/pure/sorted_text.h"

#include <gtest/gtest.h>

using scan::ParseCommaText;
using scan::SortedTextList;
using scan::ToCommaText;
using Entries = std::vector<std::string>;

TEST(SortedText, KeepsCaseInsensitiveOrderAndDropsDuplicates) {
    SortedTextList list;
    EXPECT_TRUE(list.add("*.TMP"));
    EXPECT_TRUE(list.add("~*.*"));
    EXPECT_TRUE(list.add("*.bak"));
    EXPECT_FALSE(list.add("*.tmp"));
    EXPECT_EQ(list.items(), (Entries{"*.bak", "*.TMP", "~*.*"}));
    EXPECT_TRUE(list.contains("*.Tmp"));
    EXPECT_FALSE(list.contains("*.old"));
}

TEST(SortedText, UsesTheComparisonItIsGiven) {
    SortedTextList exact([](std::string_view a, std::string_view b) { return a.compare(b); });
    EXPECT_TRUE(exact.add("b"));
    EXPECT_TRUE(exact.add("B"));
    EXPECT_EQ(exact.items(), (Entries{"B", "b"}));
}

TEST(CommaText, ParsesEntriesQuotesBlanksAndEmptyEntries) {
    EXPECT_EQ(ParseCommaText(""), Entries{});
    EXPECT_EQ(ParseCommaText("   "), Entries{});
    EXPECT_EQ(ParseCommaText("*.tmp,*.bak"), (Entries{"*.tmp", "*.bak"}));
    EXPECT_EQ(ParseCommaText("  *.tmp ,\t *.bak  "), (Entries{"*.tmp", "*.bak"}));
    EXPECT_EQ(ParseCommaText("a,,b"), (Entries{"a", "", "b"}));
    EXPECT_EQ(ParseCommaText(",a"), (Entries{"", "a"}));
    EXPECT_EQ(ParseCommaText("a,"), (Entries{"a"}));
    // An unquoted entry ends at a blank; what follows is the next entry.
    EXPECT_EQ(ParseCommaText("my file.txt"), (Entries{"my", "file.txt"}));
    EXPECT_EQ(ParseCommaText("\"my file.txt\",x"), (Entries{"my file.txt", "x"}));
    EXPECT_EQ(ParseCommaText("\"say \"\"hi\"\"\""), (Entries{"say \"hi\""}));
    EXPECT_EQ(ParseCommaText("\"a,b\""), (Entries{"a,b"}));
    EXPECT_EQ(ParseCommaText("\"\""), (Entries{""}));
    // An unclosed quote runs to the end of the text, keeping its last character.
    EXPECT_EQ(ParseCommaText("\"open end"), (Entries{"open end"}));
    EXPECT_EQ(ParseCommaText(std::string_view("a,b\0,c", 6)), (Entries{"a", "b"}));
}

TEST(CommaText, WritesWhatItReadsBack) {
    EXPECT_EQ(ToCommaText({}), "");
    EXPECT_EQ(ToCommaText({"*.tmp", "*.bak"}), "*.tmp,*.bak");
    EXPECT_EQ(ToCommaText({"my file", "a,b", "q\"t"}), "\"my file\",\"a,b\",\"q\"\"t\"");
    EXPECT_EQ(ToCommaText({""}), "\"\"");
    EXPECT_EQ(ToCommaText({"", "a"}), ",a");
    for (const Entries& e : {Entries{""}, Entries{"", "a"}, Entries{"my file", "tab\there", "\"q\"", "x"}})
        EXPECT_EQ(ParseCommaText(ToCommaText(e)), e);
}
