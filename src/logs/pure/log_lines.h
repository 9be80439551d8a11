#pragma once
// The shared line vocabulary of the tool logs.
#include <cstdint>
#include <string>

#include "app/pure/format.h"

namespace logs {

// Exactly 40 equals signs.
std::string SeparatorLine();
// "TOTAL SPACE RECOVERED: " + B + " bytes (" + M + " megabytes.)"; B and M from the 32-bit total
// the log reports (see SpaceLine in the README for totals past 2 GiB).
std::string SpaceLine(int64_t bytes, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
// The fixed line for nothing recovered.
std::string ZeroSpaceLine();

} // namespace logs
