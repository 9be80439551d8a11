#include "tools/junk/junk_menus.h"

#include "platform/handles.h"
#include "platform/strings.h"

namespace tools::junk {

// ---- PopupMenu ----

void PopupMenu::addItem(std::string_view name, std::string_view caption, std::string_view shortcut,
                        std::function<void()> onClick) {
    Item item;
    item.name = std::string(name);
    item.caption = std::string(caption);
    item.shortcut = std::string(shortcut);
    item.onClick = std::move(onClick);
    m_items.push_back(std::move(item));
}

void PopupMenu::addSeparator() {
    Item item;
    item.separator = true;
    m_items.push_back(std::move(item));
}

const PopupMenu::Item* PopupMenu::find(std::string_view name) const {
    for (const auto& item : m_items)
        if (!item.separator && item.name == name) return &item;
    return nullptr;
}

PopupMenu::Item* PopupMenu::find(std::string_view name) {
    return const_cast<Item*>(static_cast<const PopupMenu*>(this)->find(name));
}

std::vector<std::string> PopupMenu::itemNames() const {
    std::vector<std::string> names;
    for (const auto& item : m_items)
        if (!item.separator) names.push_back(item.name);
    return names;
}

std::string PopupMenu::caption(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->caption : std::string();
}

std::string PopupMenu::shortcut(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->shortcut : std::string();
}

bool PopupMenu::enabled(std::string_view name) const {
    const Item* item = find(name);
    return item && item->enabled;
}

void PopupMenu::setEnabled(std::string_view name, bool on) {
    if (Item* item = find(name)) item->enabled = on;
}

bool PopupMenu::click(std::string_view name) {
    Item* item = find(name);
    if (!item || !item->enabled) return false;
    // The handler may change the menu; run a copy.
    auto handler = item->onClick;
    if (handler) handler();
    return true;
}

std::string PopupMenu::popup(HWND owner, POINT screen) {
    platform::UniqueHMenu menu(CreatePopupMenu());
    if (!menu) return {};
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (item.separator) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = platform::Widen(item.caption);
        if (!item.shortcut.empty()) text += L"\t" + platform::Widen(item.shortcut);
        AppendMenuW(menu.get(), MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), i + 1, text.c_str());
    }
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                         screen.x, screen.y, 0, owner, nullptr));
    if (chosen == 0 || chosen > m_items.size()) return {};
    const std::string name = m_items[chosen - 1].name;
    click(name);
    return name;
}

// ---- ResultToolbar ----

void ResultToolbar::afterCreate() {
    SendMessageW(m_hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(m_hwnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
    // Text buttons: no image list, no bitmap room.
    SendMessageW(m_hwnd, TB_SETIMAGELIST, 0, 0);
    SendMessageW(m_hwnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
}

void ResultToolbar::addButton(std::string_view name, std::string_view caption, bool dropDown,
                              std::function<void()> onClick, std::function<void()> onDropDown) {
    Item item;
    item.name = std::string(name);
    item.caption = std::string(caption);
    item.wideCaption = platform::Widen(caption);
    item.id = m_nextId++;
    item.dropDown = dropDown;
    item.onClick = std::move(onClick);
    item.onDropDown = std::move(onDropDown);
    m_items.push_back(std::move(item));
    Item& added = m_items.back();

    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = added.id;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = static_cast<BYTE>(BTNS_AUTOSIZE | BTNS_SHOWTEXT | (dropDown ? BTNS_DROPDOWN : 0));
    b.iString = reinterpret_cast<INT_PTR>(added.wideCaption.c_str());
    SendMessageW(m_hwnd, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    SendMessageW(m_hwnd, TB_AUTOSIZE, 0, 0);
}

const ResultToolbar::Item* ResultToolbar::find(std::string_view name) const {
    for (const auto& item : m_items)
        if (item.name == name) return &item;
    return nullptr;
}

std::vector<std::string> ResultToolbar::buttonNames() const {
    std::vector<std::string> names;
    for (const auto& item : m_items)
        names.push_back(item.name);
    return names;
}

std::string ResultToolbar::buttonCaption(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->caption : std::string();
}

bool ResultToolbar::buttonEnabled(std::string_view name) const {
    const Item* item = find(name);
    return item && SendMessageW(m_hwnd, TB_ISBUTTONENABLED, item->id, 0) != 0;
}

void ResultToolbar::setButtonEnabled(std::string_view name, bool on) {
    if (const Item* item = find(name))
        SendMessageW(m_hwnd, TB_ENABLEBUTTON, item->id, MAKELPARAM(on ? TRUE : FALSE, 0));
}

bool ResultToolbar::isDropDown(std::string_view name) const {
    const Item* item = find(name);
    return item && item->dropDown;
}

RECT ResultToolbar::buttonRect(std::string_view name) const {
    RECT r{};
    if (const Item* item = find(name)) {
        SendMessageW(m_hwnd, TB_GETRECT, item->id, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(m_hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

bool ResultToolbar::usable(const Item& item) const {
    return IsWindowEnabled(m_hwnd) && visible() && SendMessageW(m_hwnd, TB_ISBUTTONENABLED, item.id, 0) != 0;
}

bool ResultToolbar::click(std::string_view name) {
    const Item* item = find(name);
    if (!item || !usable(*item)) return false;
    auto handler = item->onClick;
    if (handler) handler();
    return true;
}

bool ResultToolbar::dropDown(std::string_view name) {
    const Item* item = find(name);
    if (!item || !item->dropDown || !usable(*item)) return false;
    auto handler = item->onDropDown;
    if (handler) handler();
    return true;
}

bool ResultToolbar::dispatch(int commandId) {
    for (const auto& item : m_items)
        if (item.id == commandId) {
            click(item.name);
            return true;
        }
    return false;
}

bool ResultToolbar::onNotify(NMHDR* hdr, LRESULT& result) {
    if (hdr->code != TBN_DROPDOWN) return false;
    const auto* nm = reinterpret_cast<const NMTOOLBARW*>(hdr);
    for (const auto& item : m_items)
        if (item.id == nm->iItem) {
            dropDown(item.name);
            break;
        }
    result = TBDDRET_DEFAULT;
    return true;
}

} // namespace tools::junk
