#pragma once
// The undo file: before the cleaner deletes values it appends each one, exactly as stored, to a file
// in the registry editor's export format, so importing the file puts every removed value back.
#include <windows.h>

#include <string>
#include <string_view>

namespace tools::regclean {

class UndoFile {
public:
    // Chooses a file name not yet used in the folder ("Undo_yyyymmdd_hhnnss.reg"); writes nothing yet.
    explicit UndoFile(std::string folder);
    const std::string& path() const noexcept { return m_path; }
    bool written() const noexcept { return m_written; }

    // Adds the value as the key holds it now to the pending text; false when the value is gone.
    bool add(HKEY key, std::wstring_view rootName, std::wstring_view keyPath, std::wstring_view valueName);
    bool hasPending() const noexcept { return !m_pending.empty(); }
    // Appends the pending values to the file (creating it with its header). Throws when the file
    // cannot be written, so that nothing is deleted without its copy.
    void flush();

private:
    std::string m_folder;
    std::string m_path;
    std::u16string m_pending;
    bool m_written = false;
};

} // namespace tools::regclean
