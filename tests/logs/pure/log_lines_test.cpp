#include "logs/pure/log_lines.h"

#include <gtest/gtest.h>

using namespace logs;

namespace {
textfmt::FormatSettings English() {
    return textfmt::FormatSettings{};
}
textfmt::FormatSettings German() {
    textfmt::FormatSettings fs;
    fs.thousandSeparator = ".";
    fs.decimalSeparator = ",";
    return fs;
}
} // namespace

TEST(SpaceLine, OneMegabyteInCommaAndPointLocale) {
    EXPECT_EQ(SpaceLine(1048576, English()), "TOTAL SPACE RECOVERED: 1,048,576 bytes (1.00 megabytes.)");
    EXPECT_EQ(SpaceLine(1572864, English()), "TOTAL SPACE RECOVERED: 1,572,864 bytes (1.50 megabytes.)");
}

TEST(SpaceLine, ZeroTotalsAndTheEraserRule) {
    EXPECT_EQ(SpaceLine(0, English()), "TOTAL SPACE RECOVERED: 0 bytes (0.00 megabytes.)");
    EXPECT_EQ(ZeroSpaceLine(), "TOTAL SPACE RECOVERED: 0.00 bytes (0.00 megabytes.)");
    EXPECT_EQ(SpaceOrZeroLine(0, German()), ZeroSpaceLine());
    EXPECT_EQ(SpaceOrZeroLine(-5, English()), ZeroSpaceLine());
    EXPECT_EQ(SpaceOrZeroLine(2048, English()), "TOTAL SPACE RECOVERED: 2,048 bytes (0.00 megabytes.)");
}

TEST(SpaceLine, TotalsPastTwoGibibytesShowTheTrueTotal) {
    EXPECT_EQ(SpaceLine(2147483648LL, English()), "TOTAL SPACE RECOVERED: 2,147,483,648 bytes (2,048.00 megabytes.)");
    EXPECT_EQ(SpaceLine(5LL * 1024 * 1024 * 1024 + 524288, English()),
              "TOTAL SPACE RECOVERED: 5,369,233,408 bytes (5,120.50 megabytes.)");
}

TEST(SpaceLine, UsesTheLocaleSeparators) {
    EXPECT_EQ(SpaceLine(1048576, German()), "TOTAL SPACE RECOVERED: 1.048.576 bytes (1,00 megabytes.)");
    EXPECT_EQ(SpaceLine(3221225472LL, German()), "TOTAL SPACE RECOVERED: 3.221.225.472 bytes (3.072,00 megabytes.)");
    textfmt::FormatSettings swiss;
    swiss.thousandSeparator = "'";
    EXPECT_EQ(SpaceLine(1234567890, swiss), "TOTAL SPACE RECOVERED: 1'234'567'890 bytes (1'177.38 megabytes.)");
}

TEST(LogLines, SeparatorAndDetail) {
    EXPECT_EQ(SeparatorLine(), "========================================");
    EXPECT_EQ(SeparatorLine().size(), 40u);
    EXPECT_EQ(DetailLine("Moving to recycle bin: C:\\a.tmp"), "  Moving to recycle bin: C:\\a.tmp");
}
