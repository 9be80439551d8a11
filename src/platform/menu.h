#pragma once
// Menus with named items: a window's menu bar or a pop-up menu. Items carry their own click
// handlers and are found, enabled, checked and clicked by name (as tests and shortcuts do).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/handles.h"

namespace platform {

class Menu {
public:
    enum class Kind { Bar, Popup };
    explicit Menu(Kind kind = Kind::Popup);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // The caption may carry "&"; the shortcut text ("Del", "Ctrl+A") is shown right-aligned. The
    // shortcut itself is handled by the window that owns the menu.
    void addItem(std::string_view name, std::string_view caption, std::string_view shortcut = {},
                 std::function<void()> onClick = {});
    void addSeparator();
    Menu& addSubmenu(std::string_view name, std::string_view caption);

    bool hasItem(std::string_view name) const;
    std::vector<std::string> itemNames() const; // this menu's items in order, separators left out
    std::string caption(std::string_view name) const;
    std::string shortcut(std::string_view name) const;
    bool enabled(std::string_view name) const;
    void setEnabled(std::string_view name, bool on);
    bool checked(std::string_view name) const;
    void setChecked(std::string_view name, bool on);
    void setOnClick(std::string_view name, std::function<void()> onClick);

    // Chooses an item as a user would: nothing happens when it is disabled. True when it ran.
    bool click(std::string_view name);
    // The WM_COMMAND of a menu bar: runs the item with this command id; false when it is not ours.
    bool dispatch(UINT commandId);
    // Shows a pop-up menu at a screen point and runs the chosen item. The chosen item's name, or
    // empty when the menu was dismissed.
    std::string popup(HWND owner, POINT screen);

    HMENU handle() const noexcept { return m_menu.get(); }
    Kind kind() const noexcept { return m_kind; }

    // Tests: replaces the modal tracking of popup(); the hook gets the menu and returns the name of
    // the item to choose (empty to dismiss). Returns the previous hook.
    using PopupHook = std::function<std::string(Menu&)>;
    static PopupHook SetPopupHook(PopupHook hook);

private:
    struct Item {
        std::string name;
        std::string caption;
        std::string shortcut;
        UINT id = 0;
        std::function<void()> onClick;
        std::unique_ptr<Menu> submenu;
    };
    Item* find(std::string_view name);
    const Item* find(std::string_view name) const;
    // The menu that holds the item (this one or a submenu) and the item's position in it.
    std::pair<const Menu*, UINT> locate(std::string_view name) const;
    Item* findById(UINT id);

    Kind m_kind;
    UniqueHMenu m_menu;
    bool m_owned = true;
    std::vector<Item> m_items;
};

} // namespace platform
