#include "tools/junk/pure/criteria.h"

#include <algorithm>

#include "scan/pure/sorted_text.h"

namespace tools::junk {

namespace {
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}
} // namespace

const std::vector<FileType>& DefaultFileTypes() {
    static const std::vector<FileType> types{
        {"*.~*", "Temporary Files", true},
        {"~*.*", "Temporary Files", true},
        {"*.??~", "Temporary Files", true},
        {"*.---", "Temporary Files", true},
        {"*.tmp", "Temporary Files", true},
        {"*._mp", "Temporary Files", true},
        {"*.old", "Temporary backup files", true},
        {"*.bak", "Temporary backup files", true},
        {"*.syd", "Temporary backup files", true},
        {"*.chk", "Saved disk error data from scandisk", true},
        {"*.gid", "Temporary help file search data", true},
        {"mscreate.dir", "Temporary directory information", true},
        {"0???????.nch", "Temporary cached newsgroup data", true},
    };
    return types;
}

std::string DefaultScanFor() {
    return WriteScanFor(DefaultFileTypes());
}

std::string DefaultScanDesc() {
    return WriteScanDesc(DefaultFileTypes());
}

std::vector<StoredEntry> ParseStoredList(std::string_view stored) {
    std::vector<StoredEntry> entries;
    size_t i = 0;
    while (i < stored.size()) {
        const size_t textEnd = stored.find(',', i);
        if (textEnd == std::string_view::npos) break;
        StoredEntry entry;
        entry.text = std::string(stored.substr(i, textEnd - i));
        i = textEnd + 1;
        entry.flag = i < stored.size() && stored[i] == '1';
        entries.push_back(std::move(entry));
        const size_t flagEnd = stored.find(',', i);
        if (flagEnd == std::string_view::npos) break;
        i = flagEnd + 1;
    }
    return entries;
}

std::string FormatStoredList(const std::vector<StoredEntry>& entries) {
    std::string out;
    for (const auto& e : entries) {
        out += e.text;
        out += e.flag ? ",1," : ",0,";
    }
    return out;
}

std::vector<FileType> ReadFileTypes(std::string_view scanFor, std::string_view scanDesc) {
    std::vector<FileType> types;
    for (auto& e : ParseStoredList(scanFor))
        types.push_back({std::move(e.text), {}, e.flag});
    const auto descriptions = ParseStoredList(scanDesc);
    for (size_t i = 0; i < types.size() && i < descriptions.size(); ++i)
        types[i].description = descriptions[i].text;
    return types;
}

std::string WriteScanFor(const std::vector<FileType>& types) {
    std::vector<StoredEntry> entries;
    for (const auto& t : types)
        entries.push_back({t.pattern, t.checked});
    return FormatStoredList(entries);
}

std::string WriteScanDesc(const std::vector<FileType>& types) {
    std::vector<StoredEntry> entries;
    for (const auto& t : types)
        entries.push_back({t.description, t.checked});
    return FormatStoredList(entries);
}

std::optional<std::string> StoredTextProblem(std::string_view text, bool isPattern) {
    if (text.find(',') == std::string_view::npos) return std::nullopt;
    return isPattern ? "A file type cannot contain a comma (\",\"). Enter one name or pattern per file type."
                     : "A description cannot contain a comma (\",\").";
}

std::string BuildMaskText(const std::vector<FileType>& types) {
    std::string text;
    bool first = true;
    for (const auto& t : types) {
        if (!t.checked) continue;
        if (!first) text += ',';
        first = false;
        // One entry at a time, so that an empty pattern is written as "" wherever it stands (a
        // bare empty entry at the end would read back as nothing).
        text += scan::ToCommaText({std::string(TrimBlanks(t.pattern))});
    }
    return text;
}

std::optional<char> LetterBeforeFirstColon(std::string_view caption) {
    const size_t colon = caption.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    return caption[colon - 1];
}

bool StoredDriveChecked(std::string_view stored, size_t rowCount, char letter) {
    const std::string_view considered = stored.substr(0, std::min(stored.size(), rowCount));
    for (char c : considered)
        if (AsciiUpper(c) == AsciiUpper(letter)) return true;
    return false;
}

} // namespace tools::junk
