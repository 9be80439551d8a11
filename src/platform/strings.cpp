#include "platform/strings.h"

#include <windows.h>

namespace platform {

namespace {
// Paths and captions are nearly always plain ASCII; for those the conversions and case mappings
// are done here, which saves the two passes of each conversion call (measured at several
// microseconds per row when a list fills with thousands of paths under Wine).
bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}
bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (c >= 0x80) return false;
    return true;
}

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    if (IsAscii(text)) return std::wstring(text.begin(), text.end());
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}
std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    if (IsAscii(text)) {
        std::string out(text.size(), '\0');
        for (size_t i = 0; i < text.size(); ++i)
            out[i] = static_cast<char>(text[i]);
        return out;
    }
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}
} // namespace

std::wstring Widen(std::string_view utf8) {
    return ToWide(CP_UTF8, utf8);
}
std::string Narrow(std::wstring_view wide) {
    return FromWide(CP_UTF8, wide);
}
std::string ToAnsi(std::string_view utf8) {
    return FromWide(CP_ACP, Widen(utf8));
}
std::string FromAnsi(std::string_view ansi) {
    return Narrow(ToWide(CP_ACP, ansi));
}

// ASCII letters map as CharUpperBuffW / CharLowerBuffW map them (no linguistic casing).
std::string UpperCase(std::string_view utf8) {
    if (IsAscii(utf8)) {
        std::string out(utf8);
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return out;
    }
    std::wstring w = Widen(utf8);
    if (!w.empty()) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
    return Narrow(w);
}

std::string LowerCase(std::string_view utf8) {
    if (IsAscii(utf8)) {
        std::string out(utf8);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    std::wstring w = Widen(utf8);
    if (!w.empty()) CharLowerBuffW(w.data(), static_cast<DWORD>(w.size()));
    return Narrow(w);
}

bool SameText(std::string_view a, std::string_view b) {
    std::wstring wa = Widen(a), wb = Widen(b);
    return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE) ==
           CSTR_EQUAL;
}

} // namespace platform
