#pragma once
// TQuorvelImage: a picture control that reports the pointer entering and leaving it, moving over
// it and pressing and releasing the left button on it. Skinned windows stack several of these at
// one place to make picture buttons (an "up", an "over" and a "down" face).
#include <functional>

#include "platform/dib.h"
#include "platform/window.h"

namespace platform {

class TQuorvelImage : public Control {
public:
    // Coordinates are client pixels of the control.
    using PointEvent = std::function<void(int x, int y)>;

    // The pointer entered or left the control. Moving straight from one of these controls to
    // another raises the first one's exit before the second one's enter.
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;
    PointEvent OnMouseMove;
    PointEvent OnMouseDown;
    // The release of a press: the control keeps the mouse while the button is down, so a press
    // that began here ends here even when the pointer was moved away.
    PointEvent OnMouseUp;

    TQuorvelImage() = default;
    // The window may outlive the object by a moment (the form destroys its window after its
    // members are gone), so the object unhooks itself from it.
    ~TQuorvelImage() override;

    static const wchar_t* ClassName();

    // The picture is drawn opaque at the top-left corner.
    void setPicture(Dib picture);
    const Dib& picture() const noexcept { return m_picture; }
    // The pointer falls through to the parent window (pictures that are part of the background).
    void setHitTransparent(bool on) noexcept { m_hitTransparent = on; }
    bool hitTransparent() const noexcept { return m_hitTransparent; }
    void setHandCursor(bool on) noexcept { m_handCursor = on; }
    // True while this control is the one under the pointer (between enter and exit).
    bool pointerInside() const noexcept;

private:
    void afterCreate() override;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void draw(HDC dc);

    Dib m_picture;
    bool m_hitTransparent = false;
    bool m_handCursor = false;
};

} // namespace platform
