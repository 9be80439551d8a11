#pragma once
// The pictures of the launcher and the help window: backgrounds, button faces and hint pictures.
// They are composed from the artwork rendered from res/art at build time, brought to the screen's
// DPI, with their texts drawn in the system's font. Positions are 96-DPI units; pictures are
// pixels at the DPI asked for.
#include <windows.h>

#include <string_view>

#include "platform/dib.h"
#include "platform/window.h"

namespace app::art {

// Pixels outside a shaped window's outline have exactly this colour (silver).
inline constexpr COLORREF kTransparentColour = RGB(192, 192, 192);

// The launcher's buttons: the nine tools in the order of their places, then the commands.
enum class NavButton { Junk, Eraser, ShortCuts, Uninstall, Dupes, Reg, StartUp, Safe, Sched, Web, Help, Logs, Exit };
inline constexpr int kNavButtonCount = 13;
inline constexpr int kNavToolCount = 9;
inline constexpr bool IsTool(NavButton b) {
    return static_cast<int>(b) < kNavToolCount;
}

inline constexpr int kNavWidth = 640;
inline constexpr int kNavHeight = 436;
platform::Bounds NavButtonBounds(NavButton b);
// The one place where the hint pictures appear.
platform::Bounds NavHintBounds();

// The faces of a picture button; command buttons have no "over" face.
struct ButtonFaces {
    platform::Dib up, over, down;
};

// The launcher's background (imgMainScreen): silver outside the outline.
platform::Dib MainScreen(int dpi);
ButtonFaces NavButtonFaces(NavButton b, int dpi);
// The picture that tells what a button does, for NavHintBounds().
platform::Dib NavHint(NavButton b, int dpi);
// The caption under a tool button's picture ("Junk Files").
std::string_view NavButtonCaption(NavButton b);

// The help window.
enum class HelpButton { Manual, Support, Close };
inline constexpr int kHelpWidth = 420;
inline constexpr int kHelpHeight = 300;
platform::Bounds HelpButtonBounds(HelpButton b);
platform::Bounds HelpInfoBounds();
// The help window's background (imgHelpback): silver outside the outline.
platform::Dib HelpBack(int dpi);
ButtonFaces HelpButtonFaces(HelpButton b, int dpi);
// The version panel with the given lines (first line large).
platform::Dib HelpInfo(std::string_view text, int dpi);

} // namespace app::art
