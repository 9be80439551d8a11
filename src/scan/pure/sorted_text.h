#pragma once
// Sorted string lists without duplicates (the scanner's masks, the shell operation's paths) and
// the comma text in which a mask list is read and written.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace scan {

// Three-way text comparison; the Win32 side passes the user locale's case-insensitive order.
using TextCompare = std::function<int(std::string_view, std::string_view)>;
// Case-insensitive for ASCII letters, byte order otherwise (native default and tests).
int AsciiCompareText(std::string_view a, std::string_view b);

class SortedTextList {
public:
    explicit SortedTextList(TextCompare compare = AsciiCompareText);
    // Inserts in sorted position; false (and no change) when an entry compares equal.
    bool add(std::string_view text);
    bool contains(std::string_view text) const;
    void clear() noexcept { m_items.clear(); }
    bool empty() const noexcept { return m_items.empty(); }
    size_t size() const noexcept { return m_items.size(); }
    const std::string& operator[](size_t i) const { return m_items[i]; }
    const std::vector<std::string>& items() const noexcept { return m_items; }

private:
    TextCompare m_compare;
    std::vector<std::string> m_items;
};

// Comma text: entries joined by commas; an entry holding a character of code 32 or below, a comma
// or a double quote is enclosed in double quotes with inner quotes doubled; a list of one empty
// entry is written as "" so that it reads back as itself.
std::string ToCommaText(const std::vector<std::string>& entries);
// Reads comma text: control characters and blanks before and after entries are skipped; a quoted
// entry runs to its closing quote (a doubled quote is one quote; an unclosed quote runs to the end);
// an unquoted entry ends at a comma or a character of code 32 or below; two commas in a row give an
// empty entry; an empty text gives no entries.
std::vector<std::string> ParseCommaText(std::string_view text);

} // namespace scan
