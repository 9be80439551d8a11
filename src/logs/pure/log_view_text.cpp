#include "logs/pure/log_view_text.h"

namespace logs {

uint64_t ViewReadOffset(uint64_t fileSize, uint64_t maxBytes) {
    return fileSize > maxBytes ? fileSize - maxBytes : 0;
}

ViewBytes PrepareViewBytes(std::string_view bytes, uint64_t offset) {
    ViewBytes out;
    out.omitted = offset;
    if (offset > 0) {
        size_t lf = bytes.find('\n');
        if (lf != std::string_view::npos) {
            bytes.remove_prefix(lf + 1);
            out.omitted += lf + 1;
        }
    }
    out.text.reserve(bytes.size() + bytes.size() / 32);
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r') {
            out.text += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out.text += "\r\n";
        } else if (c == '\0') {
            out.text += ' ';
        } else {
            out.text += c;
        }
    }
    return out;
}

std::string OmittedNotice(uint64_t omittedBytes, const textfmt::FormatSettings& fs) {
    return "[The first " + textfmt::FormatThousands(static_cast<int64_t>(omittedBytes), fs) +
           " bytes of this log are not shown here; the file itself is complete. Use \"View in Text Editor\" to "
           "see all of it.]\r\n";
}

} // namespace logs
