#include "platform/error.h"

#include <windows.h>

#include "platform/strings.h"

namespace platform {

std::string ErrorText(uint32_t code) {
    wchar_t* buffer = nullptr;
    DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (n && buffer) {
        text = Narrow(std::wstring_view(buffer, n));
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

Win32Error::Win32Error(std::string call, uint32_t code)
    : std::runtime_error(call + " failed: " + ErrorText(code) + " (" + std::to_string(code) + ")"),
      m_call(std::move(call)), m_code(code) {}

uint32_t LastError() noexcept {
    return GetLastError();
}

void ThrowWin32(const char* call, uint32_t code) {
    throw Win32Error(call, code);
}
void ThrowLastError(const char* call) {
    throw Win32Error(call, GetLastError());
}

void ThrowIfError(long status, const char* call) {
    if (status != ERROR_SUCCESS) throw Win32Error(call, static_cast<uint32_t>(status));
}

long ThrowIfFailed(long hr, const char* call) {
    if (FAILED(hr)) throw Win32Error(call, static_cast<uint32_t>(hr));
    return hr;
}

} // namespace platform
