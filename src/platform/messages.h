#pragma once
// The message pump. Long work on the UI thread stays responsive by calling ProcessMessages.
#include <functional>

namespace platform {

// Lets every pending window message run, then returns (the "let pending messages run" step).
// A WM_QUIT met here is put back so the outer loop sees it.
void ProcessMessages();
// Runs the message loop until WM_QUIT or until done() returns true; returns the WM_QUIT code or 0.
int RunMessageLoop(const std::function<bool()>& done = {});
// Ends the application's message loop.
void QuitApplication(int code = 0);
bool QuitRequested();

} // namespace platform
