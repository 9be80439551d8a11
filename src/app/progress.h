#pragma once
// The small progress window of the unattended jobs, shown at the bottom right of the screen.
#include <functional>
#include <string_view>

#include "platform/handles.h"
#include "platform/window.h"

namespace app {

// A text link: blue and underlined while it can be clicked; plain black text once the owner
// switches it off (the unattended runs do so when "Cancel" has been pressed).
class LinkLabel : public platform::Label {
public:
    std::function<void()> onClick;
    // Clicks as a user would: nothing happens when the link is hidden, disabled or plain.
    bool click();
    void setPlain(bool on);
    bool plain() const noexcept { return m_plain; }
    // The fonts of the two looks (owned by the form).
    void setFonts(HFONT link, HFONT plainText);
    bool onCommand(WORD code) override;

private:
    void applyFont();
    bool m_plain = false;
    HFONT m_linkFont = nullptr;
    HFONT m_plainFont = nullptr;
};

class TfrmProgress : public platform::Form {
public:
    static constexpr int kWidth = 258; // units
    static constexpr int kHeight = 56; // units
    static constexpr int kFromBottom = 82;

    TfrmProgress();

    platform::Label lblHeading;
    platform::Label lblStatus;
    platform::Label imgSearch; // the looping search animation
    LinkLabel lblCancel;

    void setHeading(std::string_view text) { lblHeading.setCaption(text); }
    void setStatus(std::string_view text) { lblStatus.setCaption(text); }
    // Left edge at screen width - window width (flush right), top at screen height - 82.
    void placeBottomRight();
    // Shows the window without taking the focus from whatever the user is doing.
    void showInactive();
    // Frames of the search animation drawn so far (the animation loops while the window is open).
    int animationFrame() const noexcept { return m_frame; }

protected:
    void buildWindow(HWND owner) override;
    void FormCreate() override;
    void FormClose() override;
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    void paintSearch(HDC dc, const RECT& area) const;
    platform::UniqueGdiObject m_textFont;
    platform::UniqueGdiObject m_boldFont;
    platform::UniqueGdiObject m_linkFont;
    int m_frame = 0;
};

} // namespace app
