#include "platform/process.h"

#include "platform/messages.h"
#include "platform/strings.h"

namespace platform {

std::optional<StartedProcess> StartProcess(std::string_view commandLine, std::string_view directory, int show) {
    std::wstring cmd = Widen(commandLine);
    std::wstring dir = Widen(directory);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.empty() ? nullptr : dir.c_str(),
                        &si, &pi))
        return std::nullopt;
    CloseHandle(pi.hThread);
    StartedProcess p;
    p.process.reset(pi.hProcess);
    p.processId = pi.dwProcessId;
    return p;
}

std::optional<DWORD> WaitForExit(const StartedProcess& p, DWORD timeoutMs) {
    if (WaitForSingleObject(p.process.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(p.process.get(), &code);
    return code;
}

std::optional<DWORD> WaitForExitPumping(const StartedProcess& p, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    HANDLE h = p.process.get();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (timeoutMs != INFINITE && elapsed >= timeoutMs) return std::nullopt;
        DWORD left = timeoutMs == INFINITE ? INFINITE : timeoutMs - elapsed;
        DWORD rc = MsgWaitForMultipleObjects(1, &h, FALSE, left, QS_ALLINPUT);
        if (rc == WAIT_OBJECT_0) break;
        if (rc == WAIT_OBJECT_0 + 1) {
            ProcessMessages();
            continue;
        }
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(h, &code);
    return code;
}

std::string QuoteArgument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

} // namespace platform
