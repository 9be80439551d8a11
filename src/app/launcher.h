#pragma once
// The interactive start: the launcher window and the message loop that runs until it ends the
// program.
#include <string_view>

namespace app {

// Shows the launcher and runs the message loop until the launcher's exit button (or the system's
// close command, which does the same) ends the program. Returns the exit code.
int RunLauncher();
// For screenshots: as RunLauncher, with one button lit as if the pointer rested on it ("imgJunk";
// empty for none).
int RunLauncherForScreenshot(std::string_view litButton);

} // namespace app
