#pragma once
// How a log file becomes the text of a view: a log too large to show at once is shown from a line
// near its end, and bytes an edit control cannot show as they are (NUL, lone CR or LF) are made safe.
// The file itself is never changed. Decoding from the ANSI code page is left to the caller.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/pure/format.h"

namespace logs {

// The most of a log one view shows (the last part of a larger file): about ten thousand lines of
// recent events. Edit controls slow down badly with megabytes of text (seconds per megabyte under
// Wine), and the text editor is one click away for the whole file.
inline constexpr uint64_t kMaxViewBytes = 512ull * 1024;

// Where reading starts so that at most maxBytes of the file's end are read.
uint64_t ViewReadOffset(uint64_t fileSize, uint64_t maxBytes = kMaxViewBytes);

struct ViewBytes {
    std::string text;     // still in the file's code page
    uint64_t omitted = 0; // bytes of the file before the text (0: the whole file is shown)
};
// The bytes read from `offset` made ready for an edit view. When offset > 0 the partial first line
// is dropped too (so that a multi-byte character is never cut: CR and LF are never trail bytes);
// a tail holding no line break at all is kept whole. NUL bytes, which would end the text early,
// become blanks; a lone CR or LF becomes CR LF.
ViewBytes PrepareViewBytes(std::string_view bytes, uint64_t offset);

// The first line of a view that shows only the end of its log (UTF-8), CR LF included.
std::string OmittedNotice(uint64_t omittedBytes, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

} // namespace logs
