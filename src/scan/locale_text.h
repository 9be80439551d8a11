#pragma once
// The user locale's case-insensitive order and the system's upper-casing, as the scanning
// components' lists and masks use them.
#include <string_view>

namespace scan {

// CompareString under the user's locale, ignoring case: <0, 0 or >0. The locale may hold texts
// equal that differ in more than case ("ss" and "\u00DF"); those are still ordered apart here, so
// that 0 means equal but for letter case and a sorted list without duplicates loses nothing.
int CompareTextLocale(std::string_view a, std::string_view b);
int CompareTextLocale(std::wstring_view a, std::wstring_view b);
// The system's upper case of one code point (CharUpper); code points beyond the BMP unchanged.
char32_t SystemUpper(char32_t c) noexcept;

} // namespace scan
