#include "platform/dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "platform/handles.h"
#include "platform/strings.h"
#include "platform/window.h"

namespace platform {

namespace {

// The input box: a caption, a prompt, an edit field, OK and Cancel.
class TInputBox : public Form {
public:
    TInputBox(std::string caption, std::string prompt, std::string initial)
        : Form("TInputBox"), m_caption(std::move(caption)), m_prompt(std::move(prompt)), m_initial(std::move(initial)) {
    }
    Label lblPrompt;
    Edit edValue;
    Button cmdOK, cmdCancel;
    std::string value;

protected:
    void buildWindow(HWND owner) override {
        createWindow({m_caption, 320, 112, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME},
                     owner);
        addLabel(lblPrompt, "lblPrompt", m_prompt, {10, 10, 300, 32});
        addEdit(edValue, "edValue", m_initial, {10, 44, 300, 22});
        addButton(cmdOK, "cmdOK", "OK", {150, 78, 75, 25});
        addButton(cmdCancel, "cmdCancel", "Cancel", {235, 78, 75, 25});
        cmdOK.onClick = [this] {
            value = edValue.text();
            setModalResult(IDOK);
        };
        cmdCancel.onClick = [this] { setModalResult(IDCANCEL); };
        setDefaultButton(&cmdOK);
        setCancelButton(&cmdCancel);
    }
    void FormShow() override {
        edValue.setFocus();
        edValue.selectAll();
    }

private:
    std::string m_caption, m_prompt, m_initial;
};

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

class Win32DialogsImpl : public Dialogs {
public:
    MsgResult message(HWND owner, const MessageRequest& r) override {
        UINT type = 0;
        switch (r.buttons) {
        case MsgButtons::Ok:
            type = MB_OK;
            break;
        case MsgButtons::OkCancel:
            type = MB_OKCANCEL;
            break;
        case MsgButtons::YesNo:
            type = MB_YESNO;
            break;
        case MsgButtons::YesNoCancel:
            type = MB_YESNOCANCEL;
            break;
        }
        switch (r.icon) {
        case MsgIcon::None:
            break;
        case MsgIcon::Information:
            type |= MB_ICONINFORMATION;
            break;
        case MsgIcon::Warning:
            type |= MB_ICONWARNING;
            break;
        case MsgIcon::Error:
            type |= MB_ICONERROR;
            break;
        case MsgIcon::Question:
            type |= MB_ICONQUESTION;
            break;
        }
        if (!owner && Form::ActiveModal()) owner = Form::ActiveModal()->hwnd();
        int rc = MessageBoxW(owner, Widen(r.text).c_str(), Widen(r.caption).c_str(), type | MB_TASKMODAL);
        switch (rc) {
        case IDYES:
            return MsgResult::Yes;
        case IDNO:
            return MsgResult::No;
        case IDCANCEL:
            return MsgResult::Cancel;
        default:
            return MsgResult::Ok;
        }
    }

    std::optional<std::string> inputQuery(HWND owner, std::string_view caption, std::string_view prompt,
                                          std::string_view initial) override {
        TInputBox box{std::string(caption), std::string(prompt), std::string(initial)};
        if (box.showModal(owner) != IDOK) return std::nullopt;
        return box.value;
    }

    std::optional<std::string> browseFolder(HWND owner, std::string_view title, std::string_view start) override {
        ComInit com;
        std::wstring wtitle = Widen(title), wstart = Widen(start);
        wchar_t display[MAX_PATH] = {};
        BROWSEINFOW bi{};
        bi.hwndOwner = owner;
        bi.pszDisplayName = display;
        bi.lpszTitle = wtitle.c_str();
        bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        bi.lpfn = BrowseCallback;
        bi.lParam = wstart.empty() ? 0 : reinterpret_cast<LPARAM>(wstart.c_str());
        PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
        if (!pidl) return std::nullopt;
        wchar_t path[MAX_PATH] = {};
        BOOL ok = SHGetPathFromIDListW(pidl, path);
        CoTaskMemFree(pidl);
        if (!ok) return std::nullopt;
        return Narrow(path);
    }

    std::optional<std::string> openFile(HWND owner, const FileOpenRequest& r) override {
        std::wstring filter = Widen(r.filter);
        for (auto& c : filter)
            if (c == L'|') c = L'\0';
        filter.push_back(L'\0');
        filter.push_back(L'\0');
        std::wstring title = Widen(r.title), dir = Widen(r.initialDir), ext = Widen(r.defaultExt);
        wchar_t file[MAX_PATH * 4] = {};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH * 4;
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
        ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
        if (!GetOpenFileNameW(&ofn)) return std::nullopt;
        return Narrow(file);
    }
};

Dialogs*& Current() {
    static Dialogs* current = nullptr;
    return current;
}

} // namespace

Dialogs& Win32Dialogs() {
    static Win32DialogsImpl impl;
    return impl;
}

Dialogs& CurrentDialogs() {
    return Current() ? *Current() : Win32Dialogs();
}
Dialogs* SetDialogs(Dialogs* dialogs) {
    return std::exchange(Current(), dialogs);
}

MsgResult ShowMessage(std::string_view text, std::string_view caption, MsgButtons buttons, MsgIcon icon, HWND owner) {
    return CurrentDialogs().message(owner, {std::string(text), std::string(caption), buttons, icon});
}

bool Confirm(std::string_view text, std::string_view caption, HWND owner) {
    return ShowMessage(text, caption, MsgButtons::YesNo, MsgIcon::Question, owner) == MsgResult::Yes;
}

std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view initial, HWND owner) {
    auto answer = CurrentDialogs().inputQuery(owner, caption, prompt, initial);
    return answer ? *answer : std::string(initial);
}

void ShowErrorBox(std::string_view text, HWND owner) {
    ShowMessage(text, "Vantrel", MsgButtons::Ok, MsgIcon::Error, owner);
}

} // namespace platform
