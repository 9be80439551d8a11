#pragma once
// Drives the launcher as a user would: pointer and button messages sent to its image controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/frm_nav.h"
#include "platform/quorvel_image.h"

namespace launchertest {

inline platform::TQuorvelImage& Image(const platform::Form& form, const std::string& name) {
    auto* image = form.controlAs<platform::TQuorvelImage>(name);
    if (!image) throw std::runtime_error("no image control " + name);
    return *image;
}

inline LPARAM Centre(const platform::Control& c) {
    RECT r;
    GetClientRect(c.hwnd(), &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

inline void MoveOver(const platform::Control& c) {
    SendMessageW(c.hwnd(), WM_MOUSEMOVE, 0, Centre(c));
}
inline void ButtonDown(const platform::Control& c) {
    SendMessageW(c.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(c));
}
inline void ButtonUp(const platform::Control& c, LPARAM at) {
    SendMessageW(c.hwnd(), WM_LBUTTONUP, 0, at);
}
inline void ButtonUp(const platform::Control& c) {
    ButtonUp(c, Centre(c));
}
// The pointer over the background of the window, away from every button.
inline void MoveOverBackground(const platform::Form& form) {
    SendMessageW(form.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 100));
}

// Points at a tool button and clicks it: up face, then the press and release on the over face.
inline void ClickTool(const app::TfrmNav& nav, const std::string& stem, const char* overName = nullptr) {
    auto& up = Image(nav, stem + "_Up");
    auto& over = Image(nav, overName ? std::string(overName) : stem + "_Over");
    MoveOver(up);
    ButtonDown(over);
    ButtonUp(over);
}

// Presses and releases a command button (or a help window button) on its up face.
inline void ClickCommand(const platform::Form& form, const std::string& stem) {
    auto& up = Image(form, stem + "_Up");
    MoveOver(up);
    ButtonDown(up);
    ButtonUp(up);
}

// A tool button is lit when its up face is hidden and its over face shows.
inline bool Lit(const app::TfrmNav& nav, app::art::NavButton b) {
    auto& pb = const_cast<app::TfrmNav&>(nav).button(b);
    return !pb.up.visible() && pb.over.visible() && pb.down.visible();
}

} // namespace launchertest
