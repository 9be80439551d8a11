#pragma once
// TTreeScanner: walks a folder tree depth first on the UI thread and reports every folder it
// enters and every file that matches one of its masks. Files of a folder are reported in
// case-insensitive name order before anything below it; the message queue runs once per folder;
// a walk stops when its owner clears ContinueSearch.
//
// Each folder is listed once and the masks are tested in memory, against the long name and the
// 8.3 alias, with the Windows wildcard rules (Wine's own matching differs). Folders that are
// reparse points (symbolic links, junctions) are never entered, nor is a folder entered twice in
// one walk (folders are known by their final path).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "scan/pure/sorted_text.h"
#include "scan/pure/wildcard.h"

namespace scan {

class TTreeScanner {
public:
    using Event = std::function<void(TTreeScanner& sender)>;

    TTreeScanner();
    TTreeScanner(const TTreeScanner&) = delete;
    TTreeScanner& operator=(const TTreeScanner&) = delete;

    // Fired when a folder is entered (and, when not Recursive, for each subfolder not entered).
    Event OnDirectoryFound;
    // Fired when all of a folder's files and subfolders have been handled.
    Event OnDirectoryDone;
    // Fired once at the end of every Search that was not ended by an error.
    Event OnSearchDone;
    // Fired once for each matching file.
    Event OnFileFound;

    // The folder (with a trailing backslash) or file being reported.
    const std::string& FileFound() const noexcept { return m_fileFound; }
    // The size of the file being reported, all 64 bits; 0 outside OnFileFound.
    int64_t FileSize() const noexcept { return m_fileSize; }
    // True from the start of Search until just before OnSearchDone (or until an error leaves it).
    bool SearchInProgress() const noexcept { return m_searchInProgress; }

    // The first mask in sorted order, or empty. Setting replaces the list by one mask (an empty
    // value is one empty mask, which matches nothing); ignored while a search runs.
    std::string FileMask() const;
    void SetFileMask(std::string_view mask);
    // The whole mask list as comma text; setting parses it. Ignored while a search runs.
    std::string FileMaskCommaText() const;
    void SetFileMaskCommaText(std::string_view text);
    // The mask list, sorted without regard to case, duplicates dropped.
    const std::vector<std::string>& Masks() const noexcept { return m_masks.items(); }

    // The folder where Search starts; empty means the current directory. Search stores the
    // normalised form back (ending in one backslash).
    std::string InitialDirectory;
    bool Recursive = true;
    bool FindHiddenFiles = false;
    bool FindHiddenFolders = false;
    // Search sets it; the walk stops descending once it is false. Owners clear it to stop.
    bool ContinueSearch = false;

    // Runs one walk and returns after OnSearchDone. An error raised by a handler propagates out
    // (OnSearchDone is not fired). Calling it again from inside a running search is refused with
    // std::logic_error.
    void Search();

private:
    struct FileEntry {
        std::wstring name;
        int64_t size = 0;
    };
    void Walk(const std::string& folder, const std::wstring& wideFolder);
    bool FirstVisit(const std::wstring& wideFolder);
    void Fire(const Event& e);

    std::string m_fileFound;
    int64_t m_fileSize = 0;
    bool m_searchInProgress = false;
    SortedTextList m_masks;
    MaskSet m_compiled;

    std::unordered_set<std::wstring> m_visited; // final paths of the folders entered, upper case
};

} // namespace scan
