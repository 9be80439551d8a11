#pragma once
// Facts about the operating system that tests must be able to choose: the platform (9x or NT)
// and whether the user is an administrator.
#include <optional>

namespace platform {

enum class OsPlatform { Win9x, NT };

struct OsFacts {
    OsPlatform platform = OsPlatform::NT;
    // The token check of the real system; replaced only to test a non-administrator.
    bool tokenIsAdmin = true;
};

// The real facts: GetVersionEx's platform and the token's Administrators group.
OsPlatform RealOsPlatform();
bool RealTokenIsAdmin();

// The facts in force: the real ones unless a test (or a debugging switch) overrides them.
OsFacts CurrentOs();
void OverrideOs(std::optional<OsFacts> facts);

inline bool IsNT() {
    return CurrentOs().platform == OsPlatform::NT;
}

} // namespace platform
