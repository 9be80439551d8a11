#include "tools/regclean/pure/reference_rules.h"

namespace tools::regclean {

namespace {
char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A text whose second character is not ":" has no drive root; GetDriveType would answer "no root"
// for what the rules would form from it.
DriveType DriveTypeOf(std::string_view text, PathProbe& probe) {
    std::string root = DriveRootOf(text);
    return root.empty() ? DriveType::NoRootDir : probe.driveType(root);
}
} // namespace

bool IsCdRomOrRemote(DriveType type) {
    return type == DriveType::CdRom || type == DriveType::Remote;
}

std::string DriveRootOf(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') return {};
    return std::string(text.substr(0, 2)) + "\\";
}

bool HasExtension(std::string_view text) {
    size_t slash = text.rfind('\\');
    std::string_view last = slash == std::string_view::npos ? text : text.substr(slash + 1);
    return last.find('.') != std::string_view::npos;
}

std::string FolderPart(std::string_view text) {
    size_t slash = text.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(text.substr(0, slash + 1));
}

bool IsValidReference(std::string_view s, bool excludeCdRomAndNetwork, PathProbe& probe) {
    // Rules 1 and 6 ask the same question of the same drive; it is asked once, and only for texts
    // that reach rule 6 or could be caught by rule 1 (those with a drive root).
    bool driveKnown = false;
    DriveType drive = DriveType::NoRootDir;
    auto driveType = [&] {
        if (!driveKnown) {
            drive = DriveTypeOf(s, probe);
            driveKnown = true;
        }
        return drive;
    };
    if (excludeCdRomAndNetwork && !DriveRootOf(s).empty() && IsCdRomOrRemote(driveType())) return true;
    if (s.size() < 3) return true;
    char first = AsciiUpper(s[0]);
    if (first < 'C' || first > 'Z') return true;
    if (s.find_first_of(";, ") != std::string_view::npos) return true;
    if (s[1] != ':' || s[2] != '\\') return true;
    if (driveType() != DriveType::Fixed) return true;
    if (!HasExtension(s)) {
        std::string folder(s);
        if (folder.back() != '\\') folder += '\\';
        return probe.enterFolder(folder);
    }
    if (!probe.enterFolder(FolderPart(s))) return false;
    return probe.pathExists(s);
}

bool SharedDllMissing(std::string_view path, bool excludeCdRomAndNetwork, PathProbe& probe) {
    if (excludeCdRomAndNetwork) {
        if (path.substr(0, 2) == "\\\\") return false;
        if (IsCdRomOrRemote(DriveTypeOf(path, probe))) return false;
    }
    return !probe.fileExists(path);
}

} // namespace tools::regclean
