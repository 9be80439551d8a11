#pragma once
// No exception crosses a window procedure: the error goes to the application's error box.
#include <windows.h>

#include <exception>

#include "platform/dialogs.h"

namespace platform {

template <typename F> LRESULT CallGuarded(HWND hwnd, F&& f) noexcept {
    try {
        return f();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what(), GetAncestor(hwnd, GA_ROOT));
    } catch (...) {
        ShowErrorBox("An unexpected error occurred.", GetAncestor(hwnd, GA_ROOT));
    }
    return 0;
}

} // namespace platform
