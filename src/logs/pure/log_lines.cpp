#include "logs/pure/log_lines.h"

namespace logs {

std::string SeparatorLine() {
    return std::string(40, '=');
}

std::string SpaceLine(int64_t bytes, const textfmt::FormatSettings& fs) {
    return "TOTAL SPACE RECOVERED: " + textfmt::FormatThousands(bytes, fs) + " bytes (" +
           textfmt::FormatMegabytes(bytes, fs) + " megabytes.)";
}

std::string ZeroSpaceLine() {
    return "TOTAL SPACE RECOVERED: 0.00 bytes (0.00 megabytes.)";
}

std::string SpaceOrZeroLine(int64_t bytes, const textfmt::FormatSettings& fs) {
    return bytes > 0 ? SpaceLine(bytes, fs) : ZeroSpaceLine();
}

std::string DetailLine(std::string_view text) {
    return "  " + std::string(text);
}

std::vector<std::string> OpeningBlock(std::string_view header, std::string_view date) {
    return {SeparatorLine(), std::string(header) + std::string(date), SeparatorLine(), ""};
}

std::vector<std::string> ClosingBlock(std::string_view header, std::string_view date,
                                      const std::vector<std::string>& lines) {
    std::vector<std::string> block{"", SeparatorLine(), std::string(header) + std::string(date)};
    block.insert(block.end(), lines.begin(), lines.end());
    block.push_back(SeparatorLine());
    block.push_back("");
    return block;
}

std::vector<std::string> OperationStartBlock(std::string_view date, bool junkLog) {
    std::vector<std::string> block{"", SeparatorLine(), kOperationStart + std::string(date), SeparatorLine()};
    if (junkLog) block.push_back("");
    return block;
}

std::vector<std::string> OperationEndBlock(std::string_view date, const std::vector<std::string>& lines, bool junkLog) {
    std::vector<std::string> block;
    if (junkLog) block.push_back("");
    block.push_back(SeparatorLine());
    block.push_back(kOperationComplete + std::string(date));
    block.insert(block.end(), lines.begin(), lines.end());
    block.push_back(SeparatorLine());
    if (junkLog) block.push_back("");
    return block;
}

} // namespace logs
