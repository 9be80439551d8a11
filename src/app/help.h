#pragma once
// Help: one HTML page per topic in the program's Help folder, opened with the shell.
#include <string>
#include <string_view>

namespace app {

// The page of a topic: ProgramFolder() + "Help\" + topic + ".html".
std::string HelpPage(std::string_view topic);
// Opens the topic's page; a missing page is reported with a message, not silently ignored.
void OpenHelpTopic(std::string_view topic);

} // namespace app
