#include "scan/pure/scan_rules.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace scan {

std::string NormaliseInitialDirectory(std::string_view path) {
    std::string p(path);
    if (p.empty() || p.back() != '\\') p.push_back('\\');
    size_t cut = p.find_last_of("\\:");
    // The folder part ends with its delimiter; a backslash that closes a folder name goes too.
    std::string folder = p.substr(0, cut + 1);
    if (folder.back() == '\\' && cut > 0 && folder[cut - 1] != ':' && folder[cut - 1] != '\\') folder.pop_back();
    if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
    return folder;
}

unsigned ShellOpFlags(const ShellOpOptions& o, ShellOpKind kind, bool allowUndo) {
    unsigned f = 0;
    if (o.filesOnly) f |= kFofFilesOnly;
    if (o.noConfirmation) f |= kFofNoConfirmation;
    if (!o.animate) f |= kFofSilent;
    if (allowUndo) f |= kFofAllowUndo;
    if (o.hasProgressTitle) f |= kFofSimpleProgress;
    if (kind == ShellOpKind::Move) {
        if (o.autoMakeDir) f |= kFofNoConfirmMkDir;
        if (o.renameOnCollision) f |= kFofRenameOnCollision;
    }
    return f;
}

std::string CollisionName(std::string_view name, int attempt, bool isFolder) {
    std::string number = " (" + std::to_string(attempt) + ")";
    size_t dot = name.rfind('.');
    if (isFolder || dot == std::string_view::npos || dot == 0) return std::string(name) + number;
    return std::string(name.substr(0, dot)) + number + std::string(name.substr(dot));
}

std::optional<char> DriveLetterOfCaption(std::string_view caption) {
    size_t open = caption.find(" (");
    if (open == std::string_view::npos || caption.find(":)") == std::string_view::npos) return std::nullopt;
    if (open + 2 >= caption.size()) return std::nullopt;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[open + 2])));
}

std::string DriveRootOfCaption(std::string_view caption) {
    if (caption.size() < 3) return {};
    return std::string(caption.substr(caption.size() - 3, 2)) + "\\";
}

std::string AttributeText(bool readOnly, bool hidden, bool system, bool archive) {
    std::string s;
    s.push_back(readOnly ? 'R' : ' ');
    s.push_back(hidden ? 'H' : ' ');
    s.push_back(system ? 'S' : ' ');
    s.push_back(archive ? 'A' : ' ');
    return s;
}

namespace {
bool EqualsNoCase(std::string_view a, std::string_view b) {
    return AsciiCompareText(a, b) == 0;
}

struct Token {
    bool number = false;
    int value = 0;
    std::string word;
};

// Numbers and words of a text; everything else separates them.
std::vector<Token> Tokens(std::string_view s) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isdigit(c)) {
            long v = 0;
            size_t start = i;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 9)
                v = v * 10 + (s[i++] - '0');
            if (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) return {}; // too long to be a date part
            out.push_back({true, static_cast<int>(v), {}});
        } else if (std::isalpha(c) || c >= 0x80) {
            size_t start = i;
            while (i < s.size() &&
                   (std::isalpha(static_cast<unsigned char>(s[i])) || static_cast<unsigned char>(s[i]) >= 0x80))
                ++i;
            out.push_back({false, 0, std::string(s.substr(start, i - start))});
        } else {
            ++i;
        }
    }
    return out;
}

// The order of day, month and year in a short date picture: a string such as "ymd".
std::string DateOrder(std::string_view picture) {
    std::string order;
    for (char c : picture) {
        char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order.push_back(l);
    }
    return order.size() == 3 ? order : "mdy";
}

std::optional<int> MonthOfWord(std::string_view w, const textfmt::FormatSettings& fs) {
    for (int i = 0; i < 12; ++i)
        if (EqualsNoCase(w, fs.shortMonthNames[static_cast<size_t>(i)]) ||
            EqualsNoCase(w, fs.longMonthNames[static_cast<size_t>(i)]))
            return i + 1;
    return std::nullopt;
}
} // namespace

std::optional<double> ParseDateTimeText(std::string_view text, const textfmt::FormatSettings& fs) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    size_t blank = text.find(' ');
    std::string_view datePart = text.substr(0, blank);
    std::string_view timePart = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);

    std::vector<Token> d = Tokens(datePart);
    if (d.size() != 3) return std::nullopt;
    std::string order = DateOrder(fs.shortDateFormat);
    int day = 0, month = 0, year = 0;
    for (size_t i = 0; i < 3; ++i) {
        const Token& t = d[i];
        int v = t.value;
        if (!t.number) {
            auto m = MonthOfWord(t.word, fs);
            if (!m || order[i] != 'm') return std::nullopt;
            v = *m;
        }
        if (order[i] == 'd') day = v;
        if (order[i] == 'm') month = v;
        if (order[i] == 'y') year = v;
    }
    if (year < 100) year += year < 50 ? 2000 : 1900;
    if (month < 1 || month > 12 || day < 1 || day > textfmt::DaysInMonth(year, month) || year > 9999)
        return std::nullopt;
    double result = textfmt::EncodeDate(year, month, day);

    if (!timePart.empty()) {
        std::vector<Token> t = Tokens(timePart);
        std::vector<int> numbers;
        int pm = -1; // -1 none, 0 am, 1 pm
        for (const Token& k : t) {
            if (k.number) {
                if (pm >= 0) return std::nullopt;
                numbers.push_back(k.value);
            } else if (EqualsNoCase(k.word, fs.timeAMString) || EqualsNoCase(k.word, "AM") ||
                       EqualsNoCase(k.word, "A")) {
                pm = 0;
            } else if (EqualsNoCase(k.word, fs.timePMString) || EqualsNoCase(k.word, "PM") ||
                       EqualsNoCase(k.word, "P")) {
                pm = 1;
            } else {
                return std::nullopt;
            }
        }
        if (numbers.empty() || numbers.size() > 3) return std::nullopt;
        int h = numbers[0], n = numbers.size() > 1 ? numbers[1] : 0, s = numbers.size() > 2 ? numbers[2] : 0;
        if (pm >= 0) {
            if (h < 1 || h > 12) return std::nullopt;
            h = h % 12 + (pm == 1 ? 12 : 0);
        }
        if (h > 23 || n > 59 || s > 59) return std::nullopt;
        result += textfmt::EncodeTime(h, n, s);
    }
    return result;
}

int CompareFileListColumn(int column, std::string_view a, std::string_view b, const TextCompare& compareText,
                          double now, const textfmt::FormatSettings& fs) {
    if (column == 1) {
        auto number = [](std::string_view s) -> long long {
            std::string t(s);
            char* end = nullptr;
            long long v = std::strtoll(t.c_str(), &end, 10);
            while (end && *end == ' ')
                ++end;
            return (end && *end == '\0' && !t.empty()) ? v : 0;
        };
        long long x = number(a), y = number(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (column == 3) {
        double x = ParseDateTimeText(a, fs).value_or(now), y = ParseDateTimeText(b, fs).value_or(now);
        if (std::fabs(x - y) < 1e-5) return 0;
        return x < y ? -1 : 1;
    }
    int c = compareText(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string VersionStringQuery(uint16_t language, uint16_t codePage, std::string_view name) {
    static const char* kHex = "0123456789abcdef";
    std::string q = "\\StringFileInfo\\";
    for (uint16_t v : {language, codePage})
        for (int shift = 12; shift >= 0; shift -= 4)
            q.push_back(kHex[(v >> shift) & 0xF]);
    q += "\\";
    q += name;
    return q;
}

} // namespace scan
