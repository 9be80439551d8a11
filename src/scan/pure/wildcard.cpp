#include "scan/pure/wildcard.h"

#include <algorithm>

namespace scan {

namespace {
// Wildcard tokens live above the code point range so that no name character can equal one.
constexpr char32_t kStar = 0x110000;
constexpr char32_t kDosStar = 0x110001;
constexpr char32_t kDosQm = 0x110002;
constexpr char32_t kDosDot = 0x110003;

bool IsWildcard(char32_t c) noexcept {
    return c >= kStar;
}

uint64_t SignatureBit(char32_t c) noexcept {
    return uint64_t{1} << (c & 63);
}

// Decodes UTF-8; a malformed byte stands for itself so that nothing is lost.
std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        size_t extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : 4;
        char32_t c = extra == 0 ? b : static_cast<char32_t>(b & (0x3F >> extra));
        bool ok = extra < 4 && i + extra < s.size();
        for (size_t k = 1; ok && k <= extra; ++k) {
            auto t = static_cast<unsigned char>(s[i + k]);
            ok = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok) {
            out.push_back(b);
            ++i;
            continue;
        }
        out.push_back(c);
        i += extra + 1;
    }
    return out;
}

FoldedName Finish(std::u32string text, CaseFold fold) {
    FoldedName n;
    for (auto& c : text) {
        c = fold(c);
        n.signature |= SignatureBit(c);
    }
    n.lastDot = text.rfind(U'.');
    n.text = std::move(text);
    return n;
}
} // namespace

char32_t AsciiUpper(char32_t c) noexcept {
    return c >= U'a' && c <= U'z' ? c - 32 : c;
}

FoldedName FoldUtf8(std::string_view name, CaseFold fold) {
    return Finish(DecodeUtf8(name), fold);
}

FoldedName FoldUtf16(std::u16string_view name, CaseFold fold) {
    std::u32string text;
    text.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        char32_t c = name[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        }
        text.push_back(c);
    }
    return Finish(std::move(text), fold);
}

WildcardMask::WildcardMask(std::string_view pattern, CaseFold fold) : m_pattern(pattern), m_fold(fold) {
    std::u32string p = DecodeUtf8(pattern);
    // A mask names entries of one folder; with a separator the platform would search elsewhere.
    if (p.find_first_of(U"\\/:") != std::u32string::npos) return;
    if (p == U"*.*") p.assign(1, U'*');
    // Path normalisation drops trailing dots and blanks; "*." keeps its meaning through DOS_STAR.
    bool endsInDot = false;
    while (!p.empty() && (p.back() == U'.' || p.back() == U' ')) {
        endsInDot = endsInDot || p.back() == U'.';
        p.pop_back();
    }
    if (p.empty()) return;
    std::u32string e;
    for (size_t i = 0; i < p.size(); ++i) {
        char32_t c = p[i];
        if (c == U'*') {
            bool beforeDot = i + 1 < p.size() && p[i + 1] == U'.';
            bool last = i + 1 == p.size();
            e.push_back(beforeDot || (last && endsInDot) ? kDosStar : kStar);
        } else if (c == U'?') {
            e.push_back(kDosQm);
        } else if (c == U'.' && i + 1 < p.size() && (p[i + 1] == U'?' || p[i + 1] == U'*')) {
            e.push_back(kDosDot);
        } else {
            e.push_back(fold(c));
        }
    }
    m_expr = std::move(e);
    m_valid = true;
    m_everything = m_expr.size() == 1 && m_expr[0] == kStar;
    for (char32_t c : m_expr) {
        if (!IsWildcard(c)) {
            m_signature |= SignatureBit(c);
            ++m_literals;
        }
    }
    while (m_prefix < m_expr.size() && !IsWildcard(m_expr[m_prefix]))
        ++m_prefix;
    while (m_suffix < m_expr.size() && !IsWildcard(m_expr[m_expr.size() - 1 - m_suffix]))
        ++m_suffix;
}

bool WildcardMask::matches(std::string_view utf8Name) const {
    return matches(FoldUtf8(utf8Name, m_fold));
}

bool WildcardMask::matches(const FoldedName& name) const {
    if (!m_valid) return false;
    if (m_everything) return true;
    const std::u32string& s = name.text;
    if ((m_signature & ~name.signature) != 0 || s.size() < m_literals) return false;
    if (m_prefix == m_expr.size()) return s == m_expr; // no wildcard at all
    if (!std::equal(m_expr.begin(), m_expr.begin() + static_cast<std::ptrdiff_t>(m_prefix), s.begin())) return false;
    if (!std::equal(m_expr.end() - static_cast<std::ptrdiff_t>(m_suffix), m_expr.end(),
                    s.end() - static_cast<std::ptrdiff_t>(m_suffix)))
        return false;
    // The common "*.ext" and "*name" forms need nothing more once the tail has matched: a "*" takes
    // anything, and a DOS_STAR before a tail that holds a dot never has to pass the last dot.
    if (m_prefix == 0 && m_suffix + 1 == m_expr.size()) {
        char32_t w = m_expr[0];
        if (w == kStar) return true;
        if (w == kDosStar) {
            bool tailHasDot = std::find(m_expr.begin() + 1, m_expr.end(), U'.') != m_expr.end();
            if (tailHasDot) return true;
            return name.lastDot == std::u32string::npos || name.lastDot >= s.size() - m_suffix;
        }
    }
    return matchExpression(s, name.lastDot);
}

// The set of expression positions reachable after each name character (the file systems' own
// NFA walk). Positions only move forward, so one ascending pass computes each closure.
bool WildcardMask::matchExpression(const std::u32string& name, size_t lastDot) const {
    const size_t m = m_expr.size();
    std::vector<char> cur(m + 1, 0), next(m + 1, 0);
    auto closure = [&](std::vector<char>& set, size_t at) {
        bool atEnd = at >= name.size();
        char32_t c = atEnd ? 0 : name[at];
        for (size_t p = 0; p < m; ++p) {
            if (!set[p]) continue;
            char32_t t = m_expr[p];
            if (t == kStar || t == kDosStar || (t == kDosQm && (atEnd || c == U'.')) || (t == kDosDot && atEnd))
                set[p + 1] = 1;
        }
    };
    cur[0] = 1;
    closure(cur, 0);
    for (size_t i = 0; i < name.size(); ++i) {
        std::fill(next.begin(), next.end(), 0);
        char32_t c = name[i];
        bool any = false;
        for (size_t p = 0; p < m; ++p) {
            if (!cur[p]) continue;
            char32_t t = m_expr[p];
            size_t to = m + 1; // none
            if (t == kStar)
                to = p;
            else if (t == kDosStar)
                to = (c != U'.' || i != lastDot) ? p : m + 1;
            else if (t == kDosQm)
                to = c != U'.' ? p + 1 : m + 1;
            else if (t == kDosDot)
                to = c == U'.' ? p + 1 : m + 1;
            else if (t == c)
                to = p + 1;
            if (to <= m) {
                next[to] = 1;
                any = true;
            }
        }
        if (!any) return false;
        closure(next, i + 1);
        cur.swap(next);
    }
    return cur[m] != 0;
}

MaskSet::MaskSet(const std::vector<std::string>& patterns, CaseFold fold) : m_fold(fold) {
    for (const auto& p : patterns)
        m_masks.emplace_back(p, fold);
}

bool MaskSet::matchesAny(const FoldedName& longName, const FoldedName* shortName) const {
    for (const auto& mask : m_masks) {
        if (mask.matches(longName)) return true;
        if (shortName && mask.matches(*shortName)) return true;
    }
    return false;
}

} // namespace scan
