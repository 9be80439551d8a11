#include "app/pure/locale_pictures.h"

#include <gtest/gtest.h>

#include "app/pure/format.h"

using namespace textfmt;

namespace {
const double kAfternoon = EncodeDateTime(2000, 1, 31, 14, 5, 9); // a Monday
const double kMorning = EncodeDateTime(2009, 3, 7, 9, 3, 7);

// The process formats a locale would give: its pictures converted, its separators as reported.
FormatSettings Locale(std::string_view shortDate, std::string_view dateSep, std::string_view longTime,
                      std::string_view timeSep) {
    FormatSettings fs;
    fs.shortDateFormat = DatePictureFromWindows(shortDate, dateSep);
    fs.longTimeFormat = TimePictureFromWindows(longTime, timeSep);
    fs.dateSeparator = dateSep;
    fs.timeSeparator = timeSep;
    return fs;
}
} // namespace

TEST(LocalePictures, EnglishUnitedStates) {
    EXPECT_EQ(DatePictureFromWindows("M/d/yyyy", "/"), "m/d/yyyy");
    EXPECT_EQ(TimePictureFromWindows("h:mm:ss tt", ":"), "h:nn:ss AMPM");
    auto fs = Locale("M/d/yyyy", "/", "h:mm:ss tt", ":");
    EXPECT_EQ(DateTimeToStr(kAfternoon, fs), "1/31/2000 2:05:09 PM");
    EXPECT_EQ(DateTimeToStr(kMorning, fs), "3/7/2009 9:03:07 AM");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2009, 3, 7), fs), "3/7/2009");
}

TEST(LocalePictures, GermanUsesDotsAndTheTwentyFourHourClock) {
    EXPECT_EQ(DatePictureFromWindows("dd.MM.yyyy", "."), "dd/mm/yyyy");
    EXPECT_EQ(TimePictureFromWindows("HH:mm:ss", ":"), "hh:nn:ss");
    auto fs = Locale("dd.MM.yyyy", ".", "HH:mm:ss", ":");
    EXPECT_EQ(DateTimeToStr(kAfternoon, fs), "31.01.2000 14:05:09");
    EXPECT_EQ(DateTimeToStr(kMorning, fs), "07.03.2009 09:03:07");
    // The program's own pictures then follow the locale's separator.
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", kMorning, fs), "2009.03.07 09:03");
}

TEST(LocalePictures, Japanese) {
    EXPECT_EQ(DatePictureFromWindows("yyyy/MM/dd", "/"), "yyyy/mm/dd");
    EXPECT_EQ(TimePictureFromWindows("H:mm:ss", ":"), "h:nn:ss");
    auto fs = Locale("yyyy/MM/dd", "/", "H:mm:ss", ":");
    EXPECT_EQ(DateTimeToStr(kAfternoon, fs), "2000/01/31 14:05:09");
    EXPECT_EQ(DateTimeToStr(kMorning, fs), "2009/03/07 9:03:07");
}

TEST(LocalePictures, QuotedTextStaysLiteral) {
    // Bulgarian short date and Japanese long date carry quoted text, some of it letters that the
    // program's language would otherwise read as fields.
    EXPECT_EQ(DatePictureFromWindows("d.M.yyyy '\xD0\xB3.'", "."), "d/m/yyyy\" \xD0\xB3.\"");
    auto bg = Locale("d.M.yyyy '\xD0\xB3.'", ".", "H:mm:ss", ":");
    EXPECT_EQ(DateTimeToStr(kAfternoon, bg), "31.1.2000 \xD0\xB3. 14:05:09");

    FormatSettings fs;
    fs.shortDateFormat = DatePictureFromWindows("yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'd'\xE6\x97\xA5'", "/");
    EXPECT_EQ(DateToStr(kAfternoon, fs), "2000\xE5\xB9\xB4"
                                         "1\xE6\x9C\x88"
                                         "31\xE6\x97\xA5");

    fs.shortDateFormat = DatePictureFromWindows("dddd, d' de 'MMMM' de 'yyyy", "/");
    EXPECT_EQ(DateToStr(kAfternoon, fs), "Monday, 31 de January de 2000");
    fs.shortDateFormat = DatePictureFromWindows("'Date:' dd/MM 'c t m/s'", "/");
    EXPECT_EQ(DateToStr(kAfternoon, fs), "Date: 31/01 c t m/s");
}

TEST(LocalePictures, QuoteCharactersInsideAndOutsideQuotes) {
    FormatSettings fs;
    fs.longTimeFormat = TimePictureFromWindows("h 'o''clock' tt", ":");
    EXPECT_EQ(TimeToStr(kAfternoon, fs), "2 o'clock PM");
    fs.longTimeFormat = TimePictureFromWindows("HH''mm", ":");
    EXPECT_EQ(TimeToStr(kAfternoon, fs), "14'05");
    fs.shortDateFormat = DatePictureFromWindows("dd\"MM", "/");
    EXPECT_EQ(DateToStr(kAfternoon, fs), "31\"01");
    fs.shortDateFormat = DatePictureFromWindows("dd.MM 'unterminated", ".");
    fs.dateSeparator = ".";
    EXPECT_EQ(DateToStr(kAfternoon, fs), "31.01 unterminated");
}

TEST(LocalePictures, OnlyTheLocaleSeparatorBecomesTheSeparatorToken) {
    // A picture whose slash is not the reported separator keeps its slash.
    EXPECT_EQ(DatePictureFromWindows("dd/MM/yyyy", "-"), "dd\"/\"mm\"/\"yyyy");
    auto fs = Locale("dd/MM/yyyy", "-", "HH:mm", ":");
    EXPECT_EQ(DateToStr(kAfternoon, fs), "31/01/2000");
    // Separators of more than one character (Hungarian).
    EXPECT_EQ(DatePictureFromWindows("yyyy. MM. dd.", ". "), "yyyy/mm/dd.");
    // Quoted separators stay text even when they match.
    EXPECT_EQ(DatePictureFromWindows("dd'.'MM.yyyy", "."), "dd.mm/yyyy");
    EXPECT_EQ(TimePictureFromWindows("HH'h'mm", ":"), "hh\"h\"nn");
}

TEST(LocalePictures, YearsEraAndLongRuns) {
    FormatSettings fs;
    fs.shortDateFormat = DatePictureFromWindows("d/M/yy", "/");
    EXPECT_EQ(DateToStr(kMorning, fs), "7/3/09");
    EXPECT_EQ(DatePictureFromWindows("M/d/y", "/"), "m/d/yy");
    EXPECT_EQ(DatePictureFromWindows("dddddd MMMMM yyyyy", "/"), "dddd mmmm yyyy");
    fs.shortDateFormat = DatePictureFromWindows("gg yyyy", "/", "A.D.");
    EXPECT_EQ(DateToStr(kMorning, fs), "A.D. 2009");
    EXPECT_EQ(DatePictureFromWindows("yyyy gg", "/"), "yyyy ");
    // Letter case matters: in a date picture "m" is text, in a time picture "M" is.
    EXPECT_EQ(DatePictureFromWindows("dd m", "/"), "dd\" m\"");
    EXPECT_EQ(TimePictureFromWindows("H M", ":"), "h\" M\"");
}

TEST(LocalePictures, TwentyFourHourPicturesNeverShowAMarker) {
    FormatSettings fs;
    fs.longTimeFormat = TimePictureFromWindows("H:mm", ":");
    EXPECT_EQ(TimeToStr(EncodeTime(23, 59, 0), fs), "23:59");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 7, 0), fs), "0:07");
    fs.longTimeFormat = TimePictureFromWindows("h:mm t", ":");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 7, 0), fs), "12:07 AM");
}

TEST(LocalePictures, SeparatorFoundInThePicture) {
    EXPECT_EQ(SeparatorOfWindowsPicture("dd.MM.yyyy", false), ".");
    EXPECT_EQ(SeparatorOfWindowsPicture("yyyy. MM. dd.", false), ". ");
    EXPECT_EQ(SeparatorOfWindowsPicture("d.M.yyyy '\xD0\xB3.'", false), ".");
    EXPECT_EQ(SeparatorOfWindowsPicture("yyyy'\xE5\xB9\xB4'M'\xE6\x9C\x88'd'\xE6\x97\xA5'", false), "");
    EXPECT_EQ(SeparatorOfWindowsPicture("H:mm:ss", true), ":");
    EXPECT_EQ(SeparatorOfWindowsPicture("tt h.mm.ss", true), ".");
    EXPECT_EQ(SeparatorOfWindowsPicture("", true), "");
}
