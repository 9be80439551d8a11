#pragma once
// The registry cleaner as the launcher opens it.

namespace tools::regclean {

// Creates the registry cleaner window and shows it modally; returns when it closes.
void ShowRegistryCleaner();

} // namespace tools::regclean
