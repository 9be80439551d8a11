#pragma once
// What the junk cleaner looks for and how it is kept in the settings: the file types with their
// check marks ("ScanFor" / "ScanDesc"), the checked drive letters ("Drives") and the mask text
// the file-type walk uses.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools::junk {

struct FileType {
    std::string pattern;
    std::string description;
    bool checked = true;
    bool operator==(const FileType&) const = default;
};

// The 13 types used while nothing is stored, all checked.
const std::vector<FileType>& DefaultFileTypes();
// The stored forms of the defaults.
std::string DefaultScanFor();
std::string DefaultScanDesc();
// What "Drives" holds while nothing is stored: no letter, so no drive is checked.
inline constexpr const char* kDefaultDrives = "---";

// One entry of a stored list: the text before a comma and the flag after it.
struct StoredEntry {
    std::string text;
    bool flag = false;
    bool operator==(const StoredEntry&) const = default;
};
// Reads "text,1,text,0,...". The flag is on when the character after the text's comma is "1".
// Reading stops at the first entry that lacks a comma: an entry with its text comma but no final
// comma is still read (its flag from what follows the text), a trailing text with no comma at all
// is dropped, so a hand-edited or cut value can never make the reading loop.
std::vector<StoredEntry> ParseStoredList(std::string_view stored);
// Text, ",", "1," or "0," per entry, in order.
std::string FormatStoredList(const std::vector<StoredEntry>& entries);

// The rows read from "ScanFor", with the n-th description of "ScanDesc" on the n-th row (its flag
// is ignored; surplus descriptions are not used; rows without one get an empty description).
std::vector<FileType> ReadFileTypes(std::string_view scanFor, std::string_view scanDesc);
std::string WriteScanFor(const std::vector<FileType>& types);
std::string WriteScanDesc(const std::vector<FileType>& types);

// A comma inside a pattern or description would shift every later entry on the next read, so the
// input boxes refuse one. The message to show, or nullopt when the text can be stored.
std::optional<std::string> StoredTextProblem(std::string_view text, bool isPattern);

// The file-type walk's masks: the checked patterns, in list order, as comma text. Blanks around a
// pattern are dropped; a pattern holding a blank or a double quote is quoted so that it stays one
// mask. No checked row gives the empty text.
std::string BuildMaskText(const std::vector<FileType>& types);

// The letter of a drive-list caption for "Drives": the character just before its first colon;
// nullopt when the caption has none there.
std::optional<char> LetterBeforeFirstColon(std::string_view caption);
// Whether a row with this letter is checked by the stored value: the letter is one of the value's
// first rowCount characters (letter case aside).
bool StoredDriveChecked(std::string_view stored, size_t rowCount, char letter);

} // namespace tools::junk
