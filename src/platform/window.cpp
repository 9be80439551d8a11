#include "platform/window.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/strings.h"

namespace platform {

namespace {
constexpr wchar_t kFormClass[] = L"VantrelForm";
constexpr wchar_t kPanelClass[] = L"VantrelPanel";
constexpr UINT kModalHookMessage = WM_APP + 0x3F0;

Form::ModalHook& Hook() {
    static Form::ModalHook hook;
    return hook;
}
std::vector<Form*>& ModalStack() {
    static std::vector<Form*> stack;
    return stack;
}

HFONT SharedFont(int dpi) {
    static HFONT font = nullptr;
    static int fontDpi = 0;
    if (!font || fontDpi != dpi) {
        NONCLIENTMETRICSW m{};
        m.cbSize = sizeof(m);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0);
        LOGFONTW lf = m.lfMessageFont;
        lf.lfHeight = -MulDiv(9, dpi, 72);
        font = CreateFontIndirectW(&lf);
        fontDpi = dpi;
    }
    return font;
}

// Notifications from a control inside a panel go to the form that owns the panel.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL: {
        HWND root = GetAncestor(hwnd, GA_ROOT);
        if (root && root != hwnd) return SendMessageW(root, msg, wp, lp);
        break;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The form class needs Form's window procedure, which only Form itself can name.
void RegisterClasses(WNDPROC formProc) {
    static bool done = false;
    if (done) return;
    done = true;
    InitCommonControlsOnce();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100));
    wc.lpszClassName = kFormClass;
    wc.lpfnWndProc = formProc;
    RegisterClassExW(&wc);
    WNDCLASSEXW pc = wc;
    pc.hIcon = nullptr;
    pc.lpszClassName = kPanelClass;
    pc.lpfnWndProc = PanelProc;
    RegisterClassExW(&pc);
}

std::string WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(h, buf.data(), n + 1);
    return Narrow(std::wstring_view(buf.data(), static_cast<size_t>(n)));
}
} // namespace

void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_LINK_CLASS | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
}

const wchar_t* PanelClassName() {
    Form::RegisterWindowClasses();
    return kPanelClass;
}

// ---- Control ----

void Control::attach(Form& form, HWND parent, std::string_view name, const wchar_t* windowClass, std::string_view text,
                     DWORD style, DWORD exStyle, const Bounds& b) {
    m_form = &form;
    m_name = std::string(name);
    m_id = form.m_nextId++;
    m_hwnd = CreateWindowExW(exStyle, windowClass, Widen(text).c_str(), style | WS_CHILD, form.scale(b.x),
                             form.scale(b.y), form.scale(b.w), form.scale(b.h), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)), GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd) throw std::runtime_error("CreateWindowEx failed for control " + m_name);
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form.font()), FALSE);
    form.m_byHwnd[m_hwnd] = this;
    form.m_order.push_back(this);
    afterCreate();
}

std::string Control::caption() const {
    return WindowText(m_hwnd);
}
void Control::setCaption(std::string_view text) {
    SetWindowTextW(m_hwnd, Widen(text).c_str());
}
bool Control::enabled() const {
    return IsWindowEnabled(m_hwnd) != FALSE;
}
void Control::setEnabled(bool on) {
    EnableWindow(m_hwnd, on);
}
bool Control::visible() const {
    return (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}
void Control::setVisible(bool on) {
    ShowWindow(m_hwnd, on ? SW_SHOWNA : SW_HIDE);
}

void Control::setHint(std::string_view text) {
    m_hint = std::string(text);
    if (m_form) m_form->addTool(*this);
}

void Control::setBounds(const Bounds& b) {
    MoveWindow(m_hwnd, m_form->scale(b.x), m_form->scale(b.y), m_form->scale(b.w), m_form->scale(b.h), TRUE);
}

Bounds Control::bounds() const {
    RECT r;
    GetWindowRect(m_hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(m_hwnd), reinterpret_cast<POINT*>(&r), 2);
    return {m_form->unscale(r.left), m_form->unscale(r.top), m_form->unscale(r.right - r.left),
            m_form->unscale(r.bottom - r.top)};
}

void Control::setFocus() {
    SetFocus(m_hwnd);
}
bool Control::focused() const {
    return GetFocus() == m_hwnd;
}

// ---- Buttons ----

bool Button::click() {
    if (!enabled() || !visible()) return false;
    // The same path as a real click: BN_CLICKED through the parent window.
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

bool Button::onCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    if (onClick) onClick();
    return true;
}

void Button::setDefault(bool on) {
    LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE) & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
    SendMessageW(m_hwnd, BM_SETSTYLE, static_cast<WPARAM>(style | (on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)), TRUE);
}

bool CheckBox::checked() const {
    return SendMessageW(m_hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void CheckBox::setChecked(bool on) {
    SendMessageW(m_hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::click() {
    if (!enabled() || !visible()) return false;
    setChecked(!checked());
    SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

bool CheckBox::onCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    if (onClick) onClick();
    return true;
}

bool RadioButton::click() {
    if (!enabled() || !visible()) return false;
    // Clear the other buttons of the group (siblings up to the next WS_GROUP).
    HWND parent = GetParent(m_hwnd);
    HWND first = m_hwnd;
    while (!(GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev) break;
        first = prev;
    }
    for (HWND h = first; h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h != first && (GetWindowLongPtrW(h, GWL_STYLE) & WS_GROUP)) break;
        wchar_t cls[32];
        GetClassNameW(h, cls, 32);
        if (lstrcmpiW(cls, L"Button") == 0 && (GetWindowLongPtrW(h, GWL_STYLE) & 0x0F) == BS_AUTORADIOBUTTON)
            SendMessageW(h, BM_SETCHECK, h == m_hwnd ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    return true;
}

// ---- Edit, combo, progress ----

void Edit::setReadOnly(bool on) {
    SendMessageW(m_hwnd, EM_SETREADONLY, on, 0);
}
bool Edit::readOnly() const {
    return (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & ES_READONLY) != 0;
}
void Edit::selectAll() {
    SendMessageW(m_hwnd, EM_SETSEL, 0, -1);
}
void Edit::caretToEnd() {
    int n = GetWindowTextLengthW(m_hwnd);
    SendMessageW(m_hwnd, EM_SETSEL, n, n);
    SendMessageW(m_hwnd, EM_SCROLLCARET, 0, 0);
}
bool Edit::onCommand(WORD code) {
    if (code != EN_CHANGE) return false;
    if (onChange) onChange();
    return true;
}

void ComboBox::addItem(std::string_view text) {
    SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}
void ComboBox::clear() {
    SendMessageW(m_hwnd, CB_RESETCONTENT, 0, 0);
}
int ComboBox::count() const {
    return static_cast<int>(SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0));
}
std::string ComboBox::item(int index) const {
    auto n = SendMessageW(m_hwnd, CB_GETLBTEXTLEN, index, 0);
    if (n < 0) return {};
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(m_hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buf.data()));
    return Narrow(std::wstring_view(buf.data(), static_cast<size_t>(n)));
}
int ComboBox::itemIndex() const {
    return static_cast<int>(SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0));
}
void ComboBox::setItemIndex(int index) {
    SendMessageW(m_hwnd, CB_SETCURSEL, index, 0);
}
bool ComboBox::select(std::string_view text) {
    for (int i = 0; i < count(); ++i) {
        if (item(i) == text) {
            setItemIndex(i);
            SendMessageW(GetParent(m_hwnd), WM_COMMAND, MAKEWPARAM(m_id, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(m_hwnd));
            return true;
        }
    }
    return false;
}
bool ComboBox::onCommand(WORD code) {
    if (code != CBN_SELCHANGE && code != CBN_EDITCHANGE) return false;
    if (onChange) onChange();
    return true;
}

void ProgressBar::setRange(int lo, int hi) {
    SendMessageW(m_hwnd, PBM_SETRANGE32, lo, hi);
}
void ProgressBar::setPosition(int pos) {
    SendMessageW(m_hwnd, PBM_SETPOS, pos, 0);
}
int ProgressBar::position() const {
    return static_cast<int>(SendMessageW(m_hwnd, PBM_GETPOS, 0, 0));
}

// ---- ListView ----

void ListView::afterCreate() {
    ListView_SetExtendedListViewStyle(m_hwnd, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
}

void ListView::setCheckBoxes(bool on) {
    // The control keeps no check state for rows it does not hold.
    if (on && m_ownerData) throw std::logic_error("an owner-data list has no check boxes");
    DWORD ex = ListView_GetExtendedListViewStyle(m_hwnd);
    ListView_SetExtendedListViewStyle(m_hwnd, on ? (ex | LVS_EX_CHECKBOXES) : (ex & ~LVS_EX_CHECKBOXES));
}

void ListView::setMultiSelect(bool on) {
    LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, on ? (style & ~LVS_SINGLESEL) : (style | LVS_SINGLESEL));
}

int ListView::addColumn(std::string_view caption, int width) {
    std::wstring text = Widen(caption);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.pszText = text.data();
    c.cx = m_form->scale(width);
    int n = columnCount();
    c.iSubItem = n;
    return static_cast<int>(SendMessageW(m_hwnd, LVM_INSERTCOLUMNW, n, reinterpret_cast<LPARAM>(&c)));
}

int ListView::columnCount() const {
    HWND header = ListView_GetHeader(m_hwnd);
    return header ? Header_GetItemCount(header) : 0;
}

int ListView::columnWidth(int column) const {
    return m_form->unscale(ListView_GetColumnWidth(m_hwnd, column));
}
void ListView::setColumnWidth(int column, int width) {
    ListView_SetColumnWidth(m_hwnd, column, m_form->scale(width));
}

std::string ListView::columnCaption(int column) const {
    wchar_t buf[260] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = buf;
    c.cchTextMax = 260;
    SendMessageW(m_hwnd, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
    return Narrow(buf);
}

int ListView::addRow(std::string_view caption, const std::vector<std::string>& subItems, int image, LPARAM data) {
    if (m_ownerData) {
        StoredRow stored;
        stored.texts.reserve(subItems.size() + 1);
        stored.texts.emplace_back(caption);
        stored.texts.insert(stored.texts.end(), subItems.begin(), subItems.end());
        stored.data = data;
        stored.image = image >= 0 ? image : 0;
        m_rows.push_back(std::move(stored));
        // Rows beyond the visible ones cost the control nothing but the count.
        ListView_SetItemCountEx(m_hwnd, static_cast<int>(m_rows.size()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        return static_cast<int>(m_rows.size()) - 1;
    }
    std::wstring text = Widen(caption);
    LVITEMW it{};
    it.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    it.iItem = rowCount();
    it.pszText = text.data();
    it.iImage = image;
    it.lParam = data;
    m_suppressEvents = true;
    int index = static_cast<int>(SendMessageW(m_hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
    for (size_t i = 0; i < subItems.size() && index >= 0; ++i)
        setText(index, static_cast<int>(i) + 1, subItems[i]);
    m_suppressEvents = false;
    return index;
}

int ListView::rowCount() const {
    if (m_ownerData) return static_cast<int>(m_rows.size());
    return ListView_GetItemCount(m_hwnd);
}

std::string ListView::text(int row, int column) const {
    if (m_ownerData) {
        const StoredRow* r = storedRow(row);
        if (!r || column < 0 || static_cast<size_t>(column) >= r->texts.size()) return {};
        return r->texts[static_cast<size_t>(column)];
    }
    std::wstring buf(1024, L'\0');
    for (;;) {
        LVITEMW it{};
        it.iSubItem = column;
        it.pszText = buf.data();
        it.cchTextMax = static_cast<int>(buf.size());
        auto n = static_cast<size_t>(SendMessageW(m_hwnd, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it)));
        if (n + 1 < buf.size()) return Narrow(std::wstring_view(buf.data(), n));
        buf.assign(buf.size() * 4, L'\0');
    }
}

void ListView::setText(int row, int column, std::string_view text) {
    if (m_ownerData) {
        StoredRow* r = storedRow(row);
        if (!r || column < 0) return;
        auto& texts = r->texts;
        if (texts.size() <= static_cast<size_t>(column)) texts.resize(static_cast<size_t>(column) + 1);
        texts[static_cast<size_t>(column)] = std::string(text);
        ListView_RedrawItems(m_hwnd, row, row);
        return;
    }
    std::wstring w = Widen(text);
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = w.data();
    SendMessageW(m_hwnd, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
}

std::vector<std::string> ListView::row(int index) const {
    std::vector<std::string> out;
    int n = std::max(columnCount(), 1);
    for (int c = 0; c < n; ++c)
        out.push_back(text(index, c));
    return out;
}

bool ListView::checked(int row) const {
    if (m_ownerData) return false; // no check boxes
    return ListView_GetCheckState(m_hwnd, row) != 0;
}
void ListView::setChecked(int row, bool on) {
    if (m_ownerData) return; // no check boxes
    ListView_SetCheckState(m_hwnd, row, on);
}
bool ListView::selected(int row) const {
    return ListView_GetItemState(m_hwnd, row, LVIS_SELECTED) != 0;
}
void ListView::setSelected(int row, bool on) {
    ListView_SetItemState(m_hwnd, row, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
}
int ListView::selectedCount() const {
    return static_cast<int>(ListView_GetSelectedCount(m_hwnd));
}
int ListView::selectedIndex() const {
    return ListView_GetNextItem(m_hwnd, -1, LVNI_SELECTED);
}

std::vector<int> ListView::selectedRows() const {
    std::vector<int> out;
    for (int i = ListView_GetNextItem(m_hwnd, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(m_hwnd, i, LVNI_SELECTED))
        out.push_back(i);
    return out;
}

void ListView::selectAll() {
    ListView_SetItemState(m_hwnd, -1, LVIS_SELECTED, LVIS_SELECTED);
}
void ListView::setFocused(int row) {
    ListView_SetItemState(m_hwnd, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_EnsureVisible(m_hwnd, row, FALSE);
}
int ListView::focusedIndex() const {
    return ListView_GetNextItem(m_hwnd, -1, LVNI_FOCUSED);
}
void ListView::deleteRow(int row) {
    if (m_ownerData) {
        if (!storedRow(row)) return;
        // The row goes first, so that whatever the control asks for while it moves the
        // selection up is already the rows that stay.
        m_rows.erase(m_rows.begin() + row);
        ListView_DeleteItem(m_hwnd, row);
        if (ListView_GetItemCount(m_hwnd) != static_cast<int>(m_rows.size()))
            ListView_SetItemCountEx(m_hwnd, static_cast<int>(m_rows.size()), LVSICF_NOSCROLL);
        return;
    }
    ListView_DeleteItem(m_hwnd, row);
}
void ListView::clear() {
    m_rows.clear();
    ListView_DeleteAllItems(m_hwnd);
    if (m_ownerData && ListView_GetItemCount(m_hwnd) != 0) ListView_SetItemCountEx(m_hwnd, 0, 0);
}

LPARAM ListView::data(int row) const {
    if (m_ownerData) {
        const StoredRow* r = storedRow(row);
        return r ? r->data : 0;
    }
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = row;
    SendMessageW(m_hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return it.lParam;
}

int ListView::image(int row) const {
    if (m_ownerData) {
        const StoredRow* r = storedRow(row);
        return r ? r->image : -1;
    }
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row;
    SendMessageW(m_hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return it.iImage;
}

void ListView::setImage(int row, int image) {
    if (m_ownerData) {
        StoredRow* r = storedRow(row);
        if (!r) return;
        r->image = image;
        ListView_RedrawItems(m_hwnd, row, row);
        return;
    }
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row;
    it.iImage = image;
    SendMessageW(m_hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

void ListView::setImageList(HIMAGELIST list, int which) {
    ListView_SetImageList(m_hwnd, list, which);
}
void ListView::beginUpdate() {
    SendMessageW(m_hwnd, WM_SETREDRAW, FALSE, 0);
}
void ListView::endUpdate() {
    SendMessageW(m_hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void ListView::sortRows(const std::function<int(int a, int b)>& compare) {
    if (m_ownerData) {
        std::vector<int> order(m_rows.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
        std::vector<StoredRow> sorted;
        sorted.reserve(m_rows.size());
        for (int i : order)
            sorted.push_back(std::move(m_rows[static_cast<size_t>(i)]));
        m_rows = std::move(sorted);
        // As with a list that holds its rows, sorting starts the selection afresh.
        m_suppressEvents = true;
        ListView_SetItemState(m_hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_suppressEvents = false;
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return;
    }
    // LVM_SORTITEMSEX passes row indexes as they stand during the sort; ordering by lParam of
    // a snapshot keeps the comparison on the original rows.
    int n = rowCount();
    std::vector<std::vector<std::string>> rows;
    std::vector<LPARAM> datas;
    std::vector<bool> checks;
    std::vector<int> images;
    for (int i = 0; i < n; ++i) {
        rows.push_back(row(i));
        datas.push_back(data(i));
        checks.push_back(checked(i));
        images.push_back(image(i));
    }
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    beginUpdate();
    m_suppressEvents = true;
    clear();
    for (int i : order) {
        auto& r = rows[static_cast<size_t>(i)];
        int idx = addRow(r[0], std::vector<std::string>(r.begin() + 1, r.end()), images[static_cast<size_t>(i)],
                         datas[static_cast<size_t>(i)]);
        m_suppressEvents = true;
        setChecked(idx, checks[static_cast<size_t>(i)]);
    }
    m_suppressEvents = false;
    endUpdate();
}

void ListView::dblClick(int row) {
    if (!enabled()) return;
    setSelected(row, true);
    setFocused(row);
    if (onDblClick) onDblClick(row);
}

int ListView::findStoredRow(const LVFINDINFOW& find, int start) const {
    const int n = static_cast<int>(m_rows.size());
    if (n == 0) return -1;
    if (start < 0 || start >= n) start = 0;
    std::wstring wanted = (find.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.psz ? find.psz : L"";
    auto matches = [&](int row) {
        const StoredRow& r = m_rows[static_cast<size_t>(row)];
        if (find.flags & LVFI_PARAM) return r.data == find.lParam;
        if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL))) return false;
        std::wstring caption = r.texts.empty() ? std::wstring() : Widen(r.texts.front());
        if (find.flags & LVFI_PARTIAL) {
            if (caption.size() < wanted.size()) return false;
            caption.resize(wanted.size());
        }
        return CompareStringOrdinal(caption.data(), static_cast<int>(caption.size()), wanted.data(),
                                    static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
    };
    for (int row = start; row < n; ++row)
        if (matches(row)) return row;
    if (find.flags & LVFI_WRAP)
        for (int row = 0; row < start; ++row)
            if (matches(row)) return row;
    return -1;
}

bool ListView::onNotify(NMHDR* hdr, LRESULT& result) {
    result = 0;
    switch (hdr->code) {
    case LVN_GETDISPINFOW: {
        if (!m_ownerData) return false;
        LVITEMW& it = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
        const StoredRow* r = storedRow(it.iItem);
        if (!r) return true;
        if ((it.mask & LVIF_TEXT) && it.pszText && it.cchTextMax > 0) {
            const std::wstring w = Widen(text(it.iItem, it.iSubItem));
            const size_t n = std::min(w.size(), static_cast<size_t>(it.cchTextMax) - 1);
            std::copy_n(w.data(), n, it.pszText);
            it.pszText[n] = L'\0';
        }
        if (it.mask & LVIF_IMAGE) it.iImage = r->image;
        if (it.mask & LVIF_PARAM) it.lParam = r->data;
        if (it.mask & LVIF_INDENT) it.iIndent = 0;
        return true;
    }
    case LVN_ODFINDITEMW: {
        if (!m_ownerData) return false;
        auto* nm = reinterpret_cast<NMLVFINDITEMW*>(hdr);
        result = findStoredRow(nm->lvfi, nm->iStart);
        return true;
    }
    case LVN_ODSTATECHANGED: {
        // A range of rows changed state at once (shift-click, shift+arrow).
        auto* nm = reinterpret_cast<NMLVODSTATECHANGE*>(hdr);
        if (!m_suppressEvents && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && onChange) onChange(nm->iFrom);
        return true;
    }
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
        if (m_suppressEvents || !(nm->uChanged & LVIF_STATE)) return true;
        if (nm->iItem < 0) {
            // An owner-data list reports a change of every row's state once, as row -1.
            if (m_ownerData && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && onChange) onChange(-1);
            return true;
        }
        UINT oldCheck = nm->uOldState & LVIS_STATEIMAGEMASK, newCheck = nm->uNewState & LVIS_STATEIMAGEMASK;
        if (oldCheck && newCheck && oldCheck != newCheck && onItemCheck) onItemCheck(nm->iItem);
        if ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) {
            if (onChange) onChange(nm->iItem);
        }
        return true;
    }
    case NM_DBLCLK: {
        auto* nm = reinterpret_cast<NMITEMACTIVATE*>(hdr);
        if (nm->iItem >= 0 && onDblClick) onDblClick(nm->iItem);
        return true;
    }
    case LVN_COLUMNCLICK: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
        if (onColumnClick) onColumnClick(nm->iSubItem);
        return true;
    }
    default:
        return false;
    }
}

// ---- StatusBar ----

void StatusBar::setPanels(const std::vector<int>& widths) {
    std::vector<int> edges;
    int x = 0;
    for (int w : widths) {
        if (w < 0) {
            edges.push_back(-1);
        } else {
            x += m_form->scale(w);
            edges.push_back(x);
        }
    }
    SendMessageW(m_hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int StatusBar::panelCount() const {
    return static_cast<int>(SendMessageW(m_hwnd, SB_GETPARTS, 0, 0));
}

std::string StatusBar::panelText(int panel) const {
    auto n = LOWORD(SendMessageW(m_hwnd, SB_GETTEXTLENGTHW, panel, 0));
    std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(m_hwnd, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(buf.data()));
    return Narrow(std::wstring_view(buf.data(), n));
}

void StatusBar::setPanelText(int panel, std::string_view text) {
    SendMessageW(m_hwnd, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void StatusBar::setSimpleText(std::string_view text) {
    setPanelText(0, text);
}

// ---- PageControl ----

Panel& PageControl::addPage(std::string_view name, std::string_view caption) {
    Page p;
    p.panel = std::make_unique<Panel>();
    p.caption = std::string(caption);
    Bounds area = pageArea();
    m_form->add(*p.panel, name, PanelClassName(), "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, area, nullptr,
                WS_EX_CONTROLPARENT);
    SetParent(p.panel->hwnd(), GetParent(m_hwnd));
    SetWindowPos(p.panel->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MoveWindow(p.panel->hwnd(), m_form->scale(area.x), m_form->scale(area.y), m_form->scale(area.w),
               m_form->scale(area.h), FALSE);
    m_pages.push_back(std::move(p));
    rebuildTabs();
    if (m_active < 0) m_active = 0;
    showActive();
    return *m_pages.back().panel;
}

Panel* PageControl::pageByName(std::string_view name) {
    for (auto& p : m_pages)
        if (p.panel->name() == name) return p.panel.get();
    return nullptr;
}

std::string PageControl::pageCaption(int index) const {
    return m_pages[static_cast<size_t>(index)].caption;
}
bool PageControl::pageVisible(int index) const {
    return m_pages[static_cast<size_t>(index)].visible;
}

void PageControl::setPageVisible(int index, bool on) {
    m_pages[static_cast<size_t>(index)].visible = on;
    if (!on && m_active == index) {
        m_active = -1;
        for (int i = 0; i < pageCount(); ++i)
            if (m_pages[static_cast<size_t>(i)].visible) {
                m_active = i;
                break;
            }
    }
    rebuildTabs();
    showActive();
}

std::vector<std::string> PageControl::visiblePageCaptions() const {
    std::vector<std::string> out;
    for (auto& p : m_pages)
        if (p.visible) out.push_back(p.caption);
    return out;
}

void PageControl::setActivePage(int index) {
    if (index < 0 || index >= pageCount() || !m_pages[static_cast<size_t>(index)].visible) return;
    m_active = index;
    showActive();
    if (onChange) onChange();
}

bool PageControl::selectPage(std::string_view caption) {
    for (int i = 0; i < pageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)].caption == caption && m_pages[static_cast<size_t>(i)].visible) {
            setActivePage(i);
            return true;
        }
    return false;
}

Bounds PageControl::pageArea() const {
    RECT r;
    GetWindowRect(m_hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(m_hwnd), reinterpret_cast<POINT*>(&r), 2);
    TabCtrl_AdjustRect(m_hwnd, FALSE, &r);
    return {m_form->unscale(r.left), m_form->unscale(r.top), m_form->unscale(r.right - r.left),
            m_form->unscale(r.bottom - r.top)};
}

void PageControl::rebuildTabs() {
    TabCtrl_DeleteAllItems(m_hwnd);
    int tab = 0;
    for (auto& p : m_pages) {
        if (!p.visible) continue;
        std::wstring text = Widen(p.caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(m_hwnd, TCM_INSERTITEMW, tab++, reinterpret_cast<LPARAM>(&item));
    }
    // The row of tabs has its height only once it holds items: place the pages below it anew,
    // or the first page would cover the tabs.
    Bounds area = pageArea();
    for (auto& p : m_pages)
        MoveWindow(p.panel->hwnd(), m_form->scale(area.x), m_form->scale(area.y), m_form->scale(area.w),
                   m_form->scale(area.h), TRUE);
}

void PageControl::showActive() {
    int tab = 0, activeTab = -1;
    for (int i = 0; i < pageCount(); ++i) {
        auto& p = m_pages[static_cast<size_t>(i)];
        if (i == m_active) activeTab = tab;
        if (p.visible) ++tab;
        ShowWindow(p.panel->hwnd(), i == m_active ? SW_SHOWNA : SW_HIDE);
    }
    if (activeTab >= 0) TabCtrl_SetCurSel(m_hwnd, activeTab);
}

bool PageControl::onNotify(NMHDR* hdr, LRESULT& result) {
    result = 0;
    if (hdr->code != TCN_SELCHANGE) return false;
    int sel = TabCtrl_GetCurSel(m_hwnd), tab = 0;
    for (int i = 0; i < pageCount(); ++i) {
        if (!m_pages[static_cast<size_t>(i)].visible) continue;
        if (tab++ == sel) {
            setActivePage(i);
            break;
        }
    }
    return true;
}

// ---- Form ----

Form::Form(std::string className) : m_className(std::move(className)) {}

Form::~Form() {
    destroyWindow();
}

void Form::destroyWindow() {
    if (!m_hwnd) return;
    HWND h = m_hwnd;
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    m_hwnd = nullptr;
    m_byHwnd.clear();
    m_order.clear();
    DestroyWindow(h);
}

Form* Form::FromHwnd(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    wchar_t cls[32];
    if (!root || !GetClassNameW(root, cls, 32) || lstrcmpW(cls, kFormClass) != 0) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

Form::ModalHook Form::SetModalHook(ModalHook hook) {
    return std::exchange(Hook(), std::move(hook));
}
Form* Form::ActiveModal() {
    return ModalStack().empty() ? nullptr : ModalStack().back();
}

int Form::scale(int units) const {
    return MulDiv(units, m_dpi, 96);
}
int Form::unscale(int pixels) const {
    return MulDiv(pixels, 96, m_dpi);
}
HFONT Form::font() const {
    return SharedFont(m_dpi);
}

void Form::RegisterWindowClasses() {
    RegisterClasses(&Form::WndProc);
}

void Form::create(HWND owner) {
    if (m_hwnd) return;
    RegisterWindowClasses();
    if (!owner && ActiveModal()) owner = ActiveModal()->hwnd();
    buildWindow(owner);
    if (!m_hwnd) throw std::runtime_error("window " + m_className + " was not created");
    FormCreate();
}

void Form::createWindow(const FormSpec& spec, HWND owner) {
    HDC screen = GetDC(nullptr);
    m_dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (m_dpi <= 0) m_dpi = 96;
    RECT r{0, 0, scale(spec.clientWidth), scale(spec.clientHeight)};
    AdjustWindowRectEx(&r, spec.style, FALSE, spec.exStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExW(spec.exStyle, kFormClass, Widen(spec.caption).c_str(), spec.style & ~WS_VISIBLE, x, y,
                                w, h, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd) throw std::runtime_error("CreateWindowEx failed for " + m_className);
}

HWND Form::parentOf(Control* parent) const {
    return parent ? parent->hwnd() : m_hwnd;
}

void Form::add(Control& c, std::string_view name, const wchar_t* windowClass, std::string_view text, DWORD style,
               const Bounds& b, Control* parent, DWORD exStyle) {
    c.attach(*this, parentOf(parent), name, windowClass, text, style | WS_VISIBLE, exStyle, b);
}

void Form::addButton(Button& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent) {
    add(c, name, WC_BUTTONW, text, BS_PUSHBUTTON | WS_TABSTOP, b, parent);
}
void Form::addCheckBox(CheckBox& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent) {
    add(c, name, WC_BUTTONW, text, BS_AUTOCHECKBOX | WS_TABSTOP, b, parent);
}
void Form::addRadio(RadioButton& c, std::string_view name, std::string_view text, const Bounds& b, bool firstOfGroup,
                    Control* parent) {
    add(c, name, WC_BUTTONW, text, BS_AUTORADIOBUTTON | WS_TABSTOP | (firstOfGroup ? WS_GROUP : 0), b, parent);
}
void Form::addLabel(Label& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent,
                    DWORD extraStyle) {
    add(c, name, WC_STATICW, text, SS_LEFT | SS_NOPREFIX | extraStyle, b, parent);
}
void Form::addEdit(Edit& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent,
                   DWORD extraStyle) {
    add(c, name, WC_EDITW, text, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER | extraStyle, b, parent, WS_EX_CLIENTEDGE);
}
void Form::addMemo(Edit& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent,
                   bool readOnly, bool wordWrap) {
    DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN;
    if (!wordWrap) style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (readOnly) style |= ES_READONLY;
    add(c, name, WC_EDITW, "", style, b, parent, WS_EX_CLIENTEDGE);
    // Edit controls cap text at 32 KB unless told otherwise; logs are larger.
    SendMessageW(c.hwnd(), EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    c.setCaption(text);
}
void Form::addComboBox(ComboBox& c, std::string_view name, const Bounds& b, Control* parent, bool editable) {
    Bounds dropped = b;
    dropped.h = b.h * 8;
    add(c, name, WC_COMBOBOXW, "", (editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST) | WS_TABSTOP | WS_VSCROLL, dropped,
        parent);
}
void Form::addListView(ListView& c, std::string_view name, const Bounds& b, Control* parent, bool checkBoxes,
                       bool multiSelect) {
    add(c, name, WC_LISTVIEWW, "",
        LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP | (multiSelect ? 0 : LVS_SINGLESEL) | WS_BORDER |
            (c.ownerData() ? LVS_OWNERDATA : 0),
        b, parent);
    if (checkBoxes) c.setCheckBoxes(true);
}
void Form::addStatusBar(StatusBar& c, std::string_view name, const std::vector<int>& panels) {
    add(c, name, STATUSCLASSNAMEW, "", SBARS_SIZEGRIP * 0, {0, 0, 0, 0});
    SendMessageW(c.hwnd(), WM_SIZE, 0, 0);
    c.setPanels(panels);
}
void Form::addPageControl(PageControl& c, std::string_view name, const Bounds& b, Control* parent) {
    add(c, name, WC_TABCONTROLW, "", WS_TABSTOP | WS_CLIPSIBLINGS, b, parent);
}
void Form::addPanel(Panel& c, std::string_view name, const Bounds& b, Control* parent) {
    add(c, name, PanelClassName(), "", WS_CLIPCHILDREN, b, parent, WS_EX_CONTROLPARENT);
}
void Form::addGroupBox(GroupBox& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent) {
    add(c, name, WC_BUTTONW, text, BS_GROUPBOX, b, parent);
}
void Form::addProgressBar(ProgressBar& c, std::string_view name, const Bounds& b, Control* parent) {
    add(c, name, PROGRESS_CLASSW, "", 0, b, parent);
}

void Form::registerControl(Control& c) {
    c.m_form = this;
    m_byHwnd[c.hwnd()] = &c;
    m_order.push_back(&c);
}

void Form::setDefaultButton(Button* b) {
    if (m_defaultButton) m_defaultButton->setDefault(false);
    m_defaultButton = b;
    if (b) b->setDefault(true);
}

Control* Form::control(std::string_view name) const {
    for (Control* c : m_order)
        if (c->name() == name) return c;
    return nullptr;
}

void Form::addTool(Control& c) {
    if (!m_hwnd || !c.hwnd()) return;
    if (!m_tooltip) {
        m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    std::wstring text = Widen(c.hint());
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = m_hwnd;
    ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd());
    ti.lpszText = text.data();
    SendMessageW(m_tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    if (!text.empty()) SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool Form::visible() const {
    return m_hwnd && IsWindowVisible(m_hwnd);
}

void Form::show() {
    if (!m_hwnd) create();
    ShowWindow(m_hwnd, SW_SHOW);
    FormShow();
}

void Form::hide() {
    if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
}

std::string Form::caption() const {
    return m_hwnd ? WindowText(m_hwnd) : std::string();
}
void Form::setCaption(std::string_view text) {
    SetWindowTextW(m_hwnd, Widen(text).c_str());
}

void Form::setModalResult(int result) {
    m_modalResult = result;
    if (m_modal) m_modalDone = true;
}

RECT Form::windowRect() const {
    RECT r{};
    if (m_hwnd) GetWindowRect(m_hwnd, &r);
    return r;
}

void Form::setWindowRect(const RECT& r) {
    SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Form::close() {
    if (!m_hwnd || m_closing) return false;
    if (!FormCloseQuery()) return false;
    m_closing = true;
    FormClose();
    m_closing = false;
    if (m_modal) {
        if (m_modalResult == 0) m_modalResult = IDCANCEL;
        m_modalDone = true;
        ShowWindow(m_hwnd, SW_HIDE);
    } else {
        destroyWindow();
    }
    return true;
}

int Form::showModal(HWND owner) {
    if (!m_hwnd) create(owner);
    owner = GetWindow(m_hwnd, GW_OWNER);
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    m_modal = true;
    m_modalDone = false;
    m_modalResult = 0;
    ModalStack().push_back(this);
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    FormShow();
    if (Hook()) PostMessageW(m_hwnd, kModalHookMessage, 0, 0);
    MSG msg;
    while (!m_modalDone && m_hwnd) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ModalStack().erase(std::remove(ModalStack().begin(), ModalStack().end(), this), ModalStack().end());
    m_modal = false;
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (owner) SetActiveWindow(owner);
    int result = m_modalResult;
    destroyWindow();
    return result;
}

bool Form::PreTranslate(MSG& msg) {
    Form* form = FromHwnd(msg.hwnd);
    if (!form || !form->m_hwnd) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
        try {
            form->FormHelp();
        } catch (const std::exception& e) {
            ShowErrorBox(e.what(), form->m_hwnd);
        }
        return true;
    }
    if (msg.message == WM_KEYDOWN) form->FormKeyDown(msg.wParam);
    return IsDialogMessageW(form->m_hwnd, &msg) != FALSE;
}

LRESULT Form::onMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return CallGuarded(hwnd, [&] { return self->handle(msg, wp, lp); });
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = false;
    LRESULT r = onMessage(msg, wp, lp, handled);
    if (handled) return r;
    switch (msg) {
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lp);
        if (from) {
            auto it = m_byHwnd.find(from);
            if (it != m_byHwnd.end() && it->second->onCommand(HIWORD(wp))) return 0;
        } else if (LOWORD(wp) == IDCANCEL && HIWORD(wp) == 0) {
            if (m_cancelButton) m_cancelButton->click();
            return 0;
        } else if (LOWORD(wp) == IDOK && HIWORD(wp) == 0) {
            if (m_defaultButton) m_defaultButton->click();
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        auto it = m_byHwnd.find(hdr->hwndFrom);
        LRESULT result = 0;
        if (it != m_byHwnd.end() && it->second->onNotify(hdr, result)) return result;
        break;
    }
    case WM_CLOSE:
        close();
        return 0;
    case WM_SIZE: {
        for (auto& [h, c] : m_byHwnd) {
            wchar_t cls[32];
            if (GetClassNameW(h, cls, 32) && lstrcmpiW(cls, STATUSCLASSNAMEW) == 0) SendMessageW(h, WM_SIZE, 0, 0);
        }
        FormResize();
        return 0;
    }
    case WM_HELP:
        FormHelp();
        return TRUE;
    case kModalHookMessage:
        if (Hook()) {
            auto hook = Hook();
            hook(*this);
        }
        return 0;
    case WM_NCDESTROY:
        if (m_hwnd == reinterpret_cast<HWND>(GetWindowLongPtrW(m_hwnd, GWLP_USERDATA))) m_hwnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, msg, wp, lp);
}

// ---- message pump ----

namespace {
bool& QuitFlag() {
    static bool quit = false;
    return quit;
}
int& QuitCode() {
    static int code = 0;
    return code;
}
} // namespace

void ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            QuitFlag() = true;
            QuitCode() = static_cast<int>(msg.wParam);
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (Form::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int RunMessageLoop(const std::function<bool()>& done) {
    MSG msg;
    while (!(done && done())) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            QuitFlag() = true;
            QuitCode() = static_cast<int>(msg.wParam);
            return QuitCode();
        }
        if (got < 0) return -1;
        if (Form::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void QuitApplication(int code) {
    QuitFlag() = true;
    QuitCode() = code;
    PostQuitMessage(code);
}

bool QuitRequested() {
    return QuitFlag();
}

} // namespace platform
