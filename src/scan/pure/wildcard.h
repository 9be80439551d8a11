#pragma once
// File masks with the Windows wildcard rules, matched in memory so that one folder listing serves
// every mask. FindFirstFile rewrites a mask before the file system sees it: "*.*" becomes "*",
// "?" becomes DOS_QM (one character, or none before a dot or at the end of the name), a "." that is
// followed by a wildcard becomes DOS_DOT (a dot, or nothing at the end), a "*" before a "." becomes
// DOS_STAR (any run that does not pass the name's last dot), and trailing dots are dropped, a
// trailing "*." giving DOS_STAR alone ("*." = names without an extension). Wine applies only the
// plain "*" and "?" rules, so the program matches masks itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scan {

// Maps one code point to the form in which letter case no longer matters. The Win32 side passes
// the system's upper-casing; native code and tests use AsciiUpper or their own table.
using CaseFold = char32_t (*)(char32_t);
char32_t AsciiUpper(char32_t c) noexcept;

// A name decoded to code points and folded once, to be tested against many masks.
struct FoldedName {
    std::u32string text;
    uint64_t signature = 0; // one bit per folded code point class, for a cheap first test
    size_t lastDot = std::u32string::npos;
};
FoldedName FoldUtf8(std::string_view name, CaseFold fold);
FoldedName FoldUtf16(std::u16string_view name, CaseFold fold);

class WildcardMask {
public:
    WildcardMask() = default; // matches nothing
    explicit WildcardMask(std::string_view pattern, CaseFold fold = AsciiUpper);

    const std::string& pattern() const noexcept { return m_pattern; }
    // An empty mask, one of only dots and blanks, or one holding a path separator.
    bool matchesNothing() const noexcept { return !m_valid; }
    bool matchesEverything() const noexcept { return m_valid && m_everything; }

    // The name must have been folded with the fold this mask was built with.
    bool matches(const FoldedName& name) const;
    bool matches(std::string_view utf8Name) const;

private:
    bool matchExpression(const std::u32string& name, size_t lastDot) const;

    std::string m_pattern;
    std::u32string m_expr;
    CaseFold m_fold = AsciiUpper;
    bool m_valid = false;
    bool m_everything = false;
    uint64_t m_signature = 0; // literal code points the name must contain
    size_t m_literals = 0;    // the name is at least this long
    size_t m_prefix = 0;      // literal code points before the first wildcard
    size_t m_suffix = 0;      // literal code points after the last wildcard
};

// A set of masks tested together against a long name and its 8.3 alias.
class MaskSet {
public:
    MaskSet() = default;
    MaskSet(const std::vector<std::string>& patterns, CaseFold fold);
    bool empty() const noexcept { return m_masks.empty(); }
    CaseFold fold() const noexcept { return m_fold; }
    // True when any mask matches the long name or, when there is one, the short name.
    bool matchesAny(const FoldedName& longName, const FoldedName* shortName) const;

private:
    std::vector<WildcardMask> m_masks;
    CaseFold m_fold = AsciiUpper;
};

} // namespace scan
