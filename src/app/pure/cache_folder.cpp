#include "app/pure/cache_folder.h"

#include <string>
#include <vector>

namespace app {

namespace {
std::vector<std::string> Parts(std::string_view rest) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : rest) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

bool IsEmptiableFolder(std::string_view path) {
    std::string p(path);
    for (auto& c : p)
        if (c == '/') c = '\\';
    std::string_view rest = p;
    bool unc = false;
    if (rest.substr(0, 8) == "\\\\?\\UNC\\") {
        rest.remove_prefix(8);
        unc = true;
    } else if (rest.substr(0, 4) == "\\\\?\\") {
        rest.remove_prefix(4);
    } else if (rest.substr(0, 2) == "\\\\") {
        rest.remove_prefix(2);
        unc = true;
    }
    if (rest.find_first_of("*?\"<>|") != std::string_view::npos) return false;
    size_t rootParts = 0;
    if (unc) {
        rootParts = 2; // server and share
    } else {
        if (rest.size() < 3 || !IsDriveLetter(rest[0]) || rest[1] != ':' || rest[2] != '\\') return false;
        rest.remove_prefix(3);
    }
    auto parts = Parts(rest);
    for (auto& part : parts) {
        if (part == "." || part == "..") return false;
        if (part.find(':') != std::string::npos) return false;
    }
    return parts.size() > rootParts;
}

} // namespace app
