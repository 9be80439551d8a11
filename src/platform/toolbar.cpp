#include "platform/guard.h"
#include "platform/toolbar.h"

#include <exception>

#include "platform/dialogs.h"
#include "platform/strings.h"

namespace platform {

namespace {
constexpr wchar_t kHostClass[] = L"VantrelToolbarHost";
constexpr wchar_t kFontProperty[] = L"VantrelToolbarFont";
} // namespace

const wchar_t* Toolbar::HostClassName() {
    static bool registered = false;
    if (!registered) {
        InitCommonControlsOnce();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kHostClass;
        wc.lpfnWndProc = HostProc;
        RegisterClassExW(&wc);
        registered = true;
    }
    return kHostClass;
}

void Toolbar::afterCreate() {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT r;
    GetClientRect(m_hwnd, &r);
    m_bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                CCS_NORESIZE | CCS_NOPARENTALIGN,
                            0, 0, r.right, r.bottom, m_hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_bar) throw std::runtime_error("CreateWindowEx failed for toolbar " + m_name);
    SendMessageW(m_bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(m_bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(m_bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    if (auto font = static_cast<HFONT>(GetPropW(m_hwnd, kFontProperty)))
        SendMessageW(m_bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Toolbar::addButton(std::string_view name, std::string_view caption, std::string_view hint, bool dropDown) {
    Item item;
    item.name = std::string(name);
    item.caption = std::string(caption);
    item.hint = std::string(hint);
    item.wideHint = Widen(hint);
    item.id = m_nextId++;
    item.dropDown = dropDown;
    std::wstring text = Widen(caption);
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = item.id;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = static_cast<BYTE>(BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT | (dropDown ? BTNS_DROPDOWN : 0));
    b.iString = reinterpret_cast<INT_PTR>(text.c_str());
    if (!SendMessageW(m_bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b)))
        throw std::runtime_error("TB_ADDBUTTONS failed for " + item.name);
    SendMessageW(m_bar, TB_AUTOSIZE, 0, 0);
    m_items.push_back(std::move(item));
}

const Toolbar::Item* Toolbar::find(std::string_view name) const {
    for (const auto& item : m_items)
        if (item.name == name) return &item;
    return nullptr;
}
Toolbar::Item* Toolbar::find(std::string_view name) {
    for (auto& item : m_items)
        if (item.name == name) return &item;
    return nullptr;
}
Toolbar::Item* Toolbar::findById(int id) {
    for (auto& item : m_items)
        if (item.id == id) return &item;
    return nullptr;
}

void Toolbar::setOnClick(std::string_view name, std::function<void()> onClick) {
    if (Item* item = find(name)) item->onClick = std::move(onClick);
}
void Toolbar::setOnDropDown(std::string_view name, std::function<void()> onDropDown) {
    if (Item* item = find(name)) item->onDropDown = std::move(onDropDown);
}

bool Toolbar::hasButton(std::string_view name) const {
    return find(name) != nullptr;
}

std::vector<std::string> Toolbar::buttonNames() const {
    std::vector<std::string> names;
    for (const auto& item : m_items)
        names.push_back(item.name);
    return names;
}

std::string Toolbar::buttonCaption(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->caption : std::string();
}
std::string Toolbar::buttonHint(std::string_view name) const {
    const Item* item = find(name);
    return item ? item->hint : std::string();
}

bool Toolbar::buttonEnabled(std::string_view name) const {
    const Item* item = find(name);
    return item && SendMessageW(m_bar, TB_ISBUTTONENABLED, item->id, 0) != 0;
}

void Toolbar::setButtonEnabled(std::string_view name, bool on) {
    if (const Item* item = find(name)) SendMessageW(m_bar, TB_ENABLEBUTTON, item->id, MAKELPARAM(on ? TRUE : FALSE, 0));
}

bool Toolbar::isDropDown(std::string_view name) const {
    const Item* item = find(name);
    return item && item->dropDown;
}

RECT Toolbar::buttonRect(std::string_view name) const {
    RECT r{};
    if (const Item* item = find(name)) {
        SendMessageW(m_bar, TB_GETRECT, item->id, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(m_bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

bool Toolbar::usable(const Item* item) const {
    return item && IsWindowEnabled(m_hwnd) && visible() && buttonEnabled(item->name);
}

bool Toolbar::click(std::string_view name) {
    const Item* item = find(name);
    if (!usable(item)) return false;
    // The same path as a real click: the toolbar's WM_COMMAND to its host.
    SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(item->id, BN_CLICKED), reinterpret_cast<LPARAM>(m_bar));
    return true;
}

bool Toolbar::dropDown(std::string_view name) {
    const Item* item = find(name);
    if (!usable(item) || !item->dropDown) return false;
    NMTOOLBARW nm{};
    nm.hdr.hwndFrom = m_bar;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_bar));
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = item->id;
    SendMessageW(m_hwnd, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    return true;
}

LRESULT CALLBACK Toolbar::HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg == WM_SETFONT) SetPropW(hwnd, kFontProperty, reinterpret_cast<HANDLE>(wp));
    if (msg == WM_NCDESTROY) RemovePropW(hwnd, kFontProperty);
    auto* self = reinterpret_cast<Toolbar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || self->m_hwnd != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
    return CallGuarded(hwnd, [&] { return self->handle(msg, wp, lp); });
}

LRESULT Toolbar::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == m_bar) {
            if (Item* item = findById(LOWORD(wp))) {
                auto handler = item->onClick;
                if (handler) handler();
            }
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->code == TBN_DROPDOWN) {
            auto* nm = reinterpret_cast<NMTOOLBARW*>(lp);
            if (Item* item = findById(nm->iItem)) {
                auto handler = item->onDropDown;
                if (handler) handler();
            }
            return TBDDRET_DEFAULT;
        }
        if (hdr->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
            if (Item* item = findById(static_cast<int>(hdr->idFrom))) info->lpszText = item->wideHint.data();
            return 0;
        }
        break;
    }
    case WM_SIZE:
        if (m_bar) MoveWindow(m_bar, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        m_bar = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

} // namespace platform
