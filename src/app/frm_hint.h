#pragma once
// The hint window: one hint's text, the two "show again" boxes and OK.
#include <string>
#include <string_view>

#include "platform/window.h"

namespace app {

class TfrmHint : public platform::Form {
public:
    TfrmHint();

    // The hint's name, whose flag the closing rules write.
    void setHintName(std::string_view name) { m_hintName = std::string(name); }
    const std::string& hintName() const noexcept { return m_hintName; }
    // Puts the text into the text area (line breaks of any style are shown as lines).
    void setHintText(std::string_view text);

    platform::Label imgHint;
    platform::Edit edHint;
    platform::CheckBox cbShowThis; // "&Show hints on this subject again"
    platform::CheckBox cbShowAll;  // "Show &hints"
    platform::Button cmdOK;

    void cbShowAllClick();
    void cmdOKClick();

protected:
    void buildWindow(HWND owner) override;
    void FormShow() override;
    void FormClose() override;
    void FormHelp() override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    std::string m_hintName;
};

} // namespace app
