#include "tools/regclean/undo_file.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "tools/regclean/pure/reg_export.h"

namespace tools::regclean {

namespace {
std::u16string U16(std::wstring_view w) {
    return std::u16string(w.begin(), w.end());
}

std::string Bytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}
} // namespace

UndoFile::UndoFile(std::string folder) : m_folder(platform::IncludeTrailingBackslash(folder)) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "Undo_%04u%02u%02u_%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    m_path = m_folder + stamp + ".reg";
    for (int n = 2; platform::PathExists(m_path); ++n)
        m_path = m_folder + stamp + "_" + std::to_string(n) + ".reg";
}

bool UndoFile::add(HKEY key, std::wstring_view rootName, std::wstring_view keyPath, std::wstring_view valueName) {
    std::wstring name(valueName);
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    platform::ThrowIfError(rc, "RegQueryValueEx");
    std::vector<uint8_t> data;
    do {
        data.resize(size);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    platform::ThrowIfError(rc, "RegQueryValueEx");
    data.resize(size);
    m_pending += RegExportKeyLine(U16(rootName), U16(keyPath));
    m_pending += RegExportValue(U16(valueName), type, data);
    return true;
}

void UndoFile::flush() {
    if (m_pending.empty()) return;
    std::u16string text;
    if (!m_written) {
        platform::ForceFolders(m_folder);
        text = u"\xFEFF" + RegExportHeader();
    }
    text += m_pending;
    if (!platform::AppendFileBytes(m_path, Bytes(text)))
        throw std::runtime_error("The removed values could not be saved to \"" + m_path + "\" (" +
                                 platform::ErrorText(platform::LastError()) + "). Nothing was removed.");
    m_written = true;
    m_pending.clear();
}

} // namespace tools::regclean
