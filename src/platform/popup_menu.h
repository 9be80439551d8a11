#pragma once
// Menus built from named items: a popup menu shown with TrackPopupMenu (menu buttons), and a
// window's menu bar. Tests choose an item by its caption, as a user would, without showing anything.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace platform {

class MenuBase;

// A command, a separator or a submenu.
class MenuItem {
public:
    MenuItem(MenuBase* menu, std::string name, std::string caption, std::string shortcut);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::function<void()> onClick;

    const std::string& name() const noexcept { return m_name; }
    const std::string& caption() const noexcept { return m_caption; }
    const std::string& shortcut() const noexcept { return m_shortcut; } // shown after a tab ("F5")
    bool enabled() const noexcept { return m_enabled; }
    void setEnabled(bool on);
    bool checked() const noexcept { return m_checked; }
    void setChecked(bool on);
    bool isSeparator() const noexcept { return m_separator; }
    bool hasSubmenu() const noexcept { return !m_items.empty(); }
    UINT id() const noexcept { return m_id; }

    // Submenu entries.
    MenuItem& add(std::string name, std::string caption, std::function<void()> onClick = {}, std::string shortcut = {});
    void addSeparator();
    const std::vector<std::unique_ptr<MenuItem>>& items() const noexcept { return m_items; }
    MenuItem* child(std::string_view caption) const;

    // Acts as the user's choice of the item: false, and nothing happens, when it is disabled, a
    // separator or a submenu.
    bool click();

private:
    friend class MenuBase;
    MenuBase* m_menu;
    std::string m_name, m_caption, m_shortcut;
    bool m_enabled = true, m_checked = false, m_separator = false;
    UINT m_id = 0;
    std::vector<std::unique_ptr<MenuItem>> m_items;
};

class MenuBase {
public:
    MenuBase();
    virtual ~MenuBase() = default;
    MenuBase(const MenuBase&) = delete;
    MenuBase& operator=(const MenuBase&) = delete;

    MenuItem& add(std::string name, std::string caption, std::function<void()> onClick = {}, std::string shortcut = {});
    void addSeparator();
    const std::vector<std::unique_ptr<MenuItem>>& items() const noexcept { return m_root.items(); }
    // By name, anywhere in the tree; nullptr when missing.
    MenuItem* item(std::string_view name) const;
    MenuItem* itemById(UINT id) const;
    // Chooses the item at the end of a caption path ({"&File", "&Exit"}) as the user would; false
    // when a caption is missing or the item cannot be chosen.
    bool pick(const std::vector<std::string>& captionPath);

protected:
    friend class MenuItem;
    // Builds the Win32 menu for the current items into an empty menu handle.
    void fill(HMENU menu, const MenuItem& parent) const;
    // The live handle whose state changes are mirrored (menu bar), or nullptr.
    virtual HMENU liveHandle() const { return nullptr; }
    UINT nextId() { return m_nextId++; }

    MenuItem m_root;

private:
    UINT m_nextId = 0x7100;
};

// A menu shown at a point until the user chooses an item or dismisses it.
class PopupMenu : public MenuBase {
public:
    // Shows the menu (screen pixels) and runs the chosen item; true when one was chosen.
    bool popup(HWND owner, POINT screen);
    // Below a control, aligned with its left edge (menu buttons).
    bool popupBelow(const Control& control);

    // Tests: while a hook is set, popup() shows nothing and asks the hook which caption to choose
    // (nullopt: the menu is dismissed). Returns the previous hook.
    using PickHook = std::function<std::optional<std::string>(const PopupMenu&)>;
    static PickHook SetPickHook(PickHook hook);
};

// A button that opens a popup menu when clicked (with the drop-down arrow where the common
// controls draw one).
class MenuButton : public Button {
public:
    PopupMenu menu;
    bool onNotify(NMHDR* hdr, LRESULT& result) override;

protected:
    void afterCreate() override;
};

// The menu bar of a form. The form hands its menu commands (WM_COMMAND with lParam 0) to
// handleCommand.
class MenuBar : public MenuBase {
public:
    ~MenuBar() override;
    void attach(HWND window);
    bool handleCommand(UINT id);

protected:
    HMENU liveHandle() const override { return m_menu; }

private:
    HWND m_window = nullptr;
    HMENU m_menu = nullptr;
};

} // namespace platform
