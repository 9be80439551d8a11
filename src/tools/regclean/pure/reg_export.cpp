#include "tools/regclean/pure/reg_export.h"

namespace tools::regclean {

namespace {
constexpr size_t kWrapColumn = 76;

std::u16string Hex(uint32_t value, int digits) {
    static const char16_t kDigits[] = u"0123456789abcdef";
    std::u16string out(static_cast<size_t>(digits), u'0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return out;
}

std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + 2);
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') out += u'\\';
        out += c;
    }
    return out;
}

// A REG_SZ the editor can write as "text": exactly one terminating NUL and no control character,
// which its line-based reader could not carry.
bool IsPlainString(const std::vector<uint8_t>& data, std::u16string& text) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    size_t units = data.size() / 2;
    text.clear();
    for (size_t i = 0; i < units; ++i) {
        char16_t c = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (i + 1 == units) return c == 0;
        if (c < 0x20) return false;
        text += c;
    }
    return false;
}

std::u16string HexValue(std::u16string prefix, const std::vector<uint8_t>& data) {
    std::u16string out, line = std::move(prefix);
    for (size_t i = 0; i < data.size(); ++i) {
        line += Hex(data[i], 2);
        if (i + 1 == data.size()) break;
        line += u',';
        if (line.size() > kWrapColumn) {
            out += line + u"\\\r\n";
            line = u"  ";
        }
    }
    return out + line + u"\r\n";
}
} // namespace

std::u16string RegExportHeader() {
    return u"Windows Registry Editor Version 5.00\r\n";
}

std::u16string RegExportKeyLine(std::u16string_view rootName, std::u16string_view keyPath) {
    while (!keyPath.empty() && keyPath.front() == u'\\')
        keyPath.remove_prefix(1);
    std::u16string out = u"\r\n[";
    out += rootName;
    if (!keyPath.empty()) {
        out += u'\\';
        out += keyPath;
    }
    return out + u"]\r\n";
}

std::u16string RegExportName(std::u16string_view name) {
    if (name.empty()) return u"@";
    return u"\"" + Escaped(name) + u"\"";
}

std::u16string RegExportValue(std::u16string_view name, uint32_t type, const std::vector<uint8_t>& data) {
    std::u16string head = RegExportName(name) + u"=";
    if (type == kRegSz) {
        std::u16string text;
        if (IsPlainString(data, text)) return head + u"\"" + Escaped(text) + u"\"\r\n";
    }
    if (type == kRegDword && data.size() == 4) {
        uint32_t v = static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                     (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
        return head + u"dword:" + Hex(v, 8) + u"\r\n";
    }
    if (type == kRegBinary) return HexValue(head + u"hex:", data);
    std::u16string digits = Hex(type, 8);
    size_t first = digits.find_first_not_of(u'0');
    digits = first == std::u16string::npos ? u"0" : digits.substr(first);
    return HexValue(head + u"hex(" + digits + u"):", data);
}

} // namespace tools::regclean
