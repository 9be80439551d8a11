#include "scan/pure/wildcard.h"

#include <gtest/gtest.h>

using scan::FoldUtf8;
using scan::MaskSet;
using scan::WildcardMask;

namespace {
bool Match(const char* mask, const char* name) {
    return WildcardMask(mask).matches(name);
}

// A fold for the tests' non-ASCII letters, standing in for the system's upper-casing.
char32_t LatinUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32; // à..þ -> À..Þ
    if (c == 0x3C9) return 0x3A9;                           // ω -> Ω
    return c;
}
} // namespace

TEST(Wildcard, StarAndQuestionMarkAndLetterCase) {
    EXPECT_TRUE(Match("*.tmp", "report.tmp"));
    EXPECT_TRUE(Match("*.tmp", "REPORT.TMP"));
    EXPECT_TRUE(Match("*.TMP", "a.b.tmp"));
    EXPECT_FALSE(Match("*.tmp", "report.tmp.bak"));
    EXPECT_FALSE(Match("*.tmp", "reporttmp"));
    EXPECT_TRUE(Match("a?c.txt", "abc.txt"));
    EXPECT_FALSE(Match("a?c.txt", "abbc.txt"));
    EXPECT_TRUE(Match("MSCREATE.DIR", "mscreate.dir"));
    EXPECT_FALSE(Match("mscreate.dir", "mscreate.dirx"));
    EXPECT_TRUE(Match("*", "anything.at.all"));
    EXPECT_TRUE(Match("*.~*", "setup.~mp"));
    EXPECT_TRUE(Match("*.~*", "a.b.~"));
    EXPECT_FALSE(Match("*.~*", "a~b.tmp"));
    EXPECT_TRUE(Match("*.---", "file.---"));
    EXPECT_TRUE(Match("*._mp", "setup._MP"));
}

TEST(Wildcard, QuestionMarkMatchesNothingBeforeADotOrAtTheEnd) {
    // Wine's own search misses these: its "?" always takes one character.
    EXPECT_TRUE(Match("0???????.nch", "0abc.nch"));
    EXPECT_TRUE(Match("0???????.nch", "0.nch"));
    EXPECT_TRUE(Match("0???????.nch", "0abcdefg.nch"));
    EXPECT_FALSE(Match("0???????.nch", "0abcdefgh.nch"));
    EXPECT_FALSE(Match("0???????.nch", "1abc.nch"));
    EXPECT_TRUE(Match("ab??", "ab"));
    EXPECT_TRUE(Match("ab??", "abc"));
    EXPECT_FALSE(Match("ab??", "abcde"));
    // A "?" never takes the dot itself.
    EXPECT_FALSE(Match("a?b", "a.b"));
    EXPECT_TRUE(Match("*.??~", "backup.do~"));
    EXPECT_FALSE(Match("*.??~", "backup.d~"));
    EXPECT_FALSE(Match("*.??~", "backup.docx~"));
}

TEST(Wildcard, StarDotMatchesOnlyNamesWithoutAnExtension) {
    EXPECT_TRUE(Match("*.", "readme"));
    EXPECT_FALSE(Match("*.", "readme.txt"));
    EXPECT_FALSE(Match("*.", "a.b.c"));
    EXPECT_TRUE(Match("read*.", "readme"));
    EXPECT_FALSE(Match("read*.", "readme.1st"));
}

TEST(Wildcard, StarDotStarMatchesEverythingIncludingNamesWithoutADot) {
    EXPECT_TRUE(Match("*.*", "readme"));
    EXPECT_TRUE(Match("*.*", "a.b"));
    EXPECT_TRUE(Match("~*.*", "~tmp"));
    EXPECT_TRUE(Match("~*.*", "~a.b.c"));
    EXPECT_FALSE(Match("~*.*", "a~.b"));
    EXPECT_TRUE(Match("a*.*", "abc"));
    EXPECT_TRUE(Match("*.t*", "x.tmp"));
    EXPECT_TRUE(Match("*.t*", "x.y.tmp"));
    EXPECT_FALSE(Match("*.t*", "xt"));
}

TEST(Wildcard, EmptyOrOddMasksMatchNothing) {
    EXPECT_TRUE(WildcardMask("").matchesNothing());
    EXPECT_FALSE(Match("", "a"));
    EXPECT_FALSE(Match("...", "a"));
    EXPECT_FALSE(Match("sub\\*.tmp", "a.tmp"));
    EXPECT_FALSE(WildcardMask().matches("a"));
    // Trailing dots and blanks go, as the platform's path rules drop them.
    EXPECT_TRUE(Match("readme.", "readme"));
    EXPECT_TRUE(Match("*.tmp ", "a.tmp"));
}

TEST(Wildcard, NonAsciiLettersThroughTheCallersFold) {
    WildcardMask mask("\xC3\xA4*.tmp", LatinUpper);                       // ä*.tmp
    EXPECT_TRUE(mask.matches(FoldUtf8("\xC3\x84rger.TMP", LatinUpper)));  // Ärger.TMP
    EXPECT_FALSE(mask.matches(FoldUtf8("\xC3\xB6rger.tmp", LatinUpper))); // örger.tmp
    WildcardMask omega("*\xCF\x89", LatinUpper);                          // *ω
    EXPECT_TRUE(omega.matches(FoldUtf8("x\xCE\xA9", LatinUpper)));        // xΩ
    // Without such a fold only ASCII letters are folded.
    EXPECT_FALSE(WildcardMask("\xC3\xA4*.tmp").matches("\xC3\x84rger.tmp"));
    EXPECT_TRUE(WildcardMask("\xC3\xA4*.tmp").matches("\xC3\xA4RGER.tmp"));
}

TEST(Wildcard, Utf16NamesFoldLikeUtf8Ones) {
    auto a = scan::FoldUtf16(u"\u00C4rger\U0001F600.tmp", LatinUpper);
    auto b = FoldUtf8("\xC3\xA4RGER\xF0\x9F\x98\x80.TMP", LatinUpper);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.signature, b.signature);
    EXPECT_TRUE(WildcardMask("?rger?.tmp", LatinUpper).matches(a));
}

TEST(Wildcard, MaskSetTestsTheShortNameToo) {
    MaskSet set({"*.tmp", "0???????.nch"}, scan::AsciiUpper);
    auto longName = FoldUtf8("verylongfilename.tmpx", scan::AsciiUpper);
    auto shortName = FoldUtf8("VERY~VWC.TMP", scan::AsciiUpper);
    EXPECT_FALSE(set.matchesAny(longName, nullptr));
    EXPECT_TRUE(set.matchesAny(longName, &shortName));
    auto news = FoldUtf8("0abc.nch", scan::AsciiUpper);
    EXPECT_TRUE(set.matchesAny(news, nullptr));
    EXPECT_FALSE(MaskSet({}, scan::AsciiUpper).matchesAny(news, nullptr));
}

namespace {
// The DOS wildcard semantics written the plain recursive way, over an already translated
// expression: '*' any run, '<' any run not passing the last dot, '>' one non-dot character or
// nothing before a dot or at the end, '"' a dot or nothing at the end.
bool Reference(std::string_view e, std::string_view n, size_t lastDot, size_t at) {
    if (e.empty()) return n.empty();
    char t = e[0];
    std::string_view rest = e.substr(1);
    switch (t) {
    case '*':
        for (size_t k = 0; k <= n.size(); ++k)
            if (Reference(rest, n.substr(k), lastDot, at + k)) return true;
        return false;
    case '<':
        for (size_t k = 0; k <= n.size(); ++k) {
            if (Reference(rest, n.substr(k), lastDot, at + k)) return true;
            if (k < n.size() && n[k] == '.' && at + k == lastDot) return false;
        }
        return false;
    case '>':
        if (n.empty() || n[0] == '.') return Reference(rest, n, lastDot, at);
        return Reference(rest, n.substr(1), lastDot, at + 1);
    case '"':
        if (n.empty()) return Reference(rest, n, lastDot, at);
        return n[0] == '.' && Reference(rest, n.substr(1), lastDot, at + 1);
    default:
        return !n.empty() && n[0] == t && Reference(rest, n.substr(1), lastDot, at + 1);
    }
}

std::string Translate(std::string p) {
    if (p == "*.*") return "*";
    bool endsInDot = false;
    while (!p.empty() && p.back() == '.') {
        endsInDot = true;
        p.pop_back();
    }
    std::string e;
    for (size_t i = 0; i < p.size(); ++i) {
        char c = p[i];
        if (c == '*')
            e.push_back((i + 1 < p.size() && p[i + 1] == '.') || (i + 1 == p.size() && endsInDot) ? '<' : '*');
        else if (c == '?')
            e.push_back('>');
        else if (c == '.' && i + 1 < p.size() && (p[i + 1] == '?' || p[i + 1] == '*'))
            e.push_back('"');
        else
            e.push_back(c);
    }
    return e;
}
} // namespace

TEST(Wildcard, AgreesWithThePlainDefinitionOnManyMasksAndNames) {
    const char alphabet[] = {'a', 'B', '.', '~', '*', '?'};
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    int compared = 0, matched = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string mask, name;
        for (uint32_t i = 0, len = 1 + next(6); i < len; ++i)
            mask.push_back(alphabet[next(6)]);
        for (uint32_t i = 0, len = 1 + next(7); i < len; ++i)
            name.push_back(alphabet[next(4)]);
        if (name.back() == '.') continue; // not a file name the platform can hold
        std::string upperName = name;
        for (auto& c : upperName)
            c = static_cast<char>(scan::AsciiUpper(static_cast<unsigned char>(c)));
        std::string e = Translate(mask);
        for (auto& c : e)
            if (c != '<' && c != '>' && c != '"' && c != '*')
                c = static_cast<char>(scan::AsciiUpper(static_cast<unsigned char>(c)));
        bool expected = !e.empty() && Reference(e, upperName, upperName.rfind('.'), 0);
        ASSERT_EQ(WildcardMask(mask).matches(name), expected) << "mask " << mask << " name " << name;
        ++compared;
        matched += expected;
    }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(matched, 1000);
}
