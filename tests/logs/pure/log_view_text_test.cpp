#include "logs/pure/log_view_text.h"

#include <gtest/gtest.h>

using namespace logs;

TEST(LogViewText, ASmallLogIsShownWholeWithItsLineBreaksMadeCrLf) {
    EXPECT_EQ(ViewReadOffset(100, 4096), 0u);
    EXPECT_EQ(ViewReadOffset(4096, 4096), 0u);
    auto v = PrepareViewBytes("one\r\ntwo\nthree\rfour", 0);
    EXPECT_EQ(v.text, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(v.omitted, 0u);
}

TEST(LogViewText, NulBytesBecomeBlanksSoTheTextIsNotCutShort) {
    std::string bytes("ab\0\0cd\r\n", 8);
    auto v = PrepareViewBytes(bytes, 0);
    EXPECT_EQ(v.text, "ab  cd\r\n");
    // Bytes above 0x7F are left for the code page to decode.
    EXPECT_EQ(PrepareViewBytes("\x81\x8d\xff", 0).text, "\x81\x8d\xff");
}

TEST(LogViewText, ALargeLogIsShownFromTheFirstWholeLineOfItsEnd) {
    EXPECT_EQ(ViewReadOffset(10000, 4096), 10000u - 4096u);
    // The read started in the middle of "partial"; that line is dropped and counted as left out.
    auto v = PrepareViewBytes("tial line\r\nnext\r\nlast\r\n", 5000);
    EXPECT_EQ(v.text, "next\r\nlast\r\n");
    EXPECT_EQ(v.omitted, 5000u + 11u);
    // Starting between CR and LF drops only the LF.
    v = PrepareViewBytes("\nnext", 10);
    EXPECT_EQ(v.text, "next");
    EXPECT_EQ(v.omitted, 11u);
    // One endless line: kept from where the read started.
    v = PrepareViewBytes("xxxxxxxx", 10);
    EXPECT_EQ(v.text, "xxxxxxxx");
    EXPECT_EQ(v.omitted, 10u);
}

TEST(LogViewText, TheNoticeSaysHowMuchIsLeftOut) {
    EXPECT_EQ(OmittedNotice(1234567, {}),
              "[The first 1,234,567 bytes of this log are not shown here; the file itself is complete. Use \"View in "
              "Text Editor\" to see all of it.]\r\n");
}
