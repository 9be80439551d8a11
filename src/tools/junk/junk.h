#pragma once
// The junk cleaner as the launcher opens it.
#include <windows.h>

namespace tools::junk {

// Creates the junk cleaner window and shows it modally; returns when it closes.
void ShowJunkCleaner(HWND owner = nullptr);

} // namespace tools::junk
