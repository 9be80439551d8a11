#include "app/frm_hint.h"

#include "app/help.h"
#include "app/hint.h"
#include "app/settings.h"
#include "platform/dialogs.h"

namespace app {

namespace {
constexpr const char* kConfirmAllOff =
    "If you are new to Vantrel it is strongly recommended that you view all hints at least once.  If you do not "
    "want to see more hints pertaining to this aspect of Vantrel, simply uncheck the box labeled \"Show hints on "
    "this subject again\".  Are you sure you do not want to see any more hints?";

// Multi-line edit controls break lines only at CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}
} // namespace

TfrmHint::TfrmHint() : Form("TfrmHint") {}

void TfrmHint::buildWindow(HWND owner) {
    createWindow({"Vantrel", 370, 214, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                  WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT},
                 owner);
    add(imgHint, "imgHint", WC_STATICW, "", SS_OWNERDRAW, {12, 12, 32, 32});
    addMemo(edHint, "edHint", "", {54, 12, 304, 126}, nullptr, true, true);
    addCheckBox(cbShowThis, "cbShowThis", "&Show hints on this subject again", {54, 148, 220, 18});
    addCheckBox(cbShowAll, "cbShowAll", "Show &hints", {54, 170, 220, 18});
    addButton(cmdOK, "cmdOK", "&OK", {283, 177, 75, 25});
    cbShowThis.setChecked(true);
    cbShowAll.setChecked(true);
    cbShowThis.setHint("Uncheck this box to skip any further related hints, but still see those unrelated to this "
                       "subject");
    cbShowAll.setHint("Uncheck this box to skip all further hints, regardless of their relation to this subject");
    cbShowAll.onClick = [this] { cbShowAllClick(); };
    cmdOK.onClick = [this] { cmdOKClick(); };
    setDefaultButton(&cmdOK);
    setCancelButton(&cmdOK);
}

void TfrmHint::setHintText(std::string_view text) {
    if (!isOpen()) create();
    edHint.setText(WithCrLf(text));
}

void TfrmHint::FormShow() {
    cmdOK.setFocus();
}

void TfrmHint::cbShowAllClick() {
    bool on = cbShowAll.checked();
    cbShowThis.setChecked(on);
    cbShowThis.setEnabled(on);
}

void TfrmHint::cmdOKClick() {
    close();
}

void TfrmHint::FormClose() {
    if (!cbShowAll.checked()) {
        if (platform::Confirm(kConfirmAllOff, "Confirm", hwnd())) {
            WriteRegBool(kHintsKey, "All", false);
        } else {
            cbShowAll.setChecked(true);
            cbShowThis.setChecked(true);
            cbShowThis.setEnabled(true);
        }
    }
    if (!cbShowThis.checked() && !m_hintName.empty()) WriteRegBool(kHintsKey, m_hintName, false);
}

void TfrmHint::FormHelp() {
    OpenHelpTopic("Welcome_to_Quorvel_Vantrel");
}

LRESULT TfrmHint::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    // The read-only text area reads as a page of text, not as a disabled field.
    if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == edHint.hwnd()) {
        handled = true;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem == imgHint.hwnd()) {
        handled = true;
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(dis->hDC, dis->rcItem.left, dis->rcItem.top, LoadIconW(nullptr, IDI_INFORMATION),
                   dis->rcItem.right - dis->rcItem.left, dis->rcItem.bottom - dis->rcItem.top, 0, nullptr, DI_NORMAL);
        return TRUE;
    }
    return Form::onMessage(msg, wp, lp, handled);
}

} // namespace app
