#pragma once
// A borderless window shaped like its background picture (silver pixels are outside it), which
// the user drags by any point of the background, with picture buttons made of stacked images.
#include <functional>
#include <string>

#include "platform/dib.h"
#include "platform/quorvel_image.h"
#include "platform/window.h"

namespace app {

class ShapedForm : public platform::Form {
public:
    using Form::Form;

    const platform::Dib& background() const noexcept { return m_background; }
    // The window's outline in window pixels (a copy; empty when the window has none).
    platform::UniqueGdiObject outline() const;

protected:
    // Creates the window hidden, sized to widthUnits x heightUnits, with the background drawn by
    // draw(dpi) at the screen's DPI and its silver pixels cut away.
    void createShaped(const std::string& caption, int widthUnits, int heightUnits,
                      const std::function<platform::Dib(int dpi)>& draw, HWND owner, DWORD extraExStyle = 0);
    // An image control showing the picture at b (96-DPI units).
    void addPicture(platform::TQuorvelImage& image, std::string_view name, const platform::Bounds& b,
                    platform::Dib picture, bool visible = true);
    // Puts the images in stacking order, the first on top.
    static void Stack(std::initializer_list<platform::TQuorvelImage*> topToBottom);
    // A picture button's press: the button down on face hides it (showing the face beneath);
    // the release shows it again and, when it happens over the button, runs click. The release may
    // reach either image (hiding a window can end its hold on the mouse), so both are wired.
    void wirePress(platform::TQuorvelImage& face, platform::TQuorvelImage& beneath, std::function<void()> click);
    // Forgets a press in progress (its faces are restored by the caller).
    void clearPress() noexcept { m_pressed = nullptr; }
    bool pressed(const platform::TQuorvelImage& face) const noexcept { return m_pressed == &face; }
    void centreOnScreen();
    int dpi() const { return scale(96); }

    // The pointer moved over the background (not over a picture button).
    virtual void FormMouseMove() {}
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    void paint();
    platform::Dib m_background;
    platform::TQuorvelImage* m_pressed = nullptr;
};

} // namespace app
