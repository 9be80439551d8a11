#include "sched/pure/schedule_calc.h"

#include <gtest/gtest.h>

#include <limits>

using namespace sched;
using textfmt::EncodeDate;
using textfmt::EncodeDateTime;

namespace {
std::string Text(double dt) {
    textfmt::FormatSettings fs;
    fs.shortDateFormat = "yyyy/mm/dd";
    fs.longTimeFormat = "hh:nn:ss.zzz";
    return textfmt::DateTimeToStr(dt, fs);
}
} // namespace

TEST(NextRun, MinutesAndHours) {
    double base = EncodeDateTime(2024, 3, 10, 10, 17, 45);
    EXPECT_EQ(Text(*NextRun(kEveryMinutes, "15", base)), "2024/03/10 10:32:45.000");
    // Type 1 keeps the seconds of base + H hours and replaces the minute.
    EXPECT_EQ(Text(*NextRun(kEveryHours, "5|30", base)), "2024/03/10 15:30:45.000");
    EXPECT_EQ(Text(*NextRun(kEveryHours, "20|5", base)), "2024/03/11 06:05:45.000");
}

TEST(NextRun, DaysAtATimeOfDayInEitherDecimalSeparator) {
    double base = EncodeDateTime(2024, 2, 27, 23, 0, 0);
    EXPECT_EQ(Text(*NextRun(kEveryDays, "5|0.333333333333485", base)), "2024/03/03 08:00:00.000");
    EXPECT_EQ(Text(*NextRun(kEveryDays, "1|0,5", base)), "2024/02/28 12:00:00.000");
}

TEST(NextRun, WeeksMoveForwardToTheWeekday) {
    double monday = EncodeDateTime(2024, 3, 11, 9, 30, 0);
    double tuesday = EncodeDateTime(2024, 3, 12, 9, 30, 0);
    EXPECT_EQ(Text(*NextRun(kEveryWeeks, "1|1", monday)), "2024/03/18");
    EXPECT_EQ(Text(*NextRun(kEveryWeeks, "1|1", tuesday)), "2024/03/25"); // 13 days later
    EXPECT_THROW(NextRun(kEveryWeeks, "1|7", monday), ParamsError);
}

TEST(NextRun, MonthsClampTheDay) {
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "1|15", EncodeDate(2023, 1, 31))), "2023/02/15");
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "1|31", EncodeDate(2024, 1, 31))), "2024/02/29");
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "1|31", EncodeDate(2023, 3, 5))), "2023/04/30");
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "13|1", EncodeDate(2023, 12, 5))), "2025/01/01");
}

TEST(NextRun, OtherTypesHaveNoTimeAndCorruptParamsFail) {
    EXPECT_FALSE(NextRun(kAtWindowsStart, "", 100).has_value());
    EXPECT_FALSE(NextRun(kAtWindowsShutdown, "", 100).has_value());
    EXPECT_FALSE(NextRun(9, "1", 100).has_value());
    EXPECT_THROW(NextRun(kEveryMinutes, "abc", 100), ParamsError);
    EXPECT_THROW(NextRun(kEveryHours, "5", 100), ParamsError);
    EXPECT_THROW(NextRun(kEveryDays, "5|x", 100), ParamsError);
}

TEST(ScheduleText, EveryTypeReadsAsTheLabelShowsIt) {
    textfmt::FormatSettings fs;
    EXPECT_EQ(ScheduleText(0, "10", fs), "Every 10 Minutes");
    EXPECT_EQ(ScheduleText(1, "5|30", fs), "Every 5 Hours at 30 minutes after the hour");
    EXPECT_EQ(ScheduleText(2, "5|0.333333333333485", fs), "Every 5 Days at 8:00 AM");
    EXPECT_EQ(ScheduleText(3, "2|3", fs), "Every 2 Weeks at starting on Wednesday");
    EXPECT_EQ(ScheduleText(4, "1|15", fs), "Every 1 Months starting on day 15");
    EXPECT_EQ(ScheduleText(5, "", fs), "When Windows is Started");
    EXPECT_EQ(ScheduleText(6, "", fs), "When Windows is Shut Down");
    EXPECT_EQ(ScheduleText(7, "", fs), "");
}

TEST(DefaultSchedule, ThirdOfADayAsASixByteRealGivesTheStoredText) {
    textfmt::FormatSettings fs;
    EXPECT_EQ(DefaultParams(fs), "5|0.333333333333485");
    fs.decimalSeparator = ",";
    EXPECT_EQ(DefaultParams(fs), "5|0,333333333333485");
}

TEST(NextRun, CountsBelowOneAndOutOfRangeNumbersAreCorrupt) {
    double base = EncodeDateTime(2024, 3, 10, 10, 0, 0);
    // A zero interval would make the task due again at once, for ever.
    EXPECT_THROW(NextRun(kEveryMinutes, "0", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryHours, "-1|30", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryHours, "1|60", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryDays, "0|0.5", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryDays, "1|nan", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryWeeks, "0|1", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryMonths, "1|0", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryMonths, "1|32", base), ParamsError);
    EXPECT_THROW(NextRun(kEveryMonths, "", base), ParamsError);
}

TEST(NextRun, BasesAndResultsOutsideTheCalendarFail) {
    EXPECT_THROW(NextRun(kEveryMinutes, "5", std::numeric_limits<double>::quiet_NaN()), ScheduleError);
    EXPECT_THROW(NextRun(kEveryMinutes, "5", 1e300), ScheduleError);
    EXPECT_THROW(NextRun(kEveryMonths, "2147483647|1", EncodeDate(2024, 1, 1)), ScheduleError);
    EXPECT_THROW(NextRun(kEveryDays, "2147483647|0.5", EncodeDate(2024, 1, 1)), ScheduleError);
    EXPECT_TRUE(ValidDateTime(EncodeDate(9999, 12, 31)));
    EXPECT_FALSE(ValidDateTime(EncodeDate(9999, 12, 31) + 1));
    EXPECT_TRUE(ValidDateTime(EncodeDate(1, 1, 1)));
    EXPECT_FALSE(ValidDateTime(std::numeric_limits<double>::infinity()));
}

TEST(NextRun, HoursCrossMidnightAndKeepTheirSeconds) {
    double base = EncodeDateTime(2024, 12, 31, 22, 59, 59, 250);
    EXPECT_EQ(Text(*NextRun(kEveryHours, "2|0", base)), "2025/01/01 00:00:59.250");
}

TEST(NextRun, WeeksOnTheBaseWeekdayLandExactlyWWeeksLaterAtMidnight) {
    double sunday = EncodeDateTime(2024, 3, 10, 23, 59, 0);
    EXPECT_EQ(Text(*NextRun(kEveryWeeks, "2|0", sunday)), "2024/03/24");
    EXPECT_EQ(Text(*NextRun(kEveryWeeks, "1|6", sunday)), "2024/03/23"); // the Saturday after
}

TEST(NextRun, MonthsAcrossTheYearEndAndLeapDays) {
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "1|31", EncodeDateTime(2024, 12, 31, 18, 0, 0))), "2025/01/31");
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "12|29", EncodeDate(2023, 2, 28))), "2024/02/29");
    EXPECT_EQ(Text(*NextRun(kEveryMonths, "12|29", EncodeDate(2024, 2, 29))), "2025/02/28");
}

TEST(ScheduleText, NumbersAreShownAsStoredButMustBeNumbers) {
    textfmt::FormatSettings fs;
    EXPECT_EQ(ScheduleText(0, "05", fs), "Every 05 Minutes");
    EXPECT_THROW(ScheduleText(0, "abc", fs), ParamsError);
    EXPECT_THROW(ScheduleText(1, "5|x", fs), ParamsError);
    EXPECT_THROW(ScheduleText(2, "5|", fs), ParamsError);
    EXPECT_THROW(ScheduleText(3, "1|9", fs), ParamsError);
    EXPECT_THROW(ScheduleText(4, "z|1", fs), ParamsError);
    fs.shortTimeFormat = "hh:nn";
    EXPECT_EQ(ScheduleText(2, "3|0,75", fs), "Every 3 Days at 18:00");
}
