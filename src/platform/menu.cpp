#include "platform/menu.h"

#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/dialogs.h"
#include "platform/strings.h"
#include "platform/window.h"

namespace platform {

namespace {
// Command ids of menu items, far above the ids the forms give their controls.
UINT NextCommandId() {
    static UINT next = 0xA000;
    return next++;
}

Menu::PopupHook& Hook() {
    static Menu::PopupHook hook;
    return hook;
}

UINT ItemState(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return MFS_DISABLED;
    return info.fState;
}

void SetItemState(HMENU menu, UINT position, UINT bit, bool on) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    info.fState = on ? (info.fState | bit) : (info.fState & ~bit);
    SetMenuItemInfoW(menu, position, TRUE, &info);
}
} // namespace

Menu::Menu(Kind kind) : m_kind(kind), m_menu(kind == Kind::Bar ? CreateMenu() : CreatePopupMenu()) {
    if (!m_menu) throw std::runtime_error("CreateMenu failed");
}

Menu::~Menu() {
    // A submenu belongs to its parent's HMENU, which destroys it; a bar menu may already be gone
    // with its window.
    if (!m_owned || !IsMenu(m_menu.get())) m_menu.release();
}

void Menu::addItem(std::string_view name, std::string_view caption, std::string_view shortcut,
                   std::function<void()> onClick) {
    Item item;
    item.name = std::string(name);
    item.caption = std::string(caption);
    item.shortcut = std::string(shortcut);
    item.id = NextCommandId();
    item.onClick = std::move(onClick);
    std::wstring text = Widen(shortcut.empty() ? item.caption : item.caption + "\t" + item.shortcut);
    if (!AppendMenuW(m_menu.get(), MF_STRING, item.id, text.c_str())) throw std::runtime_error("AppendMenu failed");
    m_items.push_back(std::move(item));
}

void Menu::addSeparator() {
    if (!AppendMenuW(m_menu.get(), MF_SEPARATOR, 0, nullptr)) throw std::runtime_error("AppendMenu failed");
    m_items.push_back(Item{});
}

Menu& Menu::addSubmenu(std::string_view name, std::string_view caption) {
    Item item;
    item.name = std::string(name);
    item.caption = std::string(caption);
    item.submenu = std::make_unique<Menu>(Kind::Popup);
    item.submenu->m_owned = false;
    if (!AppendMenuW(m_menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(item.submenu->handle()),
                     Widen(caption).c_str()))
        throw std::runtime_error("AppendMenu failed");
    m_items.push_back(std::move(item));
    return *m_items.back().submenu;
}

std::pair<const Menu*, UINT> Menu::locate(std::string_view name) const {
    if (name.empty()) return {nullptr, 0};
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].name == name) return {this, static_cast<UINT>(i)};
        if (m_items[i].submenu) {
            auto inner = m_items[i].submenu->locate(name);
            if (inner.first) return inner;
        }
    }
    return {nullptr, 0};
}

const Menu::Item* Menu::find(std::string_view name) const {
    auto [menu, position] = locate(name);
    return menu ? &menu->m_items[position] : nullptr;
}

Menu::Item* Menu::find(std::string_view name) {
    return const_cast<Item*>(std::as_const(*this).find(name));
}

Menu::Item* Menu::findById(UINT id) {
    for (auto& item : m_items) {
        if (item.submenu) {
            if (Item* inner = item.submenu->findById(id)) return inner;
        } else if (item.id != 0 && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

bool Menu::hasItem(std::string_view name) const {
    return find(name) != nullptr;
}

std::vector<std::string> Menu::itemNames() const {
    std::vector<std::string> names;
    for (const auto& item : m_items)
        if (!item.name.empty()) names.push_back(item.name);
    return names;
}

std::string Menu::caption(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->caption : std::string();
}

std::string Menu::shortcut(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->shortcut : std::string();
}

bool Menu::enabled(std::string_view name) const {
    auto [menu, position] = locate(name);
    return menu && !(ItemState(menu->handle(), position) & MFS_DISABLED);
}

void Menu::setEnabled(std::string_view name, bool on) {
    auto [menu, position] = locate(name);
    if (menu) SetItemState(menu->handle(), position, MFS_DISABLED, !on);
}

bool Menu::checked(std::string_view name) const {
    auto [menu, position] = locate(name);
    return menu && (ItemState(menu->handle(), position) & MFS_CHECKED);
}

void Menu::setChecked(std::string_view name, bool on) {
    auto [menu, position] = locate(name);
    if (menu) SetItemState(menu->handle(), position, MFS_CHECKED, on);
}

void Menu::setOnClick(std::string_view name, std::function<void()> onClick) {
    if (Item* item = find(name)) item->onClick = std::move(onClick);
}

bool Menu::click(std::string_view name) {
    Item* item = find(name);
    if (!item || item->submenu || !enabled(name)) return false;
    // A copy, so that a handler that rebuilds the menu does not run on a destroyed function.
    auto handler = item->onClick;
    // Items are chosen from window procedures, key handlers and message loops alike; no error
    // leaves here, it goes to the application's error box as from any other command.
    try {
        if (handler) handler();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what(), Form::ActiveModal() ? Form::ActiveModal()->hwnd() : nullptr);
    }
    return true;
}

bool Menu::dispatch(UINT commandId) {
    Item* item = findById(commandId);
    if (!item) return false;
    return click(item->name);
}

std::string Menu::popup(HWND owner, POINT screen) {
    std::string chosen;
    if (Hook()) {
        auto hook = Hook();
        chosen = hook(*this);
    } else {
        UINT id = static_cast<UINT>(TrackPopupMenuEx(m_menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                     screen.x, screen.y, owner, nullptr));
        if (Item* item = findById(id)) chosen = item->name;
    }
    if (chosen.empty() || !click(chosen)) return {};
    return chosen;
}

Menu::PopupHook Menu::SetPopupHook(PopupHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

} // namespace platform
