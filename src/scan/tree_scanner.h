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
//
// A scanner may record its listings in a TListingStore for a later walk of the same tree by
// another scanner, which then replays them instead of listing each folder again.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scan/pure/sorted_text.h"
#include "scan/pure/wildcard.h"

namespace scan {

// What one walk saw, kept for a second walk over the same folders in the same operation (a tool
// that walks a drive once per kind of finding lists every folder once). A recording keeps every
// folder and only the files KeepFile accepts; the replaying walk sees just those files, applies
// its own masks and hidden rules to them, and lists afresh any folder the recording never reached.
class TListingStore {
public:
    struct Entry {
        std::wstring name, alias;
        int64_t size = 0;
        uint32_t attributes = 0;
        // As FILETIME values (100 ns units since 1601, UTC).
        uint64_t creationTime = 0, lastAccessTime = 0, lastWriteTime = 0;
    };
    struct Listing {
        bool entered = true; // false: the recording walk had entered this folder already
        std::vector<Entry> entries;
    };

    // Which files a recording keeps; none set keeps every file.
    std::function<bool(const Entry&)> KeepFile;
    // True: walks that use the store record into it; false: they replay from it.
    bool Recording = true;

    void Clear() { m_folders.clear(); }
    bool Empty() const noexcept { return m_folders.empty(); }
    const Listing* Find(const std::wstring& folder) const;
    Listing& Add(const std::wstring& folder) { return m_folders[folder]; }

private:
    std::unordered_map<std::wstring, Listing> m_folders; // by the folder's path as walked
};

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
    // The attributes the listing gave for the file being reported; 0 outside OnFileFound.
    uint32_t FileAttributes() const noexcept { return m_fileAttributes; }
    // The times the listing gave for the file being reported, as FILETIME values; 0 outside
    // OnFileFound. (A replaying walk gives the times of the recording.)
    uint64_t FileCreationTime() const noexcept { return m_file ? m_file->creationTime : 0; }
    uint64_t FileLastAccessTime() const noexcept { return m_file ? m_file->lastAccessTime : 0; }
    uint64_t FileLastWriteTime() const noexcept { return m_file ? m_file->lastWriteTime : 0; }
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
    // Where the walk records its listings or replays them from (see TListingStore); none: every
    // folder is listed.
    TListingStore* Listings = nullptr;

    // Runs one walk and returns after OnSearchDone. An error raised by a handler propagates out
    // (OnSearchDone is not fired). Calling it again from inside a running search is refused with
    // std::logic_error.
    void Search();

private:
    void Walk(const std::string& folder, const std::wstring& wideFolder);
    // Lists a folder into the store's form; false when it was entered already in this walk.
    bool ListFolder(const std::wstring& wideFolder, TListingStore::Listing& out);
    bool FirstVisit(void* folder); // a folder handle
    void Fire(const Event& e);

    std::string m_fileFound;
    int64_t m_fileSize = 0;
    uint32_t m_fileAttributes = 0;
    const TListingStore::Entry* m_file = nullptr; // the listing's entry of the file being reported
    bool m_searchInProgress = false;
    SortedTextList m_masks;
    MaskSet m_compiled;

    std::unordered_set<std::wstring> m_visited; // final paths of the folders entered, upper case
    std::vector<uint64_t> m_buffer;             // one listing request's entries (8-byte aligned)
};

} // namespace scan
