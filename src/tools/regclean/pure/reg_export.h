#pragma once
// The registry editor's export format (version 5: UTF-16 text), for the undo file that keeps every
// value the cleaner removes so that importing the file puts them back.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools::regclean {

// Registry value types, as winnt.h numbers them.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

// The first line of the file (without the byte-order mark), CR LF ended.
std::u16string RegExportHeader();
// An empty line, then "[root\path]" (path with or without its leading "\").
std::u16string RegExportKeyLine(std::u16string_view rootName, std::u16string_view keyPath);
// One value in the editor's notation, with line continuations after 80 columns, CR LF ended:
// "name"="text" for plain strings, dword:0000002a for 4-byte DWORDs, hex(n): bytes for the rest
// (and for strings that are not a single terminated text without control characters).
std::u16string RegExportValue(std::u16string_view name, uint32_t type, const std::vector<uint8_t>& data);
// "name" with "\" and """ escaped, or "@" for the default value.
std::u16string RegExportName(std::u16string_view name);

} // namespace tools::regclean
