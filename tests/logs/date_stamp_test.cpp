// The dates in the logs read as the system's own: the process formats loaded from a locale give
// the same text as the system's date and time functions for that locale.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/locale.h"
#include "app/pure/format.h"
#include "logs/pure/log_lines.h"
#include "platform/strings.h"

namespace {

SYSTEMTIME At(int y, int mo, int d, int h, int mi, int s) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    FileTimeToSystemTime(&ft, &st);
    return st;
}

double ToDateTime(const SYSTEMTIME& st) {
    return textfmt::EncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

const wchar_t* Name(const std::wstring& locale) {
    return locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str();
}

std::string SystemDate(const std::wstring& locale, const SYSTEMTIME& st, DWORD flags, const wchar_t* picture) {
    wchar_t buf[256];
    int n = GetDateFormatEx(Name(locale), flags, &st, picture, buf, 256, nullptr);
    EXPECT_GT(n, 0);
    return n > 0 ? platform::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

std::string SystemTime(const std::wstring& locale, const SYSTEMTIME& st) {
    wchar_t buf[256];
    int n = GetTimeFormatEx(Name(locale), 0, &st, nullptr, buf, 256);
    EXPECT_GT(n, 0);
    return n > 0 ? platform::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

std::string SystemNumber(const std::wstring& locale, const wchar_t* number) {
    wchar_t buf[256];
    int n = GetNumberFormatEx(Name(locale), 0, number, nullptr, buf, 256);
    EXPECT_GT(n, 0);
    return n > 0 ? platform::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

const SYSTEMTIME kMoments[] = {
    At(2000, 1, 31, 14, 5, 9), // Monday afternoon
    At(2009, 3, 7, 9, 3, 7),   // Saturday morning
    At(2000, 1, 30, 0, 0, 1),  // Sunday, just after midnight
    At(2021, 12, 5, 12, 0, 0), // Sunday noon
};

} // namespace

TEST(DateStampFormats, LoadedUserLocaleGivesTheSystemsShortDateAndLongTime) {
    textfmt::FormatSettings saved = textfmt::ProcessFormats();
    app::LoadLocaleFormats();
    for (const SYSTEMTIME& st : kMoments) {
        EXPECT_EQ(textfmt::DateTimeToStr(ToDateTime(st)),
                  SystemDate(L"", st, DATE_SHORTDATE, nullptr) + " " + SystemTime(L"", st));
    }
    // At exactly midnight the time is left out.
    SYSTEMTIME midnight = At(2009, 3, 7, 0, 0, 0);
    EXPECT_EQ(textfmt::DateTimeToStr(ToDateTime(midnight)), SystemDate(L"", midnight, DATE_SHORTDATE, nullptr));
    textfmt::ProcessFormats() = saved;
}

TEST(DateStampFormats, SeveralLocalesMatchTheSystemsDatesTimesNamesAndNumbers) {
    // Short and long dates with dots, slashes, dashes, quoted text, multi-character separators;
    // 12- and 24-hour clocks, a marker before the hour.
    for (const wchar_t* name : {L"en-US", L"de-DE", L"ja-JP", L"fr-FR", L"en-GB", L"hu-HU", L"bg-BG", L"ko-KR",
                                L"nl-NL", L"es-ES", L"sv-SE", L"zh-CN"}) {
        std::wstring locale = name;
        SCOPED_TRACE(platform::Narrow(locale));
        textfmt::FormatSettings fs = app::LocaleFormats(platform::Narrow(locale));
        for (const SYSTEMTIME& st : kMoments) {
            double dt = ToDateTime(st);
            EXPECT_EQ(textfmt::DateTimeToStr(dt, fs),
                      SystemDate(locale, st, DATE_SHORTDATE, nullptr) + " " + SystemTime(locale, st));
            EXPECT_EQ(textfmt::FormatDateTime("dddddd", dt, fs), SystemDate(locale, st, DATE_LONGDATE, nullptr));
            EXPECT_EQ(textfmt::FormatDateTime("dddd", dt, fs), SystemDate(locale, st, 0, L"dddd"));
            EXPECT_EQ(textfmt::FormatDateTime("ddd", dt, fs), SystemDate(locale, st, 0, L"ddd"));
            EXPECT_EQ(textfmt::FormatDateTime("mmmm", dt, fs), SystemDate(locale, st, 0, L"MMMM"));
            EXPECT_EQ(textfmt::FormatDateTime("mmm", dt, fs), SystemDate(locale, st, 0, L"MMM"));
        }
        // One group only: Wine's own formatting groups just the last three digits of longer numbers.
        EXPECT_EQ(textfmt::FormatFixed(1234.5, 2, fs), SystemNumber(locale, L"1234.5"));
        EXPECT_EQ(textfmt::FormatFixed(-0.25, 2, fs), SystemNumber(locale, L"-0.25"));
    }
}

TEST(DateStampFormats, SpaceLineUsesTheLocaleSeparators) {
    textfmt::FormatSettings de = app::LocaleFormats("de-DE");
    EXPECT_EQ(logs::SpaceLine(1048576, de), "TOTAL SPACE RECOVERED: 1.048.576 bytes (1,00 megabytes.)");
    textfmt::FormatSettings us = app::LocaleFormats("en-US");
    EXPECT_EQ(logs::SpaceLine(1048576, us), "TOTAL SPACE RECOVERED: 1,048,576 bytes (1.00 megabytes.)");
}
