#pragma once
// When a text found in the registry counts as a valid reference, and when a shared-DLL record
// points to a missing file. The file system is asked through PathProbe, so the rules and their
// order can be checked without one.
#include <string>
#include <string_view>

namespace tools::regclean {

// GetDriveType's answers, with the same numbers.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

class PathProbe {
public:
    virtual ~PathProbe() = default;
    // The type of a drive root "X:\" (the letter as written).
    virtual DriveType driveType(std::string_view root) = 0;
    // Makes a folder (ending in "\") the current folder; false when it cannot be entered.
    virtual bool enterFolder(std::string_view folder) = 0;
    // True when a file or a folder exists at path.
    virtual bool pathExists(std::string_view path) = 0;
    // True when a file (not a folder) exists at path.
    virtual bool fileExists(std::string_view path) = 0;
};

bool IsCdRomOrRemote(DriveType type);
// The drive root "X:\" of a text whose second character is ":"; empty for any other text.
std::string DriveRootOf(std::string_view text);
// True when the last path element (after the last "\") holds a ".".
bool HasExtension(std::string_view text);
// Everything up to and including the last "\"; empty when there is none.
std::string FolderPart(std::string_view text);

// The reference test, rule by rule in this order:
//  1. exclusion on and the drive is a CD-ROM or remote drive: valid;
//  2. fewer than 3 characters: valid;
//  3. first character (upper-cased) not a letter C to Z: valid;
//  4. a ";", "," or blank anywhere: valid;
//  5. second character not ":" or third not "\": valid;
//  6. the drive root is not a fixed drive: valid;
//  7. no extension: a folder, valid when it can be entered;
//  8. an extension: its folder must be entered, then valid when the path exists.
bool IsValidReference(std::string_view text, bool excludeCdRomAndNetwork, PathProbe& probe);

// A shared-DLL record is reported when no file exists at its path. With the exclusion on, paths
// on CD-ROM or network drives (UNC paths included) are skipped.
bool SharedDllMissing(std::string_view path, bool excludeCdRomAndNetwork, PathProbe& probe);

} // namespace tools::regclean
