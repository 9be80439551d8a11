#pragma once
// Windows and controls. A Form owns its top-level HWND and dispatches messages to virtual
// handlers; controls are non-owning typed wrappers over child HWNDs, named as the program names
// them ("cmdGo", "lvScan"), so that tests can find them, press them and read them.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {

class Form;

// Layout in 96-DPI units; the form scales them to the screen's DPI.
struct Bounds {
    int x = 0, y = 0, w = 0, h = 0;
};

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    HWND hwnd() const noexcept { return m_hwnd; }
    const std::string& name() const noexcept { return m_name; }
    Form* form() const noexcept { return m_form; }
    bool created() const noexcept { return m_hwnd != nullptr; }

    std::string caption() const;
    void setCaption(std::string_view text);
    bool enabled() const;
    void setEnabled(bool on);
    // The control's own visibility (its WS_VISIBLE style), whether or not its form is shown.
    bool visible() const;
    void setVisible(bool on);
    const std::string& hint() const noexcept { return m_hint; }
    void setHint(std::string_view text);
    void setBounds(const Bounds& b); // 96-DPI units
    Bounds bounds() const;           // 96-DPI units, relative to the parent
    void setFocus();
    bool focused() const;
    int id() const noexcept { return m_id; }

    // Called by the form; true when handled.
    virtual bool onCommand(WORD /*code*/) { return false; }
    virtual bool onNotify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }

protected:
    friend class Form;
    void attach(Form& form, HWND parent, std::string_view name, const wchar_t* windowClass, std::string_view text,
                DWORD style, DWORD exStyle, const Bounds& b);
    virtual void afterCreate() {}

    HWND m_hwnd = nullptr;
    Form* m_form = nullptr;
    std::string m_name;
    std::string m_hint;
    int m_id = 0;
};

class Button : public Control {
public:
    std::function<void()> onClick;
    // Presses the button as a user would: nothing happens when it is disabled or hidden.
    bool click();
    bool onCommand(WORD code) override;
    void setDefault(bool on);
};

class CheckBox : public Control {
public:
    std::function<void()> onClick;
    bool checked() const;
    void setChecked(bool on); // no click event, as when a program sets it
    bool click();             // toggles and raises the click, as a user would
    bool onCommand(WORD code) override;
};

class RadioButton : public CheckBox {
public:
    bool click(); // selects this button, clears the others of its group
};

class Label : public Control {};

class Edit : public Control {
public:
    std::function<void()> onChange;
    std::string text() const { return caption(); }
    void setText(std::string_view t) { setCaption(t); }
    void setReadOnly(bool on);
    bool readOnly() const;
    void selectAll();
    void caretToEnd();
    bool onCommand(WORD code) override;
};

class ComboBox : public Control {
public:
    std::function<void()> onChange;
    void addItem(std::string_view text);
    void clear();
    int count() const;
    std::string item(int index) const;
    int itemIndex() const;
    void setItemIndex(int index);
    std::string text() const { return caption(); }
    bool select(std::string_view text); // by item text; raises onChange
    bool onCommand(WORD code) override;
};

class ProgressBar : public Control {
public:
    void setRange(int lo, int hi);
    void setPosition(int pos);
    int position() const;
};

class ListView : public Control {
public:
    std::function<void(int row)> onChange;    // selection changed (-1: of all rows at once)
    std::function<void(int row)> onItemCheck; // check box toggled
    std::function<void(int row)> onDblClick;
    std::function<void(int column)> onColumnClick;

    // A list whose rows are kept here rather than in the control (LVS_OWNERDATA): adding and
    // reading a row then costs the control no messages, which matters for lists of tens of
    // thousands of findings. Chosen before the list is created; such a list has no check boxes.
    void setOwnerData(bool on) noexcept { m_ownerData = on; }
    bool ownerData() const noexcept { return m_ownerData; }

    void setCheckBoxes(bool on);
    void setMultiSelect(bool on);
    int addColumn(std::string_view caption, int width);
    int columnCount() const;
    int columnWidth(int column) const; // 96-DPI units
    void setColumnWidth(int column, int width);
    std::string columnCaption(int column) const;

    int addRow(std::string_view caption, const std::vector<std::string>& subItems = {}, int image = -1,
               LPARAM data = 0);
    int rowCount() const;
    std::string text(int row, int column = 0) const;
    void setText(int row, int column, std::string_view text);
    std::vector<std::string> row(int index) const;
    bool checked(int row) const;
    void setChecked(int row, bool on);
    bool selected(int row) const;
    void setSelected(int row, bool on);
    int selectedCount() const;
    int selectedIndex() const; // first selected row, or -1
    std::vector<int> selectedRows() const;
    void selectAll();
    void setFocused(int row);
    int focusedIndex() const;
    void deleteRow(int row);
    void clear();
    LPARAM data(int row) const;
    int image(int row) const;
    void setImage(int row, int image);
    void setImageList(HIMAGELIST list, int which = LVSIL_SMALL);
    void beginUpdate();
    void endUpdate();
    void sortRows(const std::function<int(int a, int b)>& compare); // by row index at the time of the call
    // Acts as the user's double-click on a row.
    void dblClick(int row);

    bool onNotify(NMHDR* hdr, LRESULT& result) override;

protected:
    // Lists with defaults of their own (drive list, file list) extend this.
    void afterCreate() override;

private:
    struct StoredRow {
        std::vector<std::string> texts; // caption first
        LPARAM data = 0;
        int image = 0;
    };
    // The kept row, or null when there is no such row.
    const StoredRow* storedRow(int row) const {
        return row >= 0 && static_cast<size_t>(row) < m_rows.size() ? &m_rows[static_cast<size_t>(row)] : nullptr;
    }
    StoredRow* storedRow(int row) { return const_cast<StoredRow*>(std::as_const(*this).storedRow(row)); }
    // Row index for an LVN_ODFINDITEM request (type-to-find), or -1.
    int findStoredRow(const LVFINDINFOW& find, int start) const;

    bool m_suppressEvents = false;
    bool m_ownerData = false;
    std::vector<StoredRow> m_rows; // owner-data lists only
};

class StatusBar : public Control {
public:
    void setPanels(const std::vector<int>& widths); // 96-DPI units; -1 for the last to fill
    int panelCount() const;
    std::string panelText(int panel) const;
    void setPanelText(int panel, std::string_view text);
    void setSimpleText(std::string_view text); // single panel
};

// A child container that hands its controls' notifications to the form (pages, group boxes).
class Panel : public Control {};

class GroupBox : public Control {};

// A tab control with one Panel per page; hidden pages leave the tab row.
class PageControl : public Control {
public:
    std::function<void()> onChange;
    Panel& addPage(std::string_view name, std::string_view caption);
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    Panel& page(int index) { return *m_pages[static_cast<size_t>(index)].panel; }
    Panel* pageByName(std::string_view name);
    std::string pageCaption(int index) const;
    bool pageVisible(int index) const;
    void setPageVisible(int index, bool on);
    // The pages the user sees, in order (captions).
    std::vector<std::string> visiblePageCaptions() const;
    int activePage() const { return m_active; }
    void setActivePage(int index); // raises onChange
    bool selectPage(std::string_view caption);
    Bounds pageArea() const; // 96-DPI units relative to the tab control's parent
    bool onNotify(NMHDR* hdr, LRESULT& result) override;

private:
    struct Page {
        std::unique_ptr<Panel> panel;
        std::string caption;
        bool visible = true;
    };
    void rebuildTabs();
    void showActive();
    std::vector<Page> m_pages;
    int m_active = -1;
};

struct FormSpec {
    std::string caption;
    int clientWidth = 400; // 96-DPI units
    int clientHeight = 300;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    DWORD exStyle = WS_EX_CONTROLPARENT;
};

class Form {
public:
    explicit Form(std::string className);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window hidden, builds its controls and runs FormCreate.
    void create(HWND owner = nullptr);
    // Shows the window modally and returns its modal result when it closes (created on demand).
    int showModal(HWND owner = nullptr);
    void show();
    void hide();
    // Asks FormCloseQuery; when allowed runs FormClose and destroys the window. True when closed.
    bool close();
    bool isOpen() const noexcept { return m_hwnd != nullptr; }
    bool isModal() const noexcept { return m_modal; }
    bool visible() const;

    HWND hwnd() const noexcept { return m_hwnd; }
    const std::string& className() const noexcept { return m_className; }
    std::string caption() const;
    void setCaption(std::string_view text);
    int modalResult() const noexcept { return m_modalResult; }
    void setModalResult(int result); // ends a modal loop after the current message
    // Outer window rectangle in screen pixels.
    RECT windowRect() const;
    void setWindowRect(const RECT& r);
    int scale(int units) const;
    int unscale(int pixels) const;

    Control* control(std::string_view name) const;
    template <typename T> T* controlAs(std::string_view name) const { return dynamic_cast<T*>(control(name)); }
    const std::vector<Control*>& controls() const noexcept { return m_order; }

    static Form* FromHwnd(HWND hwnd);
    // Tests: called once each time a form enters its modal loop (inside the loop), so that the
    // test can drive the form and close it. Returns the previous hook.
    using ModalHook = std::function<void(Form&)>;
    static ModalHook SetModalHook(ModalHook hook);
    // The innermost form in a modal loop, or nullptr.
    static Form* ActiveModal();
    // Routes F1 and dialog keys for a message of any form; true when consumed.
    static bool PreTranslate(MSG& msg);
    // Registers the form and panel window classes (once).
    static void RegisterWindowClasses();

protected:
    void createWindow(const FormSpec& spec, HWND owner);
    // Adds a control as a child of the form (or of a page or panel).
    void add(Control& c, std::string_view name, const wchar_t* windowClass, std::string_view text, DWORD style,
             const Bounds& b, Control* parent = nullptr, DWORD exStyle = 0);
    void addButton(Button& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent = nullptr);
    void addCheckBox(CheckBox& c, std::string_view name, std::string_view text, const Bounds& b,
                     Control* parent = nullptr);
    void addRadio(RadioButton& c, std::string_view name, std::string_view text, const Bounds& b, bool firstOfGroup,
                  Control* parent = nullptr);
    void addLabel(Label& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent = nullptr,
                  DWORD extraStyle = 0);
    void addEdit(Edit& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent = nullptr,
                 DWORD extraStyle = 0);
    void addMemo(Edit& c, std::string_view name, std::string_view text, const Bounds& b, Control* parent = nullptr,
                 bool readOnly = true, bool wordWrap = false);
    void addComboBox(ComboBox& c, std::string_view name, const Bounds& b, Control* parent = nullptr,
                     bool editable = false);
    void addListView(ListView& c, std::string_view name, const Bounds& b, Control* parent = nullptr,
                     bool checkBoxes = false, bool multiSelect = false);
    void addStatusBar(StatusBar& c, std::string_view name, const std::vector<int>& panels);
    void addPageControl(PageControl& c, std::string_view name, const Bounds& b, Control* parent = nullptr);
    void addPanel(Panel& c, std::string_view name, const Bounds& b, Control* parent = nullptr);
    void addGroupBox(GroupBox& c, std::string_view name, std::string_view text, const Bounds& b,
                     Control* parent = nullptr);
    void addProgressBar(ProgressBar& c, std::string_view name, const Bounds& b, Control* parent = nullptr);
    // Registers a control made elsewhere (custom classes) under its name.
    void registerControl(Control& c);
    void setCancelButton(Button* b) { m_cancelButton = b; }
    void setDefaultButton(Button* b);

    // Builds the window: createWindow(...) and the controls. Called by create().
    virtual void buildWindow(HWND owner) = 0;
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormHelp() {}
    virtual void FormResize() {}
    virtual void FormKeyDown(WPARAM /*key*/) {}
    // Other messages; set handled to stop default processing.
    virtual LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    HFONT font() const;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    friend class Control;
    friend class PageControl;
    HWND parentOf(Control* parent) const;
    void addTool(Control& c);
    void destroyWindow();

    std::string m_className;
    HWND m_hwnd = nullptr;
    HWND m_tooltip = nullptr;
    bool m_modal = false;
    bool m_modalDone = false;
    bool m_closing = false;
    int m_modalResult = 0;
    int m_dpi = 96;
    int m_nextId = 1000;
    Button* m_cancelButton = nullptr;
    Button* m_defaultButton = nullptr;
    std::unordered_map<HWND, Control*> m_byHwnd;
    std::vector<Control*> m_order;
};

// Registers the forwarding container class used by Panel and GroupBox children.
const wchar_t* PanelClassName();
// Initialises the common controls (version 6 through the manifest).
void InitCommonControlsOnce();

} // namespace platform
