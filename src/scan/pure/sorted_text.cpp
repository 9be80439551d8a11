#include "scan/pure/sorted_text.h"

#include <algorithm>

namespace scan {

namespace {
bool IsBlank(char c) {
    return c >= 1 && c <= ' ';
}
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
} // namespace

int AsciiCompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(AsciiLower(a[i])), y = static_cast<unsigned char>(AsciiLower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

SortedTextList::SortedTextList(TextCompare compare) : m_compare(std::move(compare)) {}

bool SortedTextList::add(std::string_view text) {
    auto it = std::lower_bound(m_items.begin(), m_items.end(), text,
                               [&](const std::string& item, std::string_view t) { return m_compare(item, t) < 0; });
    if (it != m_items.end() && m_compare(*it, text) == 0) return false;
    m_items.insert(it, std::string(text));
    return true;
}

bool SortedTextList::contains(std::string_view text) const {
    auto it = std::lower_bound(m_items.begin(), m_items.end(), text,
                               [&](const std::string& item, std::string_view t) { return m_compare(item, t) < 0; });
    return it != m_items.end() && m_compare(*it, text) == 0;
}

std::string ToCommaText(const std::vector<std::string>& entries) {
    if (entries.size() == 1 && entries[0].empty()) return "\"\"";
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& e = entries[i];
        if (i) out.push_back(',');
        bool quote = std::any_of(e.begin(), e.end(),
                                 [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"'; });
        if (!quote) {
            out += e;
            continue;
        }
        out.push_back('"');
        for (char c : e) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    return out;
}

std::vector<std::string> ParseCommaText(std::string_view text) {
    std::vector<std::string> out;
    // The text ends at a NUL character, as the stored strings it comes from do.
    text = text.substr(0, text.find('\0'));
    size_t i = 0, n = text.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string entry;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        entry.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                entry.push_back(text[i++]);
            }
        } else {
            size_t start = i;
            while (i<n&& static_cast<unsigned char>(text[i])> ' ' && text[i] != ',')
                ++i;
            entry.assign(text.substr(start, i - start));
        }
        out.push_back(std::move(entry));
        skipBlanks();
        if (i < n && text[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    return out;
}

} // namespace scan
