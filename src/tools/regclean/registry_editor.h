#pragma once
// Runs the system's registry editor for the backup and the restore, and waits for it to finish.
// Tests replace the runner to see the parameters or to simulate an editor that writes nothing.
#include <cstdint>
#include <functional>
#include <string>

namespace tools::regclean {

struct EditorRun {
    bool started = false;  // the editor could be started
    bool finished = false; // it ended within the time allowed
    uint32_t error = 0;    // the system's error number when it could not be started
};

// How long a backup or restore may take before the cleaner stops waiting for it.
inline constexpr uint32_t kEditorTimeoutMs = 10 * 60 * 1000;

using EditorRunner = std::function<EditorRun(const std::string& parameters, uint32_t timeoutMs)>;

// Starts "Regedit.exe" with the parameters (verb "Open", shown normally, no working folder) and
// waits, letting window messages run, until it ends or the time is up.
EditorRun RunRegistryEditor(const std::string& parameters, uint32_t timeoutMs);
// Replaces the runner; an empty function restores the real editor. Returns the previous one.
EditorRunner SetRegistryEditorRunner(EditorRunner runner);

} // namespace tools::regclean
