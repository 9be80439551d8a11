#pragma once
// The help window, opened modally from the launcher: the user manual, the version, the maker's
// support page and a close button, on a shaped window like the launcher's.
#include <string>

#include "app/shaped_form.h"

namespace app {

inline constexpr const char* kSupportPage = "https://www.quorvel.com/vantrel/support/";
inline constexpr const char* kSupportHintText =
    "Vantrel is attempting to open the Quorvel support page (https://www.quorvel.com/vantrel/support/) in your "
    "default web browser.\r\n\r\nIf it does not appear, you can browse there manually.";

class TfrmHelpWin : public ShapedForm {
public:
    TfrmHelpWin();
    ~TfrmHelpWin() override;

    platform::TQuorvelImage imgManual_Up, imgManual_Down;
    platform::TQuorvelImage imgSupport_Up, imgSupport_Down;
    platform::TQuorvelImage imgClose_Up, imgClose_Down;
    // The version panel; its caption holds the text it shows.
    platform::TQuorvelImage imgVersion;

    void imgManualClick();
    void imgSupportClick();
    void imgCloseClick();

    // "Vantrel", the product version and the copyright of the running program, one per line.
    static std::string VersionText();

protected:
    void buildWindow(HWND owner) override;
    void FormHelp() override;
    void FormKeyDown(WPARAM key) override;
};

} // namespace app
