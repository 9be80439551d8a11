#include "tools/regclean/registry_editor.h"

#include <windows.h>

#include <shellapi.h>

#include <utility>

#include "platform/process.h"
#include "platform/strings.h"

namespace tools::regclean {

namespace {
EditorRunner& Current() {
    static EditorRunner runner;
    return runner;
}

EditorRun RunRealEditor(const std::string& parameters, uint32_t timeoutMs) {
    std::wstring params = platform::Widen(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"Open";
    info.lpFile = L"Regedit.exe";
    info.lpParameters = params.c_str();
    info.nShow = SW_SHOW;
    EditorRun run;
    if (!ShellExecuteExW(&info)) {
        run.error = GetLastError();
        return run;
    }
    run.started = true;
    if (!info.hProcess) {
        // The shell handed the request to a running instance; there is nothing to wait for.
        run.finished = true;
        return run;
    }
    platform::StartedProcess process;
    process.process.reset(info.hProcess);
    process.processId = GetProcessId(info.hProcess);
    run.finished = platform::WaitForExitPumping(process, timeoutMs).has_value();
    return run;
}
} // namespace

EditorRun RunRegistryEditor(const std::string& parameters, uint32_t timeoutMs) {
    if (Current()) return Current()(parameters, timeoutMs);
    return RunRealEditor(parameters, timeoutMs);
}

EditorRunner SetRegistryEditorRunner(EditorRunner runner) {
    return std::exchange(Current(), std::move(runner));
}

} // namespace tools::regclean
