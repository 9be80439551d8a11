#include "app/pure/format.h"

#include <gtest/gtest.h>

using namespace textfmt;

namespace {
FormatSettings English() {
    return FormatSettings{};
}
FormatSettings German() {
    FormatSettings fs;
    fs.shortDateFormat = "dd.mm.yyyy";
    fs.longTimeFormat = "hh:nn:ss";
    fs.dateSeparator = ".";
    fs.thousandSeparator = ".";
    fs.decimalSeparator = ",";
    return fs;
}
} // namespace

TEST(DateTimeCodec, EpochAndKnownDatesRoundTrip) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 31), 36556.0);
    auto t = DecodeDateTime(36556.0 + EncodeTime(14, 5, 0));
    EXPECT_EQ(t.year, 2000);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.dayOfWeek, 1); // a Monday
}

TEST(DateTimeCodec, NegativeDatesKeepTheTimeAsMagnitudeOfTheFraction) {
    auto t = DecodeDateTime(-1.25);
    EXPECT_EQ(t.year, 1899);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 6);
}

TEST(DateTimeCodec, FractionRoundingUpToMidnightMovesToTheNextDay) {
    auto t = DecodeDateTime(EncodeDate(2020, 2, 28) + 0.99999999999);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 0);
}

TEST(DateTimeCodec, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 13), 0);
}

TEST(DateTimeText, CFormLeavesTheTimeOutAtExactlyMidnight) {
    auto fs = English();
    EXPECT_EQ(DateTimeToStr(EncodeDate(2000, 1, 31), fs), "1/31/2000");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2000, 1, 31, 14, 5, 9), fs), "1/31/2000 2:05:09 PM");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2000, 1, 31, 0, 0, 1), fs), "1/31/2000 12:00:01 AM");
}

TEST(DateTimeText, FileListFormatsGiveYearFirstAndMinutes) {
    auto fs = English();
    fs.shortDateFormat = "yyyy/mm/dd";
    fs.longTimeFormat = "hh:nn";
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2000, 1, 31, 14, 5, 0), fs), "2000/01/31 14:05");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2000, 1, 31), fs), "2000/01/31");
}

TEST(DateTimeText, SeparatorsComeFromTheLocale) {
    auto fs = German();
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2000, 1, 31, 14, 5, 0), fs), "31.01.2000 14:05:00");
    fs.shortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", EncodeDate(2000, 1, 31), fs), "2000.01.31");
}

TEST(DateTimeText, PicturesWithNamesQuotesAndMinutesAfterHours) {
    auto fs = English();
    double dt = EncodeDateTime(2000, 1, 31, 14, 5, 0);
    EXPECT_EQ(FormatDateTime("yyyy-mmm-dd", dt, fs), "2000-Jan-31");
    EXPECT_EQ(FormatDateTime("hh:mm:ss", dt, fs), "14:05:00");
    EXPECT_EQ(FormatDateTime("dddd 'at' h am/pm", dt, fs), "Monday at 2 pm");
    EXPECT_EQ(FormatDateTime("\"previous run on\" yyyy", dt, fs), "previous run on 2000");
}

TEST(NumberText, ThousandsSeparatorsForIntegers) {
    auto fs = English();
    EXPECT_EQ(FormatThousands(0, fs), "0");
    EXPECT_EQ(FormatThousands(999, fs), "999");
    EXPECT_EQ(FormatThousands(1048576, fs), "1,048,576");
    EXPECT_EQ(FormatThousands(-1234567, fs), "-1,234,567");
    EXPECT_EQ(FormatThousands(INT64_MIN, fs), "-9,223,372,036,854,775,808");
    EXPECT_EQ(FormatThousands(1234567, German()), "1.234.567");
}

TEST(NumberText, MegabytesWithTwoDecimals) {
    auto fs = English();
    EXPECT_EQ(FormatMegabytes(1048576, fs), "1.00");
    EXPECT_EQ(FormatMegabytes(1234567, fs), "1.18");
    EXPECT_EQ(FormatMegabytes(0, fs), "0.00");
    EXPECT_EQ(FormatMegabytes(int64_t(1024) * 1048576 * 3, fs), "3,072.00");
    EXPECT_EQ(FormatMegabytes(int64_t(5) * 1073741824 + 1, German()), "5.120,00");
}

TEST(NumberText, FixedNeverShowsMinusZero) {
    EXPECT_EQ(FormatFixed(-0.001, 2, English()), "0.00");
}

TEST(NumberText, FloatTextHasFifteenSignificantDigits) {
    auto fs = English();
    EXPECT_EQ(FloatText(1.0 / 3.0, fs), "0.333333333333333");
    EXPECT_EQ(FloatText(5, fs), "5");
    EXPECT_EQ(FloatText(0.333333333333485, fs), "0.333333333333485");
    EXPECT_EQ(FloatText(0.00001, fs), "1E-5");
    EXPECT_EQ(FloatText(0.5, German()), "0,5");
}

TEST(NumberText, ParsingAcceptsWhatIsWrittenAndRejectsTheRest) {
    double d = 0;
    EXPECT_TRUE(ParseFloat("0.333333333333485", d));
    EXPECT_DOUBLE_EQ(d, 0.333333333333485);
    EXPECT_TRUE(ParseFloat("0,5", d));
    EXPECT_DOUBLE_EQ(d, 0.5);
    EXPECT_FALSE(ParseFloat("abc", d));
    EXPECT_FALSE(ParseFloat("", d));
    int32_t i = 0;
    EXPECT_TRUE(ParseInt(" 42 ", i));
    EXPECT_EQ(i, 42);
    EXPECT_TRUE(ParseInt("-7", i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(ParseInt("4x", i));
    EXPECT_FALSE(ParseInt("2147483648", i));
    EXPECT_FALSE(ParseInt("", i));
}
