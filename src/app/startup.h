#pragma once
// Start-up: application settings, the hidden shared form and dispatch on the first argument.
#include <functional>
#include <string>
#include <vector>

namespace app {

class TfrmProgress;

enum class Switch { None, CompleteCache, CleanJunk, CleanHistory, RegistryClean, SetSchedule, Unknown };

// The first argument upper-cased and compared exactly; further arguments are ignored.
Switch ParseSwitch(const std::vector<std::string>& args);
// The process's arguments after the program name.
std::vector<std::string> CommandLineArguments();

inline constexpr const char* kApplicationTitle = "Vantrel";
inline constexpr const char* kPrivacyKey = "\\software\\Quorvel\\Vantrel\\privacy";

// Application-wide settings made at start: the title and the help file (the program's folder
// followed by "Vantrel.hlp"; help itself opens the HTML pages of app/help.h).
void InitApplication();
const std::string& ApplicationTitle();
const std::string& HelpFile();

// The whole run: settings, the shared form, dispatch, and the orderly end.
int RunApplication();

// Called each time the clean-up's progress window shows a new state: once when it appears, then
// after each status line.
using ProgressObserver = std::function<void(TfrmProgress&)>;
// "/COMPLETECACHE": shows the progress window, empties the folders recorded as "Cookies", "Cache"
// and "History" under the privacy key and deletes those values, then closes the window. It does
// not end the program; an error is reported in the standard error box after the window is gone.
void CompleteCache(const ProgressObserver& observer = {});

// The end of every branch: pending messages, the shared form destroyed, pending messages again,
// then the application is asked to terminate.
void EndApplication();

} // namespace app
