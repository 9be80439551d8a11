#include "app/locale.h"

#include <windows.h>

#include <optional>
#include <string>

#include "app/pure/locale_pictures.h"
#include "platform/strings.h"

namespace app {

namespace {

class LocaleReader {
public:
    explicit LocaleReader(std::string_view name) : m_name(platform::Widen(name)) {}

    const wchar_t* name() const { return m_name.empty() ? LOCALE_NAME_USER_DEFAULT : m_name.c_str(); }

    std::optional<std::string> get(LCTYPE type) const {
        int n = GetLocaleInfoEx(name(), type, nullptr, 0);
        if (n <= 0) return std::nullopt;
        std::wstring buf(static_cast<size_t>(n), L'\0');
        n = GetLocaleInfoEx(name(), type, buf.data(), n);
        if (n <= 0) return std::nullopt;
        buf.resize(static_cast<size_t>(n - 1)); // without the terminating null
        return platform::Narrow(buf);
    }

    void set(std::string& field, LCTYPE type) const {
        if (auto v = get(type)) field = *v;
    }

    // The era of today's date in the locale's calendar, for pictures that show it.
    std::string era() const {
        SYSTEMTIME st;
        GetLocalTime(&st);
        wchar_t buf[80];
        int n = GetDateFormatEx(name(), 0, &st, L"gg", buf, 80, nullptr);
        return n > 0 ? platform::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
    }

private:
    std::wstring m_name;
};

// The locale's separator, or the one its picture shows when it reports none.
std::string Separator(const LocaleReader& r, LCTYPE type, const std::optional<std::string>& picture, bool timePicture,
                      const std::string& current) {
    auto sep = r.get(type);
    if (sep && !sep->empty()) return *sep;
    if (picture) {
        std::string found = textfmt::SeparatorOfWindowsPicture(*picture, timePicture);
        if (!found.empty()) return found;
    }
    return current;
}

} // namespace

textfmt::FormatSettings LocaleFormats(std::string_view localeName) {
    textfmt::FormatSettings fs;
    LocaleReader r(localeName);

    auto shortDate = r.get(LOCALE_SSHORTDATE);
    auto longDate = r.get(LOCALE_SLONGDATE);
    auto longTime = r.get(LOCALE_STIMEFORMAT);
    auto shortTime = r.get(LOCALE_SSHORTTIME);

    fs.dateSeparator = Separator(r, LOCALE_SDATE, shortDate, false, fs.dateSeparator);
    fs.timeSeparator = Separator(r, LOCALE_STIME, longTime, true, fs.timeSeparator);

    const bool eraShown = (shortDate && shortDate->find('g') != std::string::npos) ||
                          (longDate && longDate->find('g') != std::string::npos);
    const std::string era = eraShown ? r.era() : std::string();
    if (shortDate) fs.shortDateFormat = textfmt::DatePictureFromWindows(*shortDate, fs.dateSeparator, era);
    if (longDate) fs.longDateFormat = textfmt::DatePictureFromWindows(*longDate, fs.dateSeparator, era);
    if (longTime) fs.longTimeFormat = textfmt::TimePictureFromWindows(*longTime, fs.timeSeparator);
    if (shortTime) fs.shortTimeFormat = textfmt::TimePictureFromWindows(*shortTime, fs.timeSeparator);

    r.set(fs.thousandSeparator, LOCALE_STHOUSAND);
    r.set(fs.decimalSeparator, LOCALE_SDECIMAL);
    r.set(fs.timeAMString, LOCALE_S1159);
    r.set(fs.timePMString, LOCALE_S2359);

    for (int m = 0; m < 12; ++m) {
        r.set(fs.longMonthNames[static_cast<size_t>(m)], static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + m));
        r.set(fs.shortMonthNames[static_cast<size_t>(m)], static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + m));
    }
    // The locale counts days from Monday (LOCALE_SDAYNAME1); the program from Sunday.
    for (int d = 0; d < 7; ++d) {
        size_t index = static_cast<size_t>((d + 1) % 7);
        r.set(fs.longDayNames[index], static_cast<LCTYPE>(LOCALE_SDAYNAME1 + d));
        r.set(fs.shortDayNames[index], static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + d));
    }
    return fs;
}

void LoadLocaleFormats() {
    textfmt::FormatSettings fs = LocaleFormats();
    textfmt::FormatSettings& process = textfmt::ProcessFormats();
    if (textfmt::FileListFormatsInUse()) {
        fs.shortDateFormat = process.shortDateFormat;
        fs.longTimeFormat = process.longTimeFormat;
    }
    process = fs;
}

} // namespace app
