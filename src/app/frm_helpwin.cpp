#include "app/frm_helpwin.h"

#include <vector>

#include "app/art/launcher_art.h"
#include "app/frm_nav.h"
#include "app/help.h"
#include "app/hint.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/strings.h"

namespace app {

namespace {

// One string of the running program's version resource, or empty.
std::string VersionString(const std::wstring& name) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path, 0, size, data.data())) return {};
    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return {};
    wchar_t block[64];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), (block + name).c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
        return {};
    return platform::Narrow(std::wstring_view(value, wcsnlen(value, length)));
}

} // namespace

TfrmHelpWin::TfrmHelpWin() : ShapedForm("TfrmHelpWin") {}
TfrmHelpWin::~TfrmHelpWin() = default;

std::string TfrmHelpWin::VersionText() {
    std::string version = VersionString(L"ProductVersion");
    std::string copyright = VersionString(L"LegalCopyright");
    std::string text = "Vantrel\n";
    text += version.empty() ? "This copy carries no version information." : "Version " + version;
    // "Copyright (C) 2026 Quorvel" as it is printed on the panel: "© 2026 Quorvel".
    if (copyright.rfind("Copyright (C) ", 0) == 0) copyright = "\xC2\xA9 " + copyright.substr(14);
    if (!copyright.empty()) text += "\n" + copyright;
    text += "\n\nA maintenance suite for Windows.";
    return text;
}

void TfrmHelpWin::buildWindow(HWND owner) {
    createShaped("Vantrel Help", art::kHelpWidth, art::kHelpHeight, &art::HelpBack, owner);
    const int d = dpi();
    struct Entry {
        art::HelpButton which;
        platform::TQuorvelImage& up;
        platform::TQuorvelImage& down;
        const char* upName;
        const char* downName;
        void (TfrmHelpWin::*click)();
    };
    Entry entries[] = {
        {art::HelpButton::Manual, imgManual_Up, imgManual_Down, "imgManual_Up", "imgManual_Down",
         &TfrmHelpWin::imgManualClick},
        {art::HelpButton::Support, imgSupport_Up, imgSupport_Down, "imgSupport_Up", "imgSupport_Down",
         &TfrmHelpWin::imgSupportClick},
        {art::HelpButton::Close, imgClose_Up, imgClose_Down, "imgClose_Up", "imgClose_Down",
         &TfrmHelpWin::imgCloseClick},
    };
    for (Entry& e : entries) {
        art::ButtonFaces faces = art::HelpButtonFaces(e.which, d);
        platform::Bounds b = art::HelpButtonBounds(e.which);
        addPicture(e.down, e.downName, b, std::move(faces.down));
        addPicture(e.up, e.upName, b, std::move(faces.up));
        e.up.setHandCursor(true);
        e.down.setHandCursor(true);
        Stack({&e.up, &e.down});
        auto click = e.click;
        wirePress(e.up, e.down, [this, click] { (this->*click)(); });
    }
    imgManual_Up.setCaption("User Manual");
    imgSupport_Up.setCaption("Support Page");
    imgClose_Up.setCaption("Close");
    std::string version = VersionText();
    addPicture(imgVersion, "imgVersion", art::HelpInfoBounds(), art::HelpInfo(version, d));
    imgVersion.setCaption(version);
    imgVersion.setHitTransparent(true);
}

void TfrmHelpWin::FormHelp() {
    OpenHelpTopic(kLauncherHelpTopic);
}

void TfrmHelpWin::FormKeyDown(WPARAM key) {
    if (key == VK_ESCAPE) close();
}

void TfrmHelpWin::imgManualClick() {
    OpenHelpTopic(kLauncherHelpTopic);
}

void TfrmHelpWin::imgSupportClick() {
    if (!platform::ShellOpen({"OPEN", kSupportPage, "", "", SW_SHOWNORMAL})) {
        platform::ShowMessage(std::string("Vantrel could not start your web browser.  Please browse to ") +
                                  kSupportPage + " yourself.",
                              "Vantrel", platform::MsgButtons::Ok, platform::MsgIcon::Warning, hwnd());
        return;
    }
    ShowHint("Support", kSupportHintText);
}

void TfrmHelpWin::imgCloseClick() {
    close();
}

} // namespace app
