#include "app/frm_nav.h"

#include "app/common.h"
#include "app/frm_helpwin.h"
#include "app/help.h"
#include "app/hint.h"
#include "logs/frm_logs.h"
#include "platform/dialogs.h"
#include "platform/handles.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "sched/unattended.h"
#include "tools/junk/frm_junk.h"
#include "tools/regclean/frm_regclean.h"

namespace app {

namespace {

using platform::TQuorvelImage;
using NavButton = art::NavButton;

struct ButtonNames {
    const char* up;
    const char* over; // nullptr for command buttons
    const char* down;
    const char* hint;
};

// In the order of NavButton.
const ButtonNames kNames[art::kNavButtonCount] = {
    {"imgJunk_Up", "imgJunk_Over", "imgJunk_Down", "imgJunk_Hint"},
    {"imgEraser_Up", "imgEraser_Over", "imgEraser_Down", "imgEraser_Hint"},
    {"imgShortCuts_Up", "imgShortcuts_Over", "imgShortcuts_Down", "imgShortcuts_Hint"},
    {"imgUninstall_Up", "imgUninstall_Over", "imgUninstall_Down", "imgUninstall_Hint"},
    {"imgDupes_Up", "imgDupes_Over", "imgDupes_Down", "imgDupes_Hint"},
    {"imgReg_Up", "imgReg_Over", "imgReg_Down", "imgReg_Hint"},
    {"imgStartUp_Up", "imgStartUp_Over", "imgStartUp_Down", "imgStartUp_Hint"},
    {"imgSafe_Up", "imgSafe_Over", "imgSafe_Down", "imgSafe_Hint"},
    {"imgSched_Up", "imgSched_Over", "imgSched_Down", "imgSched_Hint"},
    {"imgWeb_Up", nullptr, "imgWeb_Down", "imgWeb_Hint"},
    {"imgHelp_Up", nullptr, "imgHelp_Down", "imgHelp_Hint"},
    {"imgLogs_Up", nullptr, "imgLogs_Down", "imgLogs_Hint"},
    {"imgExit_Up", nullptr, "imgExit_Down", "imgExit_Hint"},
};

// A window created for the click, shown modally, and freed when it closes.
template <typename TWindow> void OpenModal(HWND owner) {
    TWindow window;
    window.showModal(owner);
}

using WindowOpener = void (*)(HWND owner);

// The window each button opens, in the order of NavButton. Wiring a tool is its line here
// (`&OpenModal<TfrmJunk>,`); a tool whose window is not built yet has nullptr and opens nothing.
const WindowOpener kWindows[art::kNavButtonCount] = {
    &OpenModal<tools::junk::TfrmJunk>,         // Junk: the junk cleaner
    nullptr,                                   // Eraser: "The Eraser"
    nullptr,                                   // ShortCuts: the shortcut fixer
    nullptr,                                   // Uninstall: the Add/Remove cleaner
    nullptr,                                   // Dupes: the duplicate finder
    &OpenModal<tools::regclean::TfrmRegClean>, // Reg: the registry cleaner
    nullptr,                                   // StartUp: the start-up manager
    nullptr,                                   // Safe: Setupwatch
    &sched::ShowScheduleWindow,                // Sched: "Scheduled Maintenance"
    nullptr,                                   // Web: opens the web site, not a window
    &OpenModal<TfrmHelpWin>,                   // Help: the help window
    &logs::ShowLogsWindow,                     // Logs: "Tool Action Logs"
    nullptr,                                   // Exit: ends the program
};

// True when the pointer is over the launcher itself (not over another window or the desktop).
bool PointerOver(HWND window) {
    POINT pt;
    if (!GetCursorPos(&pt)) return false;
    HWND under = WindowFromPoint(pt);
    return under && GetAncestor(under, GA_ROOT) == window;
}

void Show(TQuorvelImage& image, bool on) {
    if (image.created() && image.visible() != on) image.setVisible(on);
}

} // namespace

TfrmNav::TfrmNav() : ShapedForm("TfrmNav") {
    for (size_t i = 0; i < m_openers.size(); ++i)
        m_openers[i] = kWindows[i];
}

TfrmNav::~TfrmNav() = default;

void TfrmNav::setOpener(NavButton b, Opener open) {
    m_openers[static_cast<size_t>(b)] = std::move(open);
}

void TfrmNav::buildWindow(HWND owner) {
    createShaped("Vantrel", art::kNavWidth, art::kNavHeight, &art::MainScreen, owner, WS_EX_APPWINDOW);
    const int d = dpi();
    for (int i = 0; i < art::kNavButtonCount; ++i) {
        auto b = static_cast<NavButton>(i);
        PictureButton& pb = button(b);
        const ButtonNames& names = kNames[i];
        platform::Bounds bounds = art::NavButtonBounds(b);
        art::ButtonFaces faces = art::NavButtonFaces(b, d);
        addPicture(pb.down, names.down, bounds, std::move(faces.down));
        if (names.over) addPicture(pb.over, names.over, bounds, std::move(faces.over));
        addPicture(pb.up, names.up, bounds, std::move(faces.up));
        pb.up.setCaption(art::NavButtonCaption(b));
        for (TQuorvelImage* face : {&pb.up, &pb.over, &pb.down})
            face->setHandCursor(true);
        if (names.over)
            Stack({&pb.up, &pb.over, &pb.down});
        else
            Stack({&pb.up, &pb.down});
        addPicture(pb.hint, names.hint, art::NavHintBounds(), art::NavHint(b, d), false);
        pb.hint.setHitTransparent(true);
        pb.hint.OnMouseMove = [this](int, int) { FormMouseMove(); };
        // Leaving the launcher from a button (to the desktop or another window) puts the buttons
        // back as the background would; moving on to another part of the launcher raises its own
        // events.
        auto left = [this] {
            if (!PointerOver(hwnd())) FormMouseMove();
        };
        pb.up.OnMouseExit = left;
        pb.over.OnMouseExit = left;

        if (art::IsTool(b)) {
            pb.up.OnMouseMove = [this, b](int, int) {
                PictureButton& self = button(b);
                self.up.setVisible(false);
                AllUp(&self.up);
                ChangeHint(b);
            };
            pb.up.OnMouseEnter = [this, b] { ChangeHint(b); };
            pb.over.OnMouseEnter = [this, b] { ChangeHint(b); };
            wirePress(pb.over, pb.down, [this, b] { ToolClick(b); });
        } else {
            pb.up.OnMouseEnter = [this, b] {
                AllUp(nullptr);
                ChangeHint(b);
            };
            std::function<void()> click;
            switch (b) {
            case NavButton::Web:
                click = [this] { imgWebClick(); };
                break;
            case NavButton::Help:
                click = [this] { imgHelpClick(); };
                break;
            case NavButton::Logs:
                click = [this] { imgLogsClick(); };
                break;
            default:
                click = [this] { imgExitClick(); };
                break;
            }
            wirePress(pb.up, pb.down, std::move(click));
        }
    }
}

void TfrmNav::FormShow() {
    centreOnScreen();
    AllUp(nullptr);
    UpdateHint(nullptr);
}

bool TfrmNav::FormCloseQuery() {
    // A tool window is open on top of the launcher: the launcher waits for it.
    return m_openWindows == 0;
}

// Reached from the exit button and from the system's close command (Alt+F4, the system menu, the
// taskbar, WM_CLOSE from outside): both end the program.
void TfrmNav::FormClose() {
    m_terminated = true;
    if (OnTerminate) OnTerminate();
}

void TfrmNav::FormHelp() {
    OpenHelpTopic(kLauncherHelpTopic);
}

void TfrmNav::FormMouseMove() {
    AllUp(nullptr);
    UpdateHint(nullptr);
}

void TfrmNav::AllUp(const TQuorvelImage* except) {
    clearPress();
    for (PictureButton& pb : m_buttons)
        for (TQuorvelImage* face : {&pb.up, &pb.over, &pb.down})
            if (face != except) Show(*face, true);
}

void TfrmNav::ChangeHint(NavButton b) {
    UpdateHint(&button(b).hint);
}

void TfrmNav::UpdateHint(TQuorvelImage* hint) {
    for (PictureButton& pb : m_buttons)
        Show(pb.hint, &pb.hint == hint);
}

bool TfrmNav::CheckAdminStatus() {
    if (IsAdmin()) return true;
    platform::ShowMessage(kAdminMessage, "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
    return false;
}

void TfrmNav::open(NavButton b) {
    const Opener& opener = m_openers[static_cast<size_t>(b)];
    if (!opener) return;
    ++m_openWindows;
    platform::ScopeExit done([this] { --m_openWindows; });
    opener(hwnd());
}

void TfrmNav::ToolClick(NavButton b) {
    switch (b) {
    case NavButton::Uninstall:
    case NavButton::StartUp:
        if (!CheckAdminStatus()) return;
        break;
    case NavButton::Dupes:
        ShowHint("DupeWarning", kDupeWarningText);
        break;
    default:
        break;
    }
    open(b);
}

void TfrmNav::imgWebClick() {
    if (!platform::ShellOpen({"OPEN", kWebSite, "", "", SW_SHOWNORMAL})) {
        // The hint would only say that the page is on its way; say plainly that it is not.
        platform::ShowMessage(std::string("Vantrel could not start your web browser.  Please browse to ") + kWebSite +
                                  " yourself.",
                              "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
        return;
    }
    ShowHint("Web", kWebHintText);
}

void TfrmNav::imgHelpClick() {
    open(NavButton::Help);
}

void TfrmNav::imgLogsClick() {
    open(NavButton::Logs);
}

void TfrmNav::imgExitClick() {
    close();
}

bool TfrmNav::LightButtonForScreenshot(std::string_view name) {
    for (int i = 0; i < art::kNavButtonCount; ++i) {
        const ButtonNames& names = kNames[i];
        std::string_view up = names.up;
        std::string_view stem = up.substr(0, up.size() - 3); // without "_Up"
        bool match = platform::SameText(name, stem);
        for (const char* n : {names.up, names.over, names.down, names.hint})
            match = match || (n && platform::SameText(name, n));
        if (!match) continue;
        PictureButton& pb = m_buttons[static_cast<size_t>(i)];
        if (!pb.up.created()) return false;
        RECT r;
        GetClientRect(pb.up.hwnd(), &r);
        SendMessageW(pb.up.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
        return true;
    }
    return false;
}

} // namespace app
