#pragma once
// The folders recorded for the deferred clean-up come from the registry, where anything can have
// been written. Emptying "folder\*.*" of an empty, relative or root path would empty the current
// folder or a whole drive, so only a full path below a drive or share root qualifies.
#include <string_view>

namespace app {

// True for "C:\dir" or "\\server\share\dir" (any depth, trailing backslash allowed); false for
// empty, relative and drive-relative paths, drive and share roots, "." and ".." parts and wildcards.
bool IsEmptiableFolder(std::string_view path);

} // namespace app
