#include "platform/popup_menu.h"

#include <utility>

#include "platform/handles.h"
#include "platform/strings.h"

namespace platform {

namespace {
PopupMenu::PickHook& Hook() {
    static PopupMenu::PickHook hook;
    return hook;
}

MenuItem* FindByName(const MenuItem& parent, std::string_view name) {
    for (const auto& i : parent.items()) {
        if (i->name() == name) return i.get();
        if (MenuItem* found = FindByName(*i, name)) return found;
    }
    return nullptr;
}

MenuItem* FindById(const MenuItem& parent, UINT id) {
    for (const auto& i : parent.items()) {
        if (!i->hasSubmenu() && !i->isSeparator() && i->id() == id) return i.get();
        if (MenuItem* found = FindById(*i, id)) return found;
    }
    return nullptr;
}
} // namespace

// ---- MenuItem ----

MenuItem::MenuItem(MenuBase* menu, std::string name, std::string caption, std::string shortcut)
    : m_menu(menu), m_name(std::move(name)), m_caption(std::move(caption)), m_shortcut(std::move(shortcut)) {
    if (m_menu) m_id = m_menu->nextId();
}

void MenuItem::setEnabled(bool on) {
    m_enabled = on;
    if (HMENU live = m_menu ? m_menu->liveHandle() : nullptr)
        EnableMenuItem(live, m_id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void MenuItem::setChecked(bool on) {
    m_checked = on;
    if (HMENU live = m_menu ? m_menu->liveHandle() : nullptr)
        CheckMenuItem(live, m_id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

MenuItem& MenuItem::add(std::string name, std::string caption, std::function<void()> onClick, std::string shortcut) {
    m_items.push_back(std::make_unique<MenuItem>(m_menu, std::move(name), std::move(caption), std::move(shortcut)));
    m_items.back()->onClick = std::move(onClick);
    return *m_items.back();
}

void MenuItem::addSeparator() {
    m_items.push_back(std::make_unique<MenuItem>(m_menu, std::string(), std::string(), std::string()));
    m_items.back()->m_separator = true;
}

MenuItem* MenuItem::child(std::string_view caption) const {
    for (const auto& i : m_items)
        if (!i->isSeparator() && i->caption() == caption) return i.get();
    return nullptr;
}

bool MenuItem::click() {
    if (!m_enabled || m_separator || hasSubmenu()) return false;
    if (onClick) onClick();
    return true;
}

// ---- MenuBase ----

MenuBase::MenuBase() : m_root(nullptr, "", "", "") {
    m_root.m_menu = this;
}

MenuItem& MenuBase::add(std::string name, std::string caption, std::function<void()> onClick, std::string shortcut) {
    return m_root.add(std::move(name), std::move(caption), std::move(onClick), std::move(shortcut));
}

void MenuBase::addSeparator() {
    m_root.addSeparator();
}

MenuItem* MenuBase::item(std::string_view name) const {
    return FindByName(m_root, name);
}

MenuItem* MenuBase::itemById(UINT id) const {
    return FindById(m_root, id);
}

bool MenuBase::pick(const std::vector<std::string>& captionPath) {
    const MenuItem* parent = &m_root;
    MenuItem* found = nullptr;
    for (const auto& caption : captionPath) {
        found = parent->child(caption);
        if (!found || !found->enabled()) return false;
        parent = found;
    }
    return found && found->click();
}

void MenuBase::fill(HMENU menu, const MenuItem& parent) const {
    for (const auto& i : parent.items()) {
        if (i->isSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = Widen(i->shortcut().empty() ? i->caption() : i->caption() + "\t" + i->shortcut());
        UINT flags = MF_STRING | (i->enabled() ? MF_ENABLED : MF_GRAYED) | (i->checked() ? MF_CHECKED : 0);
        if (i->hasSubmenu()) {
            HMENU sub = CreatePopupMenu();
            fill(sub, *i);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            AppendMenuW(menu, flags, i->id(), text.c_str());
        }
    }
}

// ---- PopupMenu ----

PopupMenu::PickHook PopupMenu::SetPickHook(PickHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

bool PopupMenu::popup(HWND owner, POINT screen) {
    if (Hook()) {
        auto hook = Hook();
        std::optional<std::string> caption = hook(*this);
        return caption && pick({*caption});
    }
    UniqueHMenu menu(CreatePopupMenu());
    if (!menu) return false;
    fill(menu.get(), m_root);
    // TPM_RETURNCMD: the choice comes back here rather than as WM_COMMAND to the owner, so the
    // popup needs no routing through the owner's window procedure.
    UINT id = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                               screen.x, screen.y, 0, owner, nullptr));
    if (id == 0) return false;
    MenuItem* chosen = itemById(id);
    return chosen && chosen->click();
}

bool PopupMenu::popupBelow(const Control& control) {
    RECT r{};
    GetWindowRect(control.hwnd(), &r);
    return popup(GetAncestor(control.hwnd(), GA_ROOT), POINT{r.left, r.bottom});
}

// ---- MenuButton ----

void MenuButton::afterCreate() {
    // The common controls draw a drop-down arrow on a split button; the caption stays as given.
    auto style = static_cast<WPARAM>(GetWindowLongPtrW(m_hwnd, GWL_STYLE));
    SendMessageW(m_hwnd, BM_SETSTYLE, (style & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_SPLITBUTTON, FALSE);
    if (!onClick) onClick = [this] { menu.popupBelow(*this); };
}

bool MenuButton::onNotify(NMHDR* hdr, LRESULT& result) {
    result = 0;
    if (hdr->code != BCN_DROPDOWN) return false;
    if (enabled()) menu.popupBelow(*this);
    return true;
}

// ---- MenuBar ----

MenuBar::~MenuBar() {
    if (!m_menu) return;
    // A menu attached to a window is destroyed with the window; only a detached one is ours to free.
    if (m_window && IsWindow(m_window) && GetMenu(m_window) == m_menu) {
        SetMenu(m_window, nullptr);
        DestroyMenu(m_menu);
    } else if (!m_window) {
        DestroyMenu(m_menu);
    }
}

void MenuBar::attach(HWND window) {
    HMENU bar = CreateMenu();
    if (!bar) return;
    fill(bar, m_root);
    SetMenu(window, bar);
    DrawMenuBar(window);
    m_window = window;
    m_menu = bar;
}

bool MenuBar::handleCommand(UINT id) {
    MenuItem* item = itemById(id);
    if (!item) return false;
    item->click();
    return true;
}

} // namespace platform
