#pragma once
// The hidden shared form: pictures and image lists every tool window borrows. It is created before
// any other window, never shown, and lives until the program ends.
#include <windows.h>

#include <commctrl.h>

#include "platform/handles.h"
#include "platform/window.h"
#include "scan/shell_file_op.h"

namespace app {

// A bitmap owned by the shared form. Windows that show it borrow the handle (STM_SETIMAGE does
// not copy), which is safe because the shared form outlives every other window.
class Picture {
public:
    Picture() = default;
    Picture(HBITMAP bitmap, int width, int height) : m_bitmap(bitmap), m_width(width), m_height(height) {}
    HBITMAP bitmap() const noexcept { return static_cast<HBITMAP>(m_bitmap.get()); }
    int width() const noexcept { return m_width; }
    int height() const noexcept { return m_height; }
    bool empty() const noexcept { return !m_bitmap; }
    void reset(HBITMAP bitmap, int width, int height);

private:
    platform::UniqueGdiObject m_bitmap;
    int m_width = 0;
    int m_height = 0;
};

using UniqueImageList = platform::UniqueHandleT<platform::detail::HImageListTraits>;

class Tcommontools : public platform::Form {
public:
    Tcommontools();

    // Beside the removal options of the junk cleaner, shortcut fixer and duplicate finder.
    Picture imgConfirm, imgDelete, imgMoveTo, imgRecycle;
    // The junk cleaner's and duplicate finder's search picture.
    Picture imgMag;
    // The glyph of every tool window's "&Help" button (16 x 16).
    Picture imgHelp16;
    // The launcher's and help window's backgrounds (imgMainScreen, imgHelpback) are drawn at the
    // screen's DPI by the launcher artwork (art::MainScreen, art::HelpBack) when those windows open.
    // Small icons: ilCommon16 holds the glyphs above in the order of Common16; ilIcons is the
    // icon list of the shortcut fixer's result list, filled by that tool.
    UniqueImageList ilCommon16, ilIcons;

    // The one shell file operation through which the junk cleaner, shortcut fixer and duplicate
    // finder delete, recycle and move files.
    scan::TShellFileOp ShellFileOp1;

    enum Common16 { kConfirm16, kDelete16, kMoveTo16, kRecycle16, kMag16, kHelp16 };

    HIMAGELIST common16() const noexcept { return static_cast<HIMAGELIST>(ilCommon16.get()); }
    HIMAGELIST icons() const noexcept { return static_cast<HIMAGELIST>(ilIcons.get()); }

protected:
    void buildWindow(HWND owner) override;
};

// The one shared form; created on first use (start-up creates it before anything else).
Tcommontools& CommonTools();
bool CommonToolsExist();
// Destroys the shared form at the end of the run.
void DestroyCommonTools();

// The pictures, drawn in code at the given size on the button-face colour.
enum class Glyph { Confirm, Delete, MoveTo, Recycle, Mag, Help };
HBITMAP DrawGlyph(Glyph glyph, int size);

} // namespace app
