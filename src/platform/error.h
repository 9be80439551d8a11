#pragma once
// Win32 failures as exceptions that carry the failing call and its error code.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

class Win32Error : public std::runtime_error {
public:
    Win32Error(std::string call, uint32_t code);
    uint32_t code() const noexcept { return m_code; }
    const std::string& call() const noexcept { return m_call; }

private:
    std::string m_call;
    uint32_t m_code;
};

// The system's text for an error code, without the trailing line break.
std::string ErrorText(uint32_t code);
uint32_t LastError() noexcept;

[[noreturn]] void ThrowWin32(const char* call, uint32_t code);
[[noreturn]] void ThrowLastError(const char* call);
// For functions returning an error code (registry, HRESULT-less APIs): throws unless 0.
void ThrowIfError(long status, const char* call);
// For COM: throws unless SUCCEEDED.
long ThrowIfFailed(long hr, const char* call);

} // namespace platform
