#pragma once
// A bar the user drags to share space between two panes. The splitter only keeps the position;
// its owner lays out the panes (and the bar) from position() whenever onMoved fires.
#include <windows.h>

#include <functional>

#include "platform/window.h"

namespace platform {

class Splitter : public Control {
public:
    Splitter() = default;
    ~Splitter() override;
    // Vertical: the bar runs top to bottom between panes side by side; Horizontal: panes stacked.
    enum class Direction { Vertical, Horizontal };

    std::function<void()> onMoved;

    void setDirection(Direction d);
    Direction direction() const noexcept { return m_direction; }
    // The extent that the two panes and the bar share, and the smallest size of each pane (96-DPI units).
    void setLimits(int extent, int minFirst, int minSecond);
    // The size of the first pane.
    int position() const noexcept { return m_position; }
    // Sets the position within the limits; no event (as when the program places it).
    void setPosition(int position);
    // Acts as the user's drag ending with the first pane this size: kept within the limits, raises onMoved.
    void dragTo(int position);
    static constexpr int kThickness = 6;

    // The position kept within [minFirst, extent - thickness - minSecond]; when the extent is too
    // small for both minimums the first pane gets what is left, never a negative size.
    static int Clamp(int position, int extent, int minFirst, int minSecond);

protected:
    void afterCreate() override;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    Direction m_direction = Direction::Vertical;
    int m_extent = 0, m_minFirst = 0, m_minSecond = 0;
    int m_position = 0;
    bool m_dragging = false;
    int m_dragOrigin = 0;   // mouse coordinate (screen pixels) where the drag started
    int m_dragStartPos = 0; // position when it started
};

// The window class of splitters (registered on first use).
const wchar_t* SplitterClassName();

} // namespace platform
