#include "scan/file_list.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/pure/format.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/strings.h"
#include "scan/locale_text.h"
#include "scan/pure/scan_rules.h"

namespace scan {

namespace {
std::string Trim(std::string s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

struct VersionStrings {
    std::string file, product;
};

bool HasExecutableHeader(const std::wstring& path) {
    platform::UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    char magic[2] = {};
    DWORD got = 0;
    return ReadFile(f.get(), magic, 2, &got, nullptr) && got == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

VersionStrings ReadVersionStrings(const std::wstring& path) {
    VersionStrings out;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return out;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return out;
    void* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length) || length < 4) return out;
    auto* pair = static_cast<const WORD*>(translation);
    auto query = [&](const char* name) -> std::string {
        std::wstring q = platform::Widen(VersionStringQuery(pair[0], pair[1], name));
        void* text = nullptr;
        UINT chars = 0;
        if (!VerQueryValueW(block.data(), q.c_str(), &text, &chars) || !text || chars == 0) return {};
        std::wstring value(static_cast<const wchar_t*>(text), chars);
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
        return platform::Narrow(value);
    };
    out.file = query("FileVersion");
    out.product = query("ProductVersion");
    return out;
}

void SetColumnRight(HWND list, int column) {
    LVCOLUMNW c{};
    c.mask = LVCF_FMT;
    c.fmt = LVCFMT_RIGHT;
    ListView_SetColumn(list, column, &c);
}
} // namespace

TFileListView::TFileListView() {
    setOwnerData(true); // a scan may list tens of thousands of files
    textfmt::UseFileListFormats();
    onColumnClick = [this](int column) { SortByColumn(column); };
}

void TFileListView::afterCreate() {
    ListView::afterCreate(); // whole-row selection
    LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    style |= LVS_REPORT | LVS_SHOWSELALWAYS;
    style &= ~(LVS_EDITLABELS | LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER | LVS_SORTASCENDING |
               LVS_SORTDESCENDING);
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, style);
    if (Columns.empty())
        Columns = {{"Name", 260, false}, {"Size", 80, true},     {"Type", 120, false},  {"Modified", 110, false},
                   {"Attr", 40, true},   {"File Ver", 80, true}, {"Prod Ver", 80, true}};
    for (size_t i = 0; i < Columns.size(); ++i) {
        int index = addColumn(Columns[i].caption, Columns[i].width);
        if (Columns[i].rightAligned && index > 0) SetColumnRight(m_hwnd, index);
    }
}

bool TFileListView::AddFileItem(std::string_view path, int64_t& size) {
    std::wstring wide = platform::Widen(path);
    // An exact look-up: a path holding wildcards names no file.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return false;
    return AddFileItem(path, data, HasExecutableHeader(wide), size);
}

bool TFileListView::AddFileItem(std::string_view path, const WIN32_FILE_ATTRIBUTE_DATA& data, bool executable,
                                int64_t& size, int image) {
    std::wstring wide = platform::Widen(path);
    // The shell's type name follows the extension; asking it costs about 2 ms a row, which would
    // dominate filling a list of thousands of findings, so it is asked once per extension.
    std::wstring ext = platform::Widen(platform::UpperCase(platform::ExtractFileExt(path)));
    auto known = m_typeNames.find(ext);
    if (known == m_typeNames.end()) {
        SHFILEINFOW info{};
        if (!SHGetFileInfoW(wide.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME)) return false;
        known = m_typeNames.emplace(ext, info.szTypeName).first;
    }
    size = static_cast<int64_t>((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    DWORD a = data.dwFileAttributes;
    // Only executable images carry version resources; reading them opens and maps the file.
    VersionStrings versions = executable ? ReadVersionStrings(wide) : VersionStrings{};
    std::vector<std::string> columns{
        Trim(std::to_string(size)),
        Trim(platform::Narrow(known->second)),
        textfmt::DateTimeToStr(platform::FileTimeToLocalDateTime(data.ftLastWriteTime)),
        AttributeText(a & FILE_ATTRIBUTE_READONLY, a & FILE_ATTRIBUTE_HIDDEN, a & FILE_ATTRIBUTE_SYSTEM,
                      a & FILE_ATTRIBUTE_ARCHIVE),
        versions.file,
        versions.product,
    };
    addRow(platform::LowerCase(path), columns, image);
    return true;
}

void TFileListView::SortByColumn(int column) {
    if (column == m_sortColumn) {
        m_ascending = !m_ascending;
    } else {
        m_sortColumn = column;
        m_ascending = true;
    }
    const double now = platform::Now();
    const bool ascending = m_ascending;
    TextCompare compareText = static_cast<int (*)(std::string_view, std::string_view)>(CompareTextLocale);
    sortRows([&](int a, int b) {
        int c = CompareFileListColumn(column, text(a, column), text(b, column), compareText, now);
        return ascending ? c : -c;
    });
}

bool ShowFileProperties(std::string_view path, HWND owner) {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    platform::ScopeExit restoreCursor([previous] { SetCursor(previous); });
    std::wstring folder = platform::Widen(platform::ExtractFilePath(path));
    std::wstring name = platform::Widen(platform::ExtractFileName(path));
    if (folder.empty() || name.empty()) return false;

    platform::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return false;
    PIDLIST_RELATIVE folderId = nullptr;
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, folder.data(), nullptr, &folderId, nullptr))) return false;
    platform::ScopeExit freeFolder([&] { CoTaskMemFree(folderId); });
    platform::ComPtr<IShellFolder> shellFolder;
    if (FAILED(desktop->BindToObject(folderId, nullptr, IID_IShellFolder, shellFolder.putVoid()))) return false;
    PIDLIST_RELATIVE item = nullptr;
    if (FAILED(shellFolder->ParseDisplayName(owner, nullptr, name.data(), nullptr, &item, nullptr))) return false;
    platform::ScopeExit freeItem([&] { CoTaskMemFree(item); });
    PCUITEMID_CHILD child = item;
    platform::ComPtr<IContextMenu> menu;
    if (FAILED(shellFolder->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu.putVoid()))) return false;
    SFGAOF attributes = SFGAO_HASPROPSHEET;
    if (FAILED(shellFolder->GetAttributesOf(1, &child, &attributes)) || !(attributes & SFGAO_HASPROPSHEET))
        return false;
    CMINVOKECOMMANDINFO command{};
    command.cbSize = sizeof(command);
    command.hwnd = owner;
    command.lpVerb = "properties";
    command.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu->InvokeCommand(&command));
}

} // namespace scan
