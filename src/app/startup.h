#pragma once
// Start-up: application settings, the hidden shared form and dispatch on the first argument.
#include <string>
#include <vector>

namespace app {

enum class Switch { None, CompleteCache, CleanJunk, CleanHistory, RegistryClean, SetSchedule, Unknown };

// The first argument upper-cased and compared exactly; further arguments are ignored.
Switch ParseSwitch(const std::vector<std::string>& args);
// The process's arguments after the program name.
std::vector<std::string> CommandLineArguments();

int RunApplication();
// "/COMPLETECACHE": empties the recorded cookie, cache and history folders.
void CompleteCache();

} // namespace app
