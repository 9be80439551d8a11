#include "platform/shell.h"

#include <commctrl.h>

#include <utility>

#include "platform/error.h"
#include "platform/strings.h"

namespace platform {

void detail::HImageListTraits::Close(Type h) noexcept {
    ImageList_Destroy(static_cast<HIMAGELIST>(h));
}

namespace {
std::wstring DoubleZeroList(const std::vector<std::string>& items) {
    std::wstring out;
    for (const auto& s : items) {
        out += Widen(s);
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

ShellLauncher& CurrentLauncher() {
    static ShellLauncher launcher;
    return launcher;
}
} // namespace

FileOperationResult ShellFileOperation(const FileOperation& op) {
    std::wstring from = DoubleZeroList(op.from);
    std::wstring to = op.to.empty() ? std::wstring() : DoubleZeroList(op.to);
    std::wstring title = Widen(op.progressTitle);
    SHFILEOPSTRUCTW s{};
    s.hwnd = op.owner;
    s.wFunc = op.func;
    s.pFrom = from.c_str();
    s.pTo = to.empty() ? nullptr : to.c_str();
    s.fFlags = op.flags;
    s.lpszProgressTitle = title.empty() ? nullptr : title.c_str();
    FileOperationResult r;
    r.code = SHFileOperationW(&s);
    r.aborted = s.fAnyOperationsAborted != FALSE;
    return r;
}

bool ShellOpen(const ShellRequest& request) {
    if (CurrentLauncher()) return CurrentLauncher()(request);
    std::wstring verb = Widen(request.verb), file = Widen(request.file), params = Widen(request.parameters),
                 dir = Widen(request.directory);
    auto rc = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                                      params.empty() ? nullptr : params.c_str(),
                                                      dir.empty() ? nullptr : dir.c_str(), request.show));
    return rc > 32;
}

ShellLauncher SetShellLauncher(ShellLauncher launcher) {
    return std::exchange(CurrentLauncher(), std::move(launcher));
}

ShellLink::ShellLink() {
    ThrowIfFailed(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, m_link.putVoid()),
                  "CoCreateInstance(CLSID_ShellLink)");
    ThrowIfFailed(m_link->QueryInterface(IID_IPersistFile, m_file.putVoid()), "QueryInterface(IPersistFile)");
}

void ShellLink::load(std::string_view linkFile, DWORD mode) {
    ThrowIfFailed(m_file->Load(Widen(linkFile).c_str(), mode), "IPersistFile::Load");
}
void ShellLink::save(std::string_view linkFile, bool remember) {
    ThrowIfFailed(m_file->Save(Widen(linkFile).c_str(), remember), "IPersistFile::Save");
}
void ShellLink::resolve(HWND owner, DWORD flags) {
    ThrowIfFailed(m_link->Resolve(owner, flags), "IShellLink::Resolve");
}

std::string ShellLink::path(DWORD flags) const {
    wchar_t buf[MAX_PATH] = {};
    WIN32_FIND_DATAW fd{};
    ThrowIfFailed(m_link->GetPath(buf, MAX_PATH, &fd, flags), "IShellLink::GetPath");
    return Narrow(buf);
}
std::string ShellLink::arguments() const {
    wchar_t buf[MAX_PATH] = {};
    ThrowIfFailed(m_link->GetArguments(buf, MAX_PATH), "IShellLink::GetArguments");
    return Narrow(buf);
}
std::string ShellLink::description() const {
    wchar_t buf[MAX_PATH] = {};
    ThrowIfFailed(m_link->GetDescription(buf, MAX_PATH), "IShellLink::GetDescription");
    return Narrow(buf);
}
std::string ShellLink::workingDirectory() const {
    wchar_t buf[MAX_PATH] = {};
    ThrowIfFailed(m_link->GetWorkingDirectory(buf, MAX_PATH), "IShellLink::GetWorkingDirectory");
    return Narrow(buf);
}
std::pair<std::string, int> ShellLink::iconLocation() const {
    wchar_t buf[MAX_PATH] = {};
    int index = 0;
    ThrowIfFailed(m_link->GetIconLocation(buf, MAX_PATH, &index), "IShellLink::GetIconLocation");
    return {Narrow(buf), index};
}
int ShellLink::showCmd() const {
    int v = 0;
    ThrowIfFailed(m_link->GetShowCmd(&v), "IShellLink::GetShowCmd");
    return v;
}
uint16_t ShellLink::hotKey() const {
    WORD v = 0;
    ThrowIfFailed(m_link->GetHotkey(&v), "IShellLink::GetHotkey");
    return v;
}
void ShellLink::setPath(std::string_view v) {
    ThrowIfFailed(m_link->SetPath(Widen(v).c_str()), "IShellLink::SetPath");
}
void ShellLink::setArguments(std::string_view v) {
    ThrowIfFailed(m_link->SetArguments(Widen(v).c_str()), "IShellLink::SetArguments");
}
void ShellLink::setDescription(std::string_view v) {
    ThrowIfFailed(m_link->SetDescription(Widen(v).c_str()), "IShellLink::SetDescription");
}
void ShellLink::setWorkingDirectory(std::string_view v) {
    ThrowIfFailed(m_link->SetWorkingDirectory(Widen(v).c_str()), "IShellLink::SetWorkingDirectory");
}
void ShellLink::setIconLocation(std::string_view file, int index) {
    ThrowIfFailed(m_link->SetIconLocation(Widen(file).c_str(), index), "IShellLink::SetIconLocation");
}
void ShellLink::setShowCmd(int v) {
    ThrowIfFailed(m_link->SetShowCmd(v), "IShellLink::SetShowCmd");
}
void ShellLink::setHotKey(uint16_t v) {
    ThrowIfFailed(m_link->SetHotkey(v), "IShellLink::SetHotkey");
}

std::optional<ShellFileInfoResult> GetShellFileInfo(std::string_view path, DWORD attributes, bool useAttributes) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    if (useAttributes) flags |= SHGFI_USEFILEATTRIBUTES;
    if (!SHGetFileInfoW(Widen(path).c_str(), attributes, &info, sizeof(info), flags)) return std::nullopt;
    return ShellFileInfoResult{Narrow(info.szTypeName), Narrow(info.szDisplayName), info.iIcon};
}

HIMAGELIST SystemSmallImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

} // namespace platform
