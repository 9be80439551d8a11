#include "scan/locale_text.h"

#include <windows.h>

#include "platform/strings.h"

namespace scan {

int CompareTextLocale(std::wstring_view a, std::wstring_view b) {
    int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                           static_cast<int>(b.size()));
    if (r != 0 && r != CSTR_EQUAL) return r - CSTR_EQUAL;
    // Equal to the locale (or not comparable): equal only when the upper-case forms are.
    std::wstring x(a), y(b);
    if (!x.empty()) CharUpperBuffW(x.data(), static_cast<DWORD>(x.size()));
    if (!y.empty()) CharUpperBuffW(y.data(), static_cast<DWORD>(y.size()));
    int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareTextLocale(std::string_view a, std::string_view b) {
    return CompareTextLocale(std::wstring_view(platform::Widen(a)), std::wstring_view(platform::Widen(b)));
}

char32_t SystemUpper(char32_t c) noexcept {
    if (c < 0x80) return c >= U'a' && c <= U'z' ? c - 32 : c;
    if (c > 0xFFFF || (c >= 0xD800 && c < 0xE000)) return c;
    // CharUpperW treats a pointer whose high word is zero as one character.
    auto r = reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c))));
    return static_cast<char32_t>(r & 0xFFFF);
}

} // namespace scan
