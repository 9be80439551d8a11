#pragma once
// The junk cleaner's pictures: the clickable icons beside the removal options and the search
// animation shown while a scan runs.
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/handles.h"
#include "platform/window.h"

namespace tools::junk {

// A small icon that reports clicks (a static control with SS_NOTIFY).
class ClickPicture : public platform::Label {
public:
    static DWORD Style() { return SS_ICON | SS_NOTIFY | SS_CENTERIMAGE; }
    std::function<void()> onClick;
    // Takes the shell's stock icon (SIID_*); the picture stays empty when the shell has none.
    void setStockIcon(int stockIconId);
    bool click(); // as a user would: nothing happens while disabled or hidden
    bool onCommand(WORD code) override;

private:
    platform::UniqueHIcon m_icon;
};

// A magnifying glass circling over a page, drawn in code; frames change on the form's timer.
class SearchAnimation : public platform::Label {
public:
    static DWORD Style() { return SS_BITMAP | SS_CENTERIMAGE; }
    static constexpr UINT_PTR kTimerId = 0x4A55;
    static constexpr UINT kFrameMs = 110;

    void start(); // shows the control and starts the frames
    void stop();  // hides it
    bool running() const noexcept { return m_running; }
    // The form's WM_TIMER for kTimerId.
    void nextFrame();
    int frame() const noexcept { return m_frame; }

private:
    void makeFrames();
    std::vector<platform::UniqueGdiObject> m_frames;
    int m_frame = 0;
    bool m_running = false;
};

} // namespace tools::junk
