#pragma once
// One-off hints the user can switch off per name or all at once (HKCU\...\Vantrel\Hints).
#include <string_view>

namespace app {

inline constexpr const char* kHintsKey = "\\Software\\Quorvel\\Vantrel\\Hints";

// True when the hint of this name would be shown now (its flag and "All" missing or true).
bool HintEnabled(std::string_view name);
// Shows the hint window modally unless the hint or all hints are switched off; returns when the
// window is closed.
void ShowHint(std::string_view name, std::string_view text);

} // namespace app
