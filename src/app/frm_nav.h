#pragma once
// The launcher ("Navigator"): the first and only permanent window of interactive use. A shaped,
// borderless window with one picture button per tool and the web, help, logs and exit buttons;
// pointing at a button lights it and shows the picture that tells what it does.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "app/art/launcher_art.h"
#include "app/shaped_form.h"

namespace app {

inline constexpr const char* kWebSite = "https://www.quorvel.com/vantrel/";
inline constexpr const char* kLauncherHelpTopic = "Welcome_to_Quorvel_Vantrel";
inline constexpr const char* kAdminMessage =
    "Due to security issues under Windows NT you must be logged in as an administrator in order to access this "
    "tool.";
inline constexpr const char* kDupeWarningText =
    "Caution:  This tool is intended to search your system for duplicate files.  Not all (and possibly not most) of "
    "the files that are found are candidates for removal.  Be sure to carefully scrutinize each set of duplicate "
    "files before making the decision to remove any of them.  It is *always* recommended that you have a current "
    "backup of your system before performing any intensive operations such as contained in Vantrel.";
inline constexpr const char* kWebHintText =
    "Vantrel is attempting to open the Quorvel web site (https://www.quorvel.com/vantrel/) in your default web "
    "browser.\r\n\r\nIf it does not appear, you can browse there manually.";

class TfrmNav : public ShapedForm {
public:
    using NavButton = art::NavButton;
    // Opens a window modally, owned by the launcher.
    using Opener = std::function<void(HWND owner)>;

    TfrmNav();
    ~TfrmNav() override;

    // The images of one button, named as the launcher names them ("imgJunk_Up", "imgJunk_Over",
    // "imgJunk_Down", "imgJunk_Hint"; command buttons have no "over" image).
    struct PictureButton {
        platform::TQuorvelImage up, over, down, hint;
    };
    PictureButton& button(NavButton b) { return m_buttons[static_cast<size_t>(b)]; }
    // Replaces the window a tool button (or the logs button) opens; an empty opener opens nothing.
    void setOpener(NavButton b, Opener open);

    // Every image of every button visible except `except` (nullptr: all), which shows each
    // button's "up" face; a press in progress is forgotten.
    void AllUp(const platform::TQuorvelImage* except);
    // Shows the hint picture of button b (and hides the others).
    void ChangeHint(NavButton b);
    // Shows that hint picture alone; nullptr hides them all.
    void UpdateHint(platform::TQuorvelImage* hint);
    // True when the tool may be opened; otherwise tells the user why not.
    bool CheckAdminStatus();

    // Click handlers of the buttons.
    void ToolClick(NavButton b);
    void imgWebClick();
    void imgHelpClick();
    void imgLogsClick();
    void imgExitClick();

    // Lights a button as the pointer resting on it does ("imgJunk" or any of its image names);
    // false when there is no such button. For screenshots and demonstrations.
    bool LightButtonForScreenshot(std::string_view name);

    // Set once the launcher was closed by its exit button or the system's close command.
    bool terminated() const noexcept { return m_terminated; }
    // Called when the launcher ends the program (the interactive start quits its message loop).
    std::function<void()> OnTerminate;

protected:
    void buildWindow(HWND owner) override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormClose() override;
    void FormHelp() override;
    void FormMouseMove() override;

private:
    void open(NavButton b);
    std::array<PictureButton, art::kNavButtonCount> m_buttons;
    std::array<Opener, art::kNavButtonCount> m_openers;
    int m_openWindows = 0;
    bool m_terminated = false;
};

} // namespace app
