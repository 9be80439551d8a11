#include "platform/strings.h"

#include <windows.h>

#include <gtest/gtest.h>

using platform::LowerCase;
using platform::Narrow;
using platform::UpperCase;
using platform::Widen;

namespace {
// What the system's own mapping gives, for comparing the program's results with.
std::wstring SystemUpper(std::wstring w) {
    if (!w.empty()) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
    return w;
}
std::wstring SystemLower(std::wstring w) {
    if (!w.empty()) CharLowerBuffW(w.data(), static_cast<DWORD>(w.size()));
    return w;
}
std::string AllAscii() {
    std::string s;
    for (int c = 1; c < 128; ++c)
        s += static_cast<char>(c);
    return s;
}
} // namespace

TEST(Strings, ConversionsRoundTripPlainAndInternationalText) {
    const std::string ascii = AllAscii();
    EXPECT_EQ(Widen(ascii).size(), ascii.size());
    EXPECT_EQ(Narrow(Widen(ascii)), ascii);
    // Two-byte, three-byte and four-byte (surrogate pair) UTF-8 among ASCII.
    const std::string mixed = "C:\\Temp\\caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.tmp";
    const std::wstring wide = Widen(mixed);
    EXPECT_EQ(wide, L"C:\\Temp\\caf\u00E9 \u65E5\u672C \U0001F600.tmp");
    EXPECT_EQ(Narrow(wide), mixed);
    // Embedded nul characters are text like any other.
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Widen(withNul), std::wstring(L"a\0b", 3));
    EXPECT_EQ(Narrow(std::wstring(L"a\0b", 3)), withNul);
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Narrow(L""), "");
    EXPECT_EQ(platform::FromAnsi(platform::ToAnsi("Scan End. 100%")), "Scan End. 100%");
}

TEST(Strings, CaseMappingAgreesWithTheSystemForPlainAndInternationalText) {
    const std::string ascii = AllAscii();
    EXPECT_EQ(Widen(UpperCase(ascii)), SystemUpper(Widen(ascii)));
    EXPECT_EQ(Widen(LowerCase(ascii)), SystemLower(Widen(ascii)));
    EXPECT_EQ(UpperCase("c:\\windows\\temp\\~wrl0001.tmp"), "C:\\WINDOWS\\TEMP\\~WRL0001.TMP");
    EXPECT_EQ(LowerCase("C:\\Program Files\\App[1]\\X.BAK"), "c:\\program files\\app[1]\\x.bak");
    // Letters beyond ASCII follow the system's rules.
    const std::string german = "\xC3\xA4pfel \xC3\x84RGER"; // "äpfel ÄRGER"
    EXPECT_EQ(UpperCase(german), "\xC3\x84PFEL \xC3\x84RGER");
    EXPECT_EQ(LowerCase(german), "\xC3\xA4pfel \xC3\xA4rger");
    EXPECT_EQ(Widen(UpperCase("gr\xC3\xBC\xC3\x9F")), SystemUpper(L"gr\u00FC\u00DF"));
}
