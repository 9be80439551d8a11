#pragma once
// The program's folder and the folder its logs, backups and reports go to.
#include <string>

namespace app {

// The folder of the running executable, with a trailing backslash.
std::string ProgramFolder();
// Where the program writes its files: the program folder when it can be written, otherwise
// %LOCALAPPDATA%\Vantrel\ (created on demand). Decided once per process, at the first call.
std::string DataFolder();
// Tests point both at a scratch folder; an empty text restores the real folders.
void SetProgramFolderForTesting(const std::string& folder);

} // namespace app
