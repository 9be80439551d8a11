#pragma once
// RAII fixtures for Wine tests: a scratch folder, a scratch registry key, the launcher recorder.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/shell.h"

namespace testsupport {

// A fresh folder under the prefix's temporary folder, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const noexcept { return m_path; } // with trailing backslash
    std::string file(std::string_view name) const { return m_path + std::string(name); }
    // Writes a file (creating folders on the way) and returns its full path.
    std::string write(std::string_view relative, std::string_view bytes = {}) const;
    std::string mkdir(std::string_view relative) const;

private:
    std::string m_path;
};

// Deletes the whole tree of a folder (attributes cleared first); for fixtures only.
void RemoveTree(const std::string& path);

// Records what the program would start through the shell instead of starting it.
class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    const std::vector<platform::ShellRequest>& requests() const noexcept { return m_requests; }
    bool succeed = true;

private:
    std::vector<platform::ShellRequest> m_requests;
    platform::ShellLauncher m_previous;
};

// A key under HKCU\Software\Quorvel\Vantrel cleared before and after the test.
void ClearProductKey();

// The folder holding the built Vantrel.exe (the test executables live in build\tests\).
std::string BuildFolder();

std::string ReadText(const std::string& path); // whole file; empty when missing

// While it lives, closes the first property sheet (a visible dialog of this thread) that shows
// up, and keeps its caption.
class SheetCloser {
public:
    SheetCloser();
    ~SheetCloser();
    SheetCloser(const SheetCloser&) = delete;
    SheetCloser& operator=(const SheetCloser&) = delete;
    static const std::string& caption();

private:
    UINT_PTR m_timer = 0;
};

} // namespace testsupport
