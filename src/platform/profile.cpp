#include "platform/profile.h"

#include <windows.h>

#include "platform/strings.h"

namespace platform {

namespace {
const wchar_t* FileArg(const std::wstring& f) {
    return f.empty() ? L"win.ini" : f.c_str();
}

// Reads a double-zero-terminated list, growing the buffer until it fits.
template <typename Call> std::vector<std::string> ReadList(Call call) {
    std::wstring buf(4096, L'\0');
    for (;;) {
        DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
        if (n + 2 < buf.size()) {
            std::vector<std::string> out;
            size_t start = 0;
            for (size_t i = 0; i < n; ++i) {
                if (buf[i] == L'\0') {
                    if (i > start) out.push_back(Narrow(std::wstring_view(buf.data() + start, i - start)));
                    start = i + 1;
                }
            }
            if (start < n) out.push_back(Narrow(std::wstring_view(buf.data() + start, n - start)));
            return out;
        }
        buf.assign(buf.size() * 4, L'\0');
    }
}
} // namespace

std::string ReadProfileString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
    std::wstring f = Widen(file), s = Widen(section), k = Widen(key), d = Widen(defaultValue);
    std::wstring buf(2048, L'\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buf.data(), static_cast<DWORD>(buf.size()),
                                           FileArg(f));
        if (n + 1 < buf.size()) return Narrow(std::wstring_view(buf.data(), n));
        buf.assign(buf.size() * 4, L'\0');
    }
}

std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section, std::string_view key) {
    // Two different defaults tell an absent key from one whose value equals the default.
    static constexpr std::string_view kMarkA = "\x01vantrel-absent-a\x01";
    static constexpr std::string_view kMarkB = "\x01vantrel-absent-b\x01";
    std::string a = ReadProfileString(file, section, key, kMarkA);
    if (a != kMarkA) return a;
    std::string b = ReadProfileString(file, section, key, kMarkB);
    if (b != kMarkB) return b;
    return std::nullopt;
}

bool WriteProfileValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
    std::wstring f = Widen(file), s = Widen(section), k = Widen(key), v = Widen(value);
    return WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), FileArg(f)) != 0;
}

bool DeleteProfileKey(std::string_view file, std::string_view section, std::string_view key) {
    std::wstring f = Widen(file), s = Widen(section), k = Widen(key);
    return WritePrivateProfileStringW(s.c_str(), k.c_str(), nullptr, FileArg(f)) != 0;
}

bool DeleteProfileSection(std::string_view file, std::string_view section) {
    std::wstring f = Widen(file), s = Widen(section);
    return WritePrivateProfileStringW(s.c_str(), nullptr, nullptr, FileArg(f)) != 0;
}

std::vector<std::string> ProfileSectionNames(std::string_view file) {
    std::wstring f = Widen(file);
    return ReadList([&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionNamesW(b, n, FileArg(f)); });
}

std::vector<std::string> ProfileKeyNames(std::string_view file, std::string_view section) {
    std::wstring f = Widen(file), s = Widen(section);
    return ReadList(
        [&](wchar_t* b, DWORD n) { return GetPrivateProfileStringW(s.c_str(), nullptr, L"", b, n, FileArg(f)); });
}

std::vector<std::string> ProfileSection(std::string_view file, std::string_view section) {
    std::wstring f = Widen(file), s = Widen(section);
    return ReadList([&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionW(s.c_str(), b, n, FileArg(f)); });
}

} // namespace platform
