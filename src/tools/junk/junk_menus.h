#pragma once
// The junk cleaner's pop-up menus and its result toolbar. Items and buttons are named, carry their
// own handlers and are enabled, read and chosen by name, so that shortcuts, the unattended run and
// tests act through the same path as the mouse.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace tools::junk {

class PopupMenu {
public:
    // The shortcut text ("Del", "Ctrl+A") is shown right-aligned; the window handles the keys.
    void addItem(std::string_view name, std::string_view caption, std::string_view shortcut,
                 std::function<void()> onClick);
    void addSeparator();

    bool hasItem(std::string_view name) const { return find(name) != nullptr; }
    std::vector<std::string> itemNames() const;
    std::string caption(std::string_view name) const;
    std::string shortcut(std::string_view name) const;
    bool enabled(std::string_view name) const;
    void setEnabled(std::string_view name, bool on);

    // Chooses an item as a user would: nothing happens when it is disabled. True when it ran.
    bool click(std::string_view name);
    // Shows the menu at a screen point and runs the chosen item; the chosen item's name, or empty.
    std::string popup(HWND owner, POINT screen);

private:
    struct Item {
        std::string name, caption, shortcut;
        bool enabled = true;
        bool separator = false;
        std::function<void()> onClick;
    };
    const Item* find(std::string_view name) const;
    Item* find(std::string_view name);
    std::vector<Item> m_items;
};

// A flat toolbar of text buttons, one of them with a drop-down arrow.
class ResultToolbar : public platform::Control {
public:
    static const wchar_t* ClassName() { return TOOLBARCLASSNAMEW; }
    static DWORD Style() {
        return TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | WS_CLIPSIBLINGS;
    }

    void addButton(std::string_view name, std::string_view caption, bool dropDown, std::function<void()> onClick,
                   std::function<void()> onDropDown = {});
    std::vector<std::string> buttonNames() const;
    std::string buttonCaption(std::string_view name) const;
    bool buttonEnabled(std::string_view name) const;
    void setButtonEnabled(std::string_view name, bool on);
    bool isDropDown(std::string_view name) const;
    // The button in screen pixels (where its drop-down menu opens).
    RECT buttonRect(std::string_view name) const;

    // Presses a button, or its arrow, as a user would: nothing happens while the button or the
    // toolbar is disabled or hidden. True when the handler ran.
    bool click(std::string_view name);
    bool dropDown(std::string_view name);

    // The toolbar's WM_COMMAND, which carries the button in its id; false when it is none of ours.
    bool dispatch(int commandId);
    bool onNotify(NMHDR* hdr, LRESULT& result) override;

private:
    struct Item {
        std::string name, caption;
        std::wstring wideCaption;
        int id = 0;
        bool dropDown = false;
        std::function<void()> onClick, onDropDown;
    };
    void afterCreate() override;
    const Item* find(std::string_view name) const;
    bool usable(const Item& item) const;
    std::vector<Item> m_items;
    int m_nextId = 100;
};

} // namespace tools::junk
