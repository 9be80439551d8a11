#pragma once
// Rules of the scanning components that need no Windows: the scanner's start-folder
// normalisation, the shell operation's flags and collision names, and the row formats, caption
// conventions and sort order of the drive and file lists.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/pure/format.h"
#include "scan/pure/sorted_text.h"

namespace scan {

// The scanner's start folder: a trailing backslash is added, then one backslash that ends a
// folder name is dropped ("C:\TEMP\" -> "C:\TEMP", a root "C:\" stays), and one is added again;
// so "C:", "C:\TEMP" and "C:\TEMP\" give "C:\", "C:\TEMP\" and "C:\TEMP\".
std::string NormaliseInitialDirectory(std::string_view path);

// SHFileOperation flag values, spelt out so that the rules build without the SDK.
inline constexpr unsigned kFofMultiDestFiles = 0x1;
inline constexpr unsigned kFofSilent = 0x4;
inline constexpr unsigned kFofRenameOnCollision = 0x8;
inline constexpr unsigned kFofNoConfirmation = 0x10;
inline constexpr unsigned kFofAllowUndo = 0x40;
inline constexpr unsigned kFofFilesOnly = 0x80;
inline constexpr unsigned kFofSimpleProgress = 0x100;
inline constexpr unsigned kFofNoConfirmMkDir = 0x200;

struct ShellOpOptions {
    bool filesOnly = false;
    bool noConfirmation = false;
    bool autoMakeDir = false;
    bool renameOnCollision = false;
    bool animate = false;
    bool hasProgressTitle = false;
};
enum class ShellOpKind { Delete, Move };
// The flags an operation passes to the shell (a recycle is a delete with allow-undo).
unsigned ShellOpFlags(const ShellOpOptions& options, ShellOpKind kind, bool allowUndo);

// The name that a moved item takes when its own name is taken in the destination: Explorer's
// "keep both" form, the number before the extension: "x.txt" -> "x (2).txt", "x" -> "x (2)";
// a folder, or a name whose only dot leads it, gets the number at the end. attempt >= 2.
std::string CollisionName(std::string_view name, int attempt, bool isFolder);

// Drive list captions hold the letter and a colon in parentheses ("Local Disk (C:)").
// The letter two places after the first " (", upper-cased; nullopt when " (" or ":)" is missing.
std::optional<char> DriveLetterOfCaption(std::string_view caption);
// The root of a caption for the fixed-drive check: the two characters before the final one and
// a backslash ("Local Disk (C:)" -> "C:\"); empty when the caption is shorter than three.
std::string DriveRootOfCaption(std::string_view caption);

// "R", "H", "S", "A" or a blank each, in that order.
std::string AttributeText(bool readOnly, bool hidden, bool system, bool archive);

// A date-time written in the "c" form (short date, a blank, the long time; the time may be
// absent), read back with the date order of the short date format; nullopt when it is not one.
std::optional<double> ParseDateTimeText(std::string_view text,
                                        const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

// The file list's column order: 1 (size) as integers, a text that is not a number counting as 0;
// 3 (date) as date-times, unreadable text counting as now and dates closer than 1/100000 of a day
// equal; every other column by text, without regard to letter case.
int CompareFileListColumn(int column, std::string_view a, std::string_view b, const TextCompare& compareText,
                          double now, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

// The version-resource query for a string of the first translation:
// "\StringFileInfo\" + language and code page as lower-case four-digit hex + "\" + name.
std::string VersionStringQuery(uint16_t language, uint16_t codePage, std::string_view name);

} // namespace scan
