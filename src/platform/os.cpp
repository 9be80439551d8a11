#include "platform/os.h"

#include <windows.h>

#include <vector>

#include "platform/handles.h"

namespace platform {

namespace {
std::optional<OsFacts>& Override() {
    static std::optional<OsFacts> facts;
    return facts;
}
} // namespace

OsPlatform RealOsPlatform() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return OsPlatform::NT;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT ? OsPlatform::NT : OsPlatform::Win9x;
}

bool RealTokenIsAdmin() {
    UniqueHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &admins))
        return false;
    bool found = false;
    auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i)
        found = EqualSid(groups->Groups[i].Sid, admins) != 0;
    FreeSid(admins);
    return found;
}

OsFacts CurrentOs() {
    if (Override()) return *Override();
    static const OsFacts real{RealOsPlatform(), RealTokenIsAdmin()};
    return real;
}

void OverrideOs(std::optional<OsFacts> facts) {
    Override() = facts;
}

} // namespace platform
