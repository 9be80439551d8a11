#include "app/pure/format.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace textfmt {

namespace {
bool g_fileListFormats = false;

bool IEqualsAt(std::string_view s, size_t pos, std::string_view token) {
    if (pos + token.size() > s.size()) return false;
    for (size_t i = 0; i < token.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[pos + i])) != std::tolower(static_cast<unsigned char>(token[i])))
            return false;
    return true;
}

size_t RunLength(std::string_view s, size_t pos) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(s[pos])));
    size_t n = 0;
    while (pos + n < s.size() && std::tolower(static_cast<unsigned char>(s[pos + n])) == c)
        ++n;
    return n;
}

std::string Pad(int v, int width) {
    std::string s = std::to_string(v);
    while (static_cast<int>(s.size()) < width)
        s.insert(s.begin(), '0');
    return s;
}

bool HasAmPm(std::string_view picture) {
    for (size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        if (c == '\'' || c == '"') {
            size_t end = picture.find(c, i + 1);
            if (end == std::string_view::npos) return false;
            i = end;
            continue;
        }
        if (IEqualsAt(picture, i, "am/pm") || IEqualsAt(picture, i, "a/p") || IEqualsAt(picture, i, "ampm"))
            return true;
    }
    return false;
}

void Append(std::string& out, std::string_view picture, const CivilDateTime& t, const FormatSettings& fs,
            double dateTime, int depth);

void AppendC(std::string& out, const CivilDateTime& t, const FormatSettings& fs, double dateTime, int depth) {
    Append(out, fs.shortDateFormat, t, fs, dateTime, depth + 1);
    if (t.hour || t.minute || t.second || t.millisecond) {
        out += ' ';
        Append(out, fs.longTimeFormat, t, fs, dateTime, depth + 1);
    }
}

void Append(std::string& out, std::string_view picture, const CivilDateTime& t, const FormatSettings& fs,
            double dateTime, int depth) {
    if (depth > 2) return; // pictures that name one another must not loop
    const bool twelveHour = HasAmPm(picture);
    bool afterHour = false;
    size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            size_t end = picture.find(c, i + 1);
            if (end == std::string_view::npos) end = picture.size();
            out.append(picture.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (lc == 'a') {
            bool pm = t.hour >= 12;
            if (IEqualsAt(picture, i, "am/pm")) {
                std::string_view tok = pm ? picture.substr(i + 3, 2) : picture.substr(i, 2);
                out.append(tok);
                i += 5;
                continue;
            }
            if (IEqualsAt(picture, i, "a/p")) {
                out += pm ? picture[i + 2] : picture[i];
                i += 3;
                continue;
            }
            if (IEqualsAt(picture, i, "ampm")) {
                out += pm ? fs.timePMString : fs.timeAMString;
                i += 4;
                continue;
            }
        }
        size_t n = RunLength(picture, i);
        switch (lc) {
        case 'c':
            AppendC(out, t, fs, dateTime, depth);
            i += 1;
            continue;
        case 'd':
            if (n == 1)
                out += std::to_string(t.day);
            else if (n == 2)
                out += Pad(t.day, 2);
            else if (n == 3)
                out += fs.shortDayNames[static_cast<size_t>(t.dayOfWeek)];
            else if (n == 4)
                out += fs.longDayNames[static_cast<size_t>(t.dayOfWeek)];
            else if (n == 5)
                Append(out, fs.shortDateFormat, t, fs, dateTime, depth + 1);
            else
                Append(out, fs.longDateFormat, t, fs, dateTime, depth + 1);
            i += n;
            afterHour = false;
            continue;
        case 'm':
            if (afterHour && n <= 2) {
                out += n == 1 ? std::to_string(t.minute) : Pad(t.minute, 2);
            } else if (n == 1) {
                out += std::to_string(t.month);
            } else if (n == 2) {
                out += Pad(t.month, 2);
            } else if (n == 3) {
                out += fs.shortMonthNames[static_cast<size_t>(t.month - 1)];
            } else {
                out += fs.longMonthNames[static_cast<size_t>(t.month - 1)];
            }
            i += n;
            afterHour = false;
            continue;
        case 'y':
            out += n <= 2 ? Pad(t.year % 100, 2) : Pad(t.year, 4);
            i += n;
            afterHour = false;
            continue;
        case 'h': {
            int h = t.hour;
            if (twelveHour) {
                h %= 12;
                if (h == 0) h = 12;
            }
            out += n == 1 ? std::to_string(h) : Pad(h, 2);
            i += std::min<size_t>(n, 2);
            afterHour = true;
            continue;
        }
        case 'n':
            out += n == 1 ? std::to_string(t.minute) : Pad(t.minute, 2);
            i += std::min<size_t>(n, 2);
            afterHour = false;
            continue;
        case 's':
            out += n == 1 ? std::to_string(t.second) : Pad(t.second, 2);
            i += std::min<size_t>(n, 2);
            afterHour = false;
            continue;
        case 'z':
            out += n >= 3 ? Pad(t.millisecond, 3) : std::to_string(t.millisecond);
            i += n >= 3 ? 3 : 1;
            continue;
        case 't':
            Append(out, n >= 2 ? fs.longTimeFormat : fs.shortTimeFormat, t, fs, dateTime, depth + 1);
            i += n >= 2 ? 2 : 1;
            continue;
        case '/':
            out += fs.dateSeparator;
            ++i;
            continue;
        case ':':
            out += fs.timeSeparator;
            ++i;
            continue;
        default:
            out += c;
            ++i;
            continue;
        }
    }
}

std::string Group(std::string digits, const FormatSettings& fs) {
    std::string out;
    int count = 0;
    for (size_t i = digits.size(); i-- > 0;) {
        out.insert(out.begin(), digits[i]);
        if (++count % 3 == 0 && i > 0) out.insert(0, fs.thousandSeparator);
    }
    return out;
}

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

// 1899-12-30 relative to 1970-01-01.
constexpr int64_t kEpochDays = -25569;
} // namespace

FormatSettings& ProcessFormats() {
    static FormatSettings settings;
    return settings;
}

void UseFileListFormats() {
    ProcessFormats().shortDateFormat = "yyyy/mm/dd";
    ProcessFormats().longTimeFormat = "hh:nn";
    g_fileListFormats = true;
}

bool FileListFormatsInUse() {
    return g_fileListFormats;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

double EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                               kEpochDays);
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    double d = EncodeDate(year, month, day);
    double t = EncodeTime(hour, minute, second, millisecond);
    return d >= 0 ? d + t : d - t;
}

CivilDateTime DecodeDateTime(double dateTime) {
    // The integral part is the day (toward zero); the fraction's magnitude is the time of day.
    double whole = std::trunc(dateTime);
    int64_t ms = std::llround(std::fabs(dateTime - whole) * 86400000.0);
    int64_t days = static_cast<int64_t>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += dateTime >= 0 ? 1 : -1;
    }
    CivilDateTime t;
    CivilFromDays(days + kEpochDays, t.year, t.month, t.day);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    int64_t dow = (days + kEpochDays + 4) % 7; // 1970-01-01 was a Thursday
    if (dow < 0) dow += 7;
    t.dayOfWeek = static_cast<int>(dow);
    return t;
}

std::string FormatDateTime(std::string_view picture, double dateTime, const FormatSettings& fs) {
    std::string out;
    CivilDateTime t = DecodeDateTime(dateTime);
    if (picture.empty()) {
        AppendC(out, t, fs, dateTime, 0);
        return out;
    }
    Append(out, picture, t, fs, dateTime, 0);
    return out;
}

std::string DateTimeToStr(double dateTime, const FormatSettings& fs) {
    return FormatDateTime("c", dateTime, fs);
}
std::string DateToStr(double dateTime, const FormatSettings& fs) {
    return FormatDateTime("ddddd", dateTime, fs);
}
std::string TimeToStr(double dateTime, const FormatSettings& fs) {
    return FormatDateTime("tt", dateTime, fs);
}

std::string FormatThousands(int64_t value, const FormatSettings& fs) {
    bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string s = Group(std::to_string(magnitude), fs);
    return negative ? "-" + s : s;
}

std::string FormatFixed(double value, int decimals, const FormatSettings& fs) {
    if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buf[512];
    std::snprintf(buf, sizeof(buf), "%.*f", decimals, std::fabs(value));
    std::string s = buf;
    std::string whole = s, fraction;
    size_t dot = s.find('.');
    if (dot != std::string::npos) {
        whole = s.substr(0, dot);
        fraction = s.substr(dot + 1);
    }
    bool allZero = s.find_first_not_of("0.") == std::string::npos;
    std::string out = (value < 0 && !allZero ? "-" : "") + Group(whole, fs);
    if (decimals > 0) out += fs.decimalSeparator + fraction;
    return out;
}

std::string FormatMegabytes(int64_t bytes, const FormatSettings& fs) {
    return FormatFixed(static_cast<double>(bytes) / 1048576.0, 2, fs);
}

std::string FloatText(double value, const FormatSettings& fs) {
    if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%.15g", value);
    std::string s = buf;
    size_t e = s.find('e');
    if (e != std::string::npos) {
        // "1e-05" -> "1E-5", "1.5e+20" -> "1.5E20"
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        bool neg = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
        while (exponent.size() > 1 && exponent[0] == '0')
            exponent.erase(0, 1);
        s = mantissa + "E" + (neg ? "-" : "") + exponent;
    }
    size_t dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, fs.decimalSeparator);
    return s;
}

namespace {
std::string TrimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}
} // namespace

bool ParseFloat(std::string_view text, double& out) {
    std::string s = TrimBlanks(text);
    if (s.empty()) return false;
    for (auto& c : s)
        if (c == ',') c = '.';
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (!end || *end != '\0') return false;
    out = v;
    return true;
}

bool ParseInt(std::string_view text, int32_t& out) {
    std::string s = TrimBlanks(text);
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (!end || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

} // namespace textfmt
