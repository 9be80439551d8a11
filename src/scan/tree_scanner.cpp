#include "scan/tree_scanner.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "platform/handles.h"
#include "platform/messages.h"
#include "platform/strings.h"
#include "scan/locale_text.h"
#include "scan/pure/scan_rules.h"

namespace scan {

namespace {
// The DOS volume-label attribute; Win32 no longer names it but a search may still carry it.
constexpr DWORD kVolumeLabel = 0x8;

bool IsDotOrDotDot(const wchar_t* n) {
    return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
    int c = CompareTextLocale(a, b);
    // Names that the locale holds equal (other than by case) are still different files.
    return c != 0 ? c < 0 : a < b;
}

std::u16string_view View16(const wchar_t* s) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(s));
}

std::string CurrentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return {};
    std::wstring buf(n, L'\0');
    n = GetCurrentDirectoryW(n, buf.data());
    buf.resize(n);
    return platform::Narrow(buf);
}
} // namespace

TTreeScanner::TTreeScanner() : m_masks(static_cast<int (*)(std::string_view, std::string_view)>(CompareTextLocale)) {}

std::string TTreeScanner::FileMask() const {
    return m_masks.empty() ? std::string() : m_masks[0];
}

void TTreeScanner::SetFileMask(std::string_view mask) {
    if (m_searchInProgress) return;
    m_masks.clear();
    m_masks.add(mask);
}

std::string TTreeScanner::FileMaskCommaText() const {
    return ToCommaText(m_masks.items());
}

void TTreeScanner::SetFileMaskCommaText(std::string_view text) {
    if (m_searchInProgress) return;
    m_masks.clear();
    for (const auto& entry : ParseCommaText(text))
        m_masks.add(entry);
}

void TTreeScanner::Fire(const Event& e) {
    if (e) e(*this);
}

void TTreeScanner::Search() {
    if (m_searchInProgress) throw std::logic_error("TTreeScanner::Search was called while its search is running");
    m_searchInProgress = true;
    m_fileFound.clear();
    m_fileSize = 0;
    m_fileAttributes = 0;
    m_file = nullptr;
    // A handler's error leaves the scanner idle again, so that its masks can be set and it can
    // search once more; the error itself goes on to the caller.
    platform::ScopeExit idleOnError([this] {
        m_file = nullptr; // the listing it points into has gone
        m_searchInProgress = false;
        m_visited.clear();
    });
    if (InitialDirectory.empty()) InitialDirectory = CurrentDirectory();
    InitialDirectory = NormaliseInitialDirectory(InitialDirectory);
    ContinueSearch = true;
    m_compiled = MaskSet(m_masks.items(), SystemUpper);
    m_visited.clear();
    Walk(InitialDirectory, platform::Widen(InitialDirectory));
    idleOnError.dismiss();
    m_visited.clear();
    m_searchInProgress = false;
    Fire(OnSearchDone);
}

const TListingStore::Listing* TListingStore::Find(const std::wstring& folder) const {
    auto it = m_folders.find(folder);
    return it == m_folders.end() ? nullptr : &it->second;
}

// A folder is known by its final path, links resolved. (Volume serial and file index would also
// do on Windows, but Wine reads the volume serial from the device on every query, many times the
// cost of the listing, and under Z: its inode numbers repeat across Unix file systems.)
bool TTreeScanner::FirstVisit(HANDLE folder) {
    std::wstring final(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(folder, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (n >= final.size()) {
        final.assign(n + 1, L'\0');
        n = GetFinalPathNameByHandleW(folder, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    }
    if (n == 0 || n >= final.size()) return true; // unknown: the listing decides
    final.resize(n);
    CharUpperBuffW(final.data(), n);
    return m_visited.insert(std::move(final)).second;
}

bool TTreeScanner::ListFolder(const std::wstring& wideFolder, TListingStore::Listing& out) {
    // One handle serves the visit test and the listing: opening a folder costs Wine a server
    // round trip, as much as listing a few dozen entries.
    platform::UniqueFile h(CreateFileW(wideFolder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return true; // cannot be listed: entered, and empty
    if (!FirstVisit(h.get())) return false;

    auto add = [&out](std::wstring name, std::wstring alias, int64_t size, DWORD attributes, uint64_t created,
                      uint64_t accessed, uint64_t written) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && IsDotOrDotDot(name.c_str())) return;
        out.entries.push_back({std::move(name), std::move(alias), size, attributes, created, accessed, written});
    };
    auto ticks = [](const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    // The entries carry the 8.3 alias, which the mask rules need.
    if (m_buffer.empty()) m_buffer.resize(64 * 1024 / sizeof(m_buffer[0]));
    const DWORD bytes = static_cast<DWORD>(m_buffer.size() * sizeof(m_buffer[0]));
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    bool any = false;
    while (GetFileInformationByHandleEx(h.get(), kind, m_buffer.data(), bytes)) {
        kind = FileIdBothDirectoryInfo;
        any = true;
        auto* at = reinterpret_cast<const unsigned char*>(m_buffer.data());
        for (;;) {
            auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            add(std::wstring(e->FileName, e->FileNameLength / sizeof(wchar_t)),
                std::wstring(e->ShortName, static_cast<size_t>(e->ShortNameLength) / sizeof(wchar_t)),
                e->EndOfFile.QuadPart, e->FileAttributes, static_cast<uint64_t>(e->CreationTime.QuadPart),
                static_cast<uint64_t>(e->LastAccessTime.QuadPart), static_cast<uint64_t>(e->LastWriteTime.QuadPart));
            if (e->NextEntryOffset == 0) break;
            at += e->NextEntryOffset;
        }
    }
    if (any || GetLastError() == ERROR_NO_MORE_FILES) return true;

    // A file system that cannot list by handle (some network redirectors): the classic search.
    WIN32_FIND_DATAW w;
    platform::UniqueFindHandle find(
        FindFirstFileExW((wideFolder + L"*").c_str(), FindExInfoStandard, &w, FindExSearchNameMatch, nullptr, 0));
    if (find) {
        do {
            add(w.cFileName, w.cAlternateFileName,
                static_cast<int64_t>((uint64_t{w.nFileSizeHigh} << 32) | w.nFileSizeLow), w.dwFileAttributes,
                ticks(w.ftCreationTime), ticks(w.ftLastAccessTime), ticks(w.ftLastWriteTime));
        } while (FindNextFileW(find.get(), &w));
    }
    return true;
}

void TTreeScanner::Walk(const std::string& folder, const std::wstring& wideFolder) {
    platform::ProcessMessages();
    if (!ContinueSearch) return;

    TListingStore::Listing fresh;
    const TListingStore::Listing* listing = nullptr;
    if (Listings && !Listings->Recording) listing = Listings->Find(wideFolder);
    if (!listing) {
        fresh.entered = ListFolder(wideFolder, fresh);
        listing = &fresh;
        if (Listings && Listings->Recording) {
            TListingStore::Listing& kept = Listings->Add(wideFolder);
            kept.entered = fresh.entered;
            kept.entries.clear();
            for (const auto& e : fresh.entries)
                if ((e.attributes & FILE_ATTRIBUTE_DIRECTORY) || !Listings->KeepFile || Listings->KeepFile(e))
                    kept.entries.push_back(e);
        }
    }
    if (!listing->entered) return;

    m_fileSize = 0;
    m_fileAttributes = 0;
    m_file = nullptr;
    m_fileFound = folder;
    Fire(OnDirectoryFound);

    std::vector<std::wstring> folders;
    // The listing stays as it is while its files are reported (the walk records a folder before
    // it reports anything, and only enters subfolders afterwards).
    std::vector<const TListingStore::Entry*> files;
    for (const auto& e : listing->entries) {
        const DWORD a = e.attributes;
        if (a & FILE_ATTRIBUTE_DIRECTORY) {
            if (a & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT | kVolumeLabel)) continue;
            if ((a & FILE_ATTRIBUTE_HIDDEN) && !FindHiddenFolders) continue;
            folders.push_back(e.name);
            continue;
        }
        if (a & kVolumeLabel) continue;
        if ((a & FILE_ATTRIBUTE_HIDDEN) && !FindHiddenFiles) continue;
        if (m_compiled.empty()) continue;
        FoldedName longName = FoldUtf16(View16(e.name.c_str()), SystemUpper);
        const bool hasAlias = !e.alias.empty();
        FoldedName alias = hasAlias ? FoldUtf16(View16(e.alias.c_str()), SystemUpper) : FoldedName{};
        if (!m_compiled.matchesAny(longName, hasAlias ? &alias : nullptr)) continue;
        files.push_back(&e);
    }
    std::sort(files.begin(), files.end(),
              [](const TListingStore::Entry* a, const TListingStore::Entry* b) { return NameLess(a->name, b->name); });
    std::sort(folders.begin(), folders.end(), NameLess);

    // Once collected, a folder's files are all reported, even after a stop.
    for (const auto* f : files) {
        m_fileFound = folder + platform::Narrow(f->name);
        m_fileSize = f->size;
        m_fileAttributes = f->attributes;
        m_file = f;
        Fire(OnFileFound);
    }
    files.clear();
    m_fileSize = 0;
    m_fileAttributes = 0;
    m_file = nullptr;

    for (const auto& name : folders) {
        std::string sub = folder + platform::Narrow(name) + "\\";
        if (Recursive) {
            Walk(sub, wideFolder + name + L"\\");
        } else {
            m_fileFound = sub;
            Fire(OnDirectoryFound);
        }
    }
    Fire(OnDirectoryDone);
}

} // namespace scan
