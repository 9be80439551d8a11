#pragma once
// The program's date, time and number formats, driven by locale settings but free of Win32 so
// that the rules are tested natively. The Win32 side fills ProcessFormats() from the user's locale.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace textfmt {

struct FormatSettings {
    // Date and time pictures in the program's token language: d dd ddd dddd, m mm mmm mmmm (minutes
    // after h), yy yyyy, h hh, n nn, s ss, z zzz, am/pm a/p ampm, "/" and ":" for the separators,
    // 'quoted' and "quoted" literals, c for short date + long time.
    std::string shortDateFormat = "m/d/yyyy";
    std::string longDateFormat = "dddd, mmmm d, yyyy";
    std::string shortTimeFormat = "h:nn AMPM";
    std::string longTimeFormat = "h:nn:ss AMPM";
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string thousandSeparator = ",";
    std::string decimalSeparator = ".";
    std::string timeAMString = "AM";
    std::string timePMString = "PM";
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                               "July",    "August",   "September", "October", "November", "December"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
};

// The formats in force for the whole process.
FormatSettings& ProcessFormats();
// Once a file list exists the process uses "yyyy/mm/dd" and "hh:nn" (separators stay the locale's).
void UseFileListFormats();
bool FileListFormatsInUse();

struct CivilDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int dayOfWeek = 6; // 0 = Sunday
};

// Date-time: days since 1899-12-30 00:00, the fraction being the time of day.
CivilDateTime DecodeDateTime(double dateTime);
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int millisecond = 0);
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

std::string FormatDateTime(std::string_view picture, double dateTime, const FormatSettings& fs = ProcessFormats());
// The "c" form: short date, a blank and the long time; the time is left out at exactly midnight.
std::string DateTimeToStr(double dateTime, const FormatSettings& fs = ProcessFormats());
std::string DateToStr(double dateTime, const FormatSettings& fs = ProcessFormats());
std::string TimeToStr(double dateTime, const FormatSettings& fs = ProcessFormats());

// 1234567 -> "1,234,567".
std::string FormatThousands(int64_t value, const FormatSettings& fs = ProcessFormats());
// Fixed decimals with thousands separators: 1234.5 -> "1,234.50".
std::string FormatFixed(double value, int decimals, const FormatSettings& fs = ProcessFormats());
// Bytes as megabytes (bytes / 1 048 576) with two decimals.
std::string FormatMegabytes(int64_t bytes, const FormatSettings& fs = ProcessFormats());
// Float text with 15 significant digits (general form): 1/3 -> "0.333333333333333".
std::string FloatText(double value, const FormatSettings& fs = ProcessFormats());
// Parses text written by FloatText (either decimal separator accepted); false when not a number.
bool ParseFloat(std::string_view text, double& out);
// Decimal integer text, optionally signed, surrounding blanks allowed; false when not a number
// or out of the 32-bit signed range.
bool ParseInt(std::string_view text, int32_t& out);

} // namespace textfmt
