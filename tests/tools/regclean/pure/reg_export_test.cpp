#include "tools/regclean/pure/reg_export.h"

#include <gtest/gtest.h>

using namespace tools::regclean;

namespace {
std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}
std::vector<uint8_t> Utf16Z(const std::u16string& s) {
    std::vector<uint8_t> out;
    for (char16_t c : s) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}
} // namespace

TEST(RegExport, HeaderAndKeyLines) {
    EXPECT_EQ(Narrow(RegExportHeader()), "Windows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(Narrow(RegExportKeyLine(u"HKEY_CURRENT_USER", u"\\Software\\Acme")),
              "\r\n[HKEY_CURRENT_USER\\Software\\Acme]\r\n");
    EXPECT_EQ(Narrow(RegExportKeyLine(u"HKEY_LOCAL_MACHINE", u"SOFTWARE\\x")),
              "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\x]\r\n");
}

TEST(RegExport, PlainStringsAreQuotedWithBackslashesAndQuotesEscaped) {
    EXPECT_EQ(Narrow(RegExportValue(u"Path", kRegSz, Utf16Z(u"C:\\GONE\\\"x\".exe"))),
              "\"Path\"=\"C:\\\\GONE\\\\\\\"x\\\".exe\"\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"", kRegSz, Utf16Z(u"C:\\x"))), "@=\"C:\\\\x\"\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"C:\\a\"b", kRegSz, Utf16Z(u""))), "\"C:\\\\a\\\"b\"=\"\"\r\n");
    // Non-ASCII text stays as UTF-16 code units.
    auto v = RegExportValue(u"\u00e4", kRegSz, Utf16Z(u"\u20ac"));
    EXPECT_EQ(v, u"\"\u00e4\"=\"\u20ac\"\r\n");
}

TEST(RegExport, StringsTheTextFormCannotCarryBecomeHexOfTheirExactBytes) {
    // A line break inside the data.
    EXPECT_EQ(Narrow(RegExportValue(u"n", kRegSz, Utf16Z(u"a\nb"))), "\"n\"=hex(1):61,00,0a,00,62,00,00,00\r\n");
    // No terminator, odd size, nothing at all.
    EXPECT_EQ(Narrow(RegExportValue(u"n", kRegSz, {0x41, 0x00})), "\"n\"=hex(1):41,00\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"n", kRegSz, {0x41})), "\"n\"=hex(1):41\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"n", kRegSz, {})), "\"n\"=hex(1):\r\n");
    // Text after an embedded terminator.
    EXPECT_EQ(Narrow(RegExportValue(u"n", kRegSz, {0x41, 0, 0, 0, 0x42, 0, 0, 0})),
              "\"n\"=hex(1):41,00,00,00,42,00,00,00\r\n");
}

TEST(RegExport, OtherTypesUseTheirOwnNotation) {
    EXPECT_EQ(Narrow(RegExportValue(u"d", kRegDword, {0x2a, 0, 0, 0x80})), "\"d\"=dword:8000002a\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"d", kRegDword, {1, 2})), "\"d\"=hex(4):01,02\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"b", kRegBinary, {0xde, 0xad})), "\"b\"=hex:de,ad\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"e", kRegExpandSz, Utf16Z(u"%T%"))), "\"e\"=hex(2):25,00,54,00,25,00,00,00\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"q", kRegQword, {1, 0, 0, 0, 0, 0, 0, 0})),
              "\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n");
    EXPECT_EQ(Narrow(RegExportValue(u"z", kRegNone, {7})), "\"z\"=hex(0):07\r\n");
}

TEST(RegExport, LongHexValuesContinueOnIndentedLinesOfAtMostEightyColumns) {
    std::vector<uint8_t> data(100, 0xab);
    std::string text = Narrow(RegExportValue(u"Long", kRegBinary, data));
    size_t start = 0, lines = 0, bytes = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        std::string line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 80u) << line;
        if (lines > 0) EXPECT_EQ(line.substr(0, 2), "  ");
        bool last = end + 2 == text.size();
        EXPECT_EQ(line.back() == '\\', !last) << line;
        for (size_t p = line.find("ab"); p != std::string::npos; p = line.find("ab", p + 2))
            ++bytes;
        ++lines;
        start = end + 2;
    }
    EXPECT_GT(lines, 1u);
    EXPECT_EQ(bytes, 100u);
    EXPECT_EQ(text.substr(0, 11), "\"Long\"=hex:");
}
