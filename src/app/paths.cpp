#include "app/paths.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>

#include "platform/files.h"
#include "platform/handles.h"
#include "platform/strings.h"

namespace app {

namespace {
std::string& ProgramOverride() {
    static std::string folder;
    return folder;
}
std::optional<std::string>& DataCache() {
    static std::optional<std::string> folder;
    return folder;
}

bool CanWriteIn(const std::string& folder) {
    std::string probe = folder + "~vantrel-write-test.tmp";
    platform::UniqueFile f(CreateFileW(platform::Widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (f) return true;
    // An earlier probe that survived a crash still proves the folder is writable if it can go.
    return GetLastError() == ERROR_FILE_EXISTS && platform::DeleteFileAt(probe);
}
} // namespace

std::string ProgramFolder() {
    if (!ProgramOverride().empty()) return ProgramOverride();
    static const std::string folder = platform::ExecutableFolder();
    return folder;
}

std::string DataFolder() {
    if (DataCache()) return *DataCache();
    std::string folder = ProgramFolder();
    if (!CanWriteIn(folder)) {
        std::string local = platform::SpecialFolder(CSIDL_LOCAL_APPDATA);
        if (!local.empty()) {
            std::string fallback = local + "\\Vantrel\\";
            if (platform::ForceFolders(fallback)) folder = fallback;
        }
    }
    DataCache() = folder;
    return folder;
}

void SetProgramFolderForTesting(const std::string& folder) {
    ProgramOverride() = folder.empty() ? std::string() : platform::IncludeTrailingBackslash(folder);
    DataCache().reset();
}

} // namespace app
