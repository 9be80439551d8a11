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
    // A handler's error leaves the scanner idle again, so that its masks can be set and it can
    // search once more; the error itself goes on to the caller.
    platform::ScopeExit idleOnError([this] {
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

// A folder is known by its final path, links resolved. (Volume serial and file index would also
// do on Windows, but Wine reads the volume serial from the device on every query, many times the
// cost of the listing, and under Z: its inode numbers repeat across Unix file systems.)
bool TTreeScanner::FirstVisit(const std::wstring& wideFolder) {
    platform::UniqueFile h(CreateFileW(wideFolder.c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return true; // unknown: the listing decides
    std::wstring final(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (n >= final.size()) {
        final.assign(n + 1, L'\0');
        n = GetFinalPathNameByHandleW(h.get(), final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    }
    if (n == 0 || n >= final.size()) return true;
    final.resize(n);
    CharUpperBuffW(final.data(), n);
    return m_visited.insert(std::move(final)).second;
}

void TTreeScanner::Walk(const std::string& folder, const std::wstring& wideFolder) {
    platform::ProcessMessages();
    if (!ContinueSearch) return;
    if (!FirstVisit(wideFolder)) return;
    m_fileSize = 0;
    m_fileFound = folder;
    Fire(OnDirectoryFound);

    std::vector<std::wstring> folders;
    std::vector<FileEntry> files;
    {
        WIN32_FIND_DATAW w;
        // One listing serves the folders and every mask; FindExInfoStandard keeps the 8.3 alias.
        platform::UniqueFindHandle h(
            FindFirstFileExW((wideFolder + L"*").c_str(), FindExInfoStandard, &w, FindExSearchNameMatch, nullptr, 0));
        if (h) {
            do {
                DWORD a = w.dwFileAttributes;
                if (a & FILE_ATTRIBUTE_DIRECTORY) {
                    if (IsDotOrDotDot(w.cFileName)) continue;
                    if (a & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT | kVolumeLabel)) continue;
                    if ((a & FILE_ATTRIBUTE_HIDDEN) && !FindHiddenFolders) continue;
                    folders.emplace_back(w.cFileName);
                    continue;
                }
                if (a & kVolumeLabel) continue;
                if ((a & FILE_ATTRIBUTE_HIDDEN) && !FindHiddenFiles) continue;
                if (m_compiled.empty()) continue;
                FoldedName longName = FoldUtf16(View16(w.cFileName), SystemUpper);
                bool hasAlias = w.cAlternateFileName[0] != 0;
                FoldedName alias = hasAlias ? FoldUtf16(View16(w.cAlternateFileName), SystemUpper) : FoldedName{};
                if (!m_compiled.matchesAny(longName, hasAlias ? &alias : nullptr)) continue;
                int64_t size = static_cast<int64_t>((uint64_t{w.nFileSizeHigh} << 32) | w.nFileSizeLow);
                files.push_back({w.cFileName, size});
            } while (FindNextFileW(h.get(), &w));
        }
    }
    std::sort(files.begin(), files.end(),
              [](const FileEntry& a, const FileEntry& b) { return NameLess(a.name, b.name); });
    std::sort(folders.begin(), folders.end(), NameLess);

    // Once collected, a folder's files are all reported, even after a stop.
    for (const auto& f : files) {
        m_fileFound = folder + platform::Narrow(f.name);
        m_fileSize = f.size;
        Fire(OnFileFound);
    }
    files.clear();
    m_fileSize = 0;

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
