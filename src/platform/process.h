#pragma once
// Starting programs and waiting for them.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/handles.h"

namespace platform {

struct StartedProcess {
    UniqueHandle process;
    DWORD processId = 0;
};

// CreateProcessW with a full command line; nullopt when it could not start.
std::optional<StartedProcess> StartProcess(std::string_view commandLine, std::string_view directory = {},
                                           int show = SW_SHOWNORMAL);
// Waits up to timeoutMs (INFINITE allowed); the exit code, or nullopt on time-out.
std::optional<DWORD> WaitForExit(const StartedProcess& p, DWORD timeoutMs);
// Waits while letting window messages run, so a window stays responsive during the wait.
std::optional<DWORD> WaitForExitPumping(const StartedProcess& p, DWORD timeoutMs);
// Quotes one argument for a command line when it holds blanks or quotes.
std::string QuoteArgument(std::string_view arg);

} // namespace platform
