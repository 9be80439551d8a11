#pragma once
// The shared line vocabulary of the tool logs.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/pure/format.h"

namespace logs {

// Block headers; the date follows directly.
inline constexpr const char* kOpenSession = "OPEN SESSION: ";
inline constexpr const char* kSessionStart = "SESSION START: ";
inline constexpr const char* kCloseSession = "CLOSE SESSION: ";
inline constexpr const char* kSessionClose = "SESSION CLOSE: ";
inline constexpr const char* kOperationStart = "OPERATION START: ";
inline constexpr const char* kOperationComplete = "OPERATION COMPLETE: ";

// Exactly 40 equals signs.
std::string SeparatorLine();
// "TOTAL SPACE RECOVERED: " + B + " bytes (" + M + " megabytes.)", B with thousands separators and
// no decimals, M = B / 1 048 576 with thousands separators and two decimals.
// Totals are 64-bit: past 2 GiB the line shows the true total ("2,147,483,648 bytes (2,048.00
// megabytes.)"), never a 32-bit wrap to a negative number. Only the counters are 32-bit.
std::string SpaceLine(int64_t bytes, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// The fixed line for nothing recovered.
std::string ZeroSpaceLine();
// The space line, or the fixed zero line when the total is not positive (the trace eraser's rule).
std::string SpaceOrZeroLine(int64_t bytes, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// Two blanks, then the text.
std::string DetailLine(std::string_view text);

// The blocks that frame a log, line by line ("" = an empty line). `date` is the stamp in force.
// Opening (interactive): separator; header + date; separator; empty.
std::vector<std::string> OpeningBlock(std::string_view header, std::string_view date);
// Closing (interactive): empty; separator; header + date; the count and space lines; separator; empty.
std::vector<std::string> ClosingBlock(std::string_view header, std::string_view date,
                                      const std::vector<std::string>& lines);
// Operation start (unattended): empty; separator; "OPERATION START: " + date; separator; the junk
// log adds an empty line before its details.
std::vector<std::string> OperationStartBlock(std::string_view date, bool junkLog);
// Operation end (unattended): separator; "OPERATION COMPLETE: " + date; the count and space lines;
// separator; in the junk log the block begins and ends with an empty line.
std::vector<std::string> OperationEndBlock(std::string_view date, const std::vector<std::string>& lines, bool junkLog);

} // namespace logs
