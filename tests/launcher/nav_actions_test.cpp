// What the launcher's buttons do: the administrator check, the hints, the web site, the help
// window, help and the end of the program.
#include <gtest/gtest.h>

#include "app/frm_helpwin.h"
#include "app/hint.h"
#include "app/paths.h"
#include "app/settings.h"
#include "launcher/launcher_driver.h"
#include "platform/messages.h"
#include "platform/os.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using app::TfrmNav;
using app::art::NavButton;
using platform::Form;
using namespace launchertest;

namespace {

// The hook that sees each form entering its modal loop; restored at the end.
class ModalScript {
public:
    explicit ModalScript(Form::ModalHook hook) : m_previous(Form::SetModalHook(std::move(hook))) {}
    ~ModalScript() { Form::SetModalHook(m_previous); }

private:
    Form::ModalHook m_previous;
};

// The text a hint window shows (whatever its text control is called).
std::string ShownText(const Form& form) {
    std::string text;
    for (platform::Control* c : form.controls())
        if (auto* edit = dynamic_cast<platform::Edit*>(c)) text += edit->text();
    return text;
}

class NavActions : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        app::SetProgramFolderForTesting(testsupport::BuildFolder());
        nav.show();
    }
    void TearDown() override {
        platform::OverrideOs(std::nullopt);
        app::SetProgramFolderForTesting("");
        testsupport::ClearProductKey();
    }
    void hintOff(const char* name) { app::WriteRegBool(app::kHintsKey, name, false); }
    // Counts the openings of every tool instead of opening their windows.
    void countOpenings() {
        for (int i = 0; i < app::art::kNavToolCount; ++i)
            nav.setOpener(static_cast<NavButton>(i), [this, i](HWND) { ++opened[static_cast<size_t>(i)]; });
    }

    TfrmNav nav;
    std::array<int, app::art::kNavToolCount> opened{};
};

TEST_F(NavActions, NonAdministratorOnNTIsRefusedUninstallAndStartUpOnly) {
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, false});
    countOpenings();
    hintOff("DupeWarning");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(app::kAdminMessage).expectMessage(app::kAdminMessage);
    ClickTool(nav, "imgUninstall");
    ClickTool(nav, "imgStartUp");
    dialogs.verifyAllAsked();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[0].text,
              "Due to security issues under Windows NT you must be logged in as an administrator in order to access "
              "this tool.");
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::Uninstall)], 0);
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::StartUp)], 0);

    // All other tools open.
    ClickTool(nav, "imgJunk");
    ClickTool(nav, "imgEraser");
    ClickTool(nav, "imgShortCuts", "imgShortcuts_Over");
    ClickTool(nav, "imgDupes");
    ClickTool(nav, "imgReg");
    ClickTool(nav, "imgSafe");
    ClickTool(nav, "imgSched");
    for (NavButton b : {NavButton::Junk, NavButton::Eraser, NavButton::ShortCuts, NavButton::Dupes, NavButton::Reg,
                        NavButton::Safe, NavButton::Sched})
        EXPECT_EQ(opened[static_cast<size_t>(b)], 1) << static_cast<int>(b);
}

TEST_F(NavActions, AdministratorsAndWindows9xPassTheCheck) {
    countOpenings();
    testsupport::ScriptedDialogs dialogs; // no message expected
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::NT, true});
    ClickTool(nav, "imgUninstall");
    platform::OverrideOs(platform::OsFacts{platform::OsPlatform::Win9x, false});
    ClickTool(nav, "imgStartUp");
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::Uninstall)], 1);
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::StartUp)], 1);
}

TEST_F(NavActions, DuplicatesWithItsWarningOffOpenAtOnce) {
    countOpenings();
    hintOff("DupeWarning");
    int modal = 0;
    ModalScript script([&](Form& form) {
        ++modal;
        form.close();
    });
    ClickTool(nav, "imgDupes");
    EXPECT_EQ(modal, 0);
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::Dupes)], 1);
}

TEST_F(NavActions, DuplicatesWarnFirstThenOpen) {
    countOpenings();
    std::vector<std::string> seen;
    ModalScript script([&](Form& form) {
        seen.push_back(form.className());
        EXPECT_EQ(opened[static_cast<size_t>(NavButton::Dupes)], 0) << "the finder opened before the warning";
        EXPECT_NE(ShownText(form).find("Be sure to carefully scrutinize each set of duplicate files"),
                  std::string::npos);
        form.close();
    });
    ClickTool(nav, "imgDupes");
    EXPECT_EQ(seen, std::vector<std::string>{"TfrmHint"});
    EXPECT_EQ(opened[static_cast<size_t>(NavButton::Dupes)], 1);
}

TEST_F(NavActions, WebButtonOpensTheSiteThenShowsTheWebHint) {
    testsupport::ShellRecorder shell;
    std::vector<std::string> seen;
    ModalScript script([&](Form& form) {
        seen.push_back(form.className());
        EXPECT_EQ(shell.requests().size(), 1u) << "the hint came before the site was asked for";
        EXPECT_NE(ShownText(form).find("attempting to open the Quorvel web site"), std::string::npos);
        form.close();
    });
    ClickCommand(nav, "imgWeb");
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "OPEN");
    EXPECT_EQ(shell.requests()[0].file, "https://www.quorvel.com/vantrel/");
    EXPECT_EQ(seen, std::vector<std::string>{"TfrmHint"});
}

TEST_F(NavActions, WebButtonWithTheHintOffOnlyOpensTheSite) {
    hintOff("Web");
    testsupport::ShellRecorder shell;
    int modal = 0;
    ModalScript script([&](Form& form) {
        ++modal;
        form.close();
    });
    ClickCommand(nav, "imgWeb");
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].verb, "OPEN");
    EXPECT_EQ(modal, 0);
}

TEST_F(NavActions, WebButtonSaysSoWhenNoBrowserStarts) {
    testsupport::ShellRecorder shell;
    shell.succeed = false;
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("could not start your web browser");
    int modal = 0;
    ModalScript script([&](Form& form) {
        ++modal;
        form.close();
    });
    ClickCommand(nav, "imgWeb");
    dialogs.verifyAllAsked();
    EXPECT_NE(dialogs.asked().at(0).text.find("https://www.quorvel.com/vantrel/"), std::string::npos);
    EXPECT_EQ(modal, 0) << "no hint promising a page that is not coming";
}

TEST_F(NavActions, HelpWindowOffersManualVersionSupportAndClose) {
    hintOff("Support");
    testsupport::ShellRecorder shell;
    bool launcherDisabled = false;
    std::string version;
    ModalScript script([&](Form& form) {
        ASSERT_EQ(form.className(), "TfrmHelpWin");
        launcherDisabled = !IsWindowEnabled(nav.hwnd());
        version = Image(form, "imgVersion").caption();
        ClickCommand(form, "imgManual");
        ClickCommand(form, "imgSupport");
        ClickCommand(form, "imgClose");
    });
    ClickCommand(nav, "imgHelp");
    EXPECT_TRUE(launcherDisabled) << "the launcher must not react while the help window is open";
    EXPECT_TRUE(IsWindowEnabled(nav.hwnd()));
    EXPECT_EQ(version.rfind("Vantrel\n", 0), 0u) << version;
    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[0].file, app::ProgramFolder() + "Help\\Welcome_to_Quorvel_Vantrel.html");
    EXPECT_EQ(shell.requests()[1].verb, "OPEN");
    EXPECT_EQ(shell.requests()[1].file, "https://www.quorvel.com/vantrel/support/");
}

TEST_F(NavActions, SupportPageShowsTheSupportHint) {
    testsupport::ShellRecorder shell;
    std::vector<std::string> seen;
    ModalScript script([&](Form& form) {
        seen.push_back(form.className());
        if (form.className() == "TfrmHelpWin") {
            ClickCommand(form, "imgSupport");
            SendMessageW(form.hwnd(), WM_CLOSE, 0, 0); // the system's close command closes it too
        } else {
            EXPECT_NE(ShownText(form).find("support page"), std::string::npos);
            form.close();
        }
    });
    ClickCommand(nav, "imgHelp");
    EXPECT_EQ(seen, (std::vector<std::string>{"TfrmHelpWin", "TfrmHint"}));
    EXPECT_EQ(shell.requests().size(), 1u);
}

TEST_F(NavActions, F1OpensTheWelcomeTopic) {
    testsupport::ShellRecorder shell;
    PostMessageW(nav.hwnd(), WM_KEYDOWN, VK_F1, 0);
    platform::ProcessMessages();
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, app::ProgramFolder() + "Help\\Welcome_to_Quorvel_Vantrel.html");
}

TEST_F(NavActions, ExitButtonEndsTheProgram) {
    int terminations = 0;
    nav.OnTerminate = [&] { ++terminations; };
    ClickCommand(nav, "imgExit");
    EXPECT_TRUE(nav.terminated());
    EXPECT_FALSE(nav.isOpen());
    EXPECT_EQ(terminations, 1);
}

TEST_F(NavActions, SystemCloseCommandEndsTheProgramLikeExit) {
    int terminations = 0;
    nav.OnTerminate = [&] { ++terminations; };
    SendMessageW(nav.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(nav.terminated());
    EXPECT_EQ(terminations, 1);
}

TEST_F(NavActions, LauncherStaysWhileAToolIsOpen) {
    nav.setOpener(NavButton::Reg, [&](HWND owner) { SendMessageW(owner, WM_CLOSE, 0, 0); });
    ClickTool(nav, "imgReg");
    EXPECT_TRUE(nav.isOpen());
    EXPECT_FALSE(nav.terminated());
}

} // namespace

TEST_F(NavActions, WiredButtonsOpenTheirWindowsModally) {
    hintOff("Registry");
    hintOff("SchedSettings");
    std::vector<std::string> seen;
    ModalScript script([&](Form& form) {
        seen.push_back(form.className() + ": " + form.caption());
        form.close();
    });
    ClickTool(nav, "imgReg");
    ClickTool(nav, "imgSched");
    ClickCommand(nav, "imgLogs");
    ClickTool(nav, "imgJunk");
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], "TfrmRegClean: Registry Cleaner");
    EXPECT_EQ(seen[1], "TfrmSched: Scheduled Maintenance");
    EXPECT_EQ(seen[2], "TfrmLogs: Tool Action Logs");
    EXPECT_EQ(seen[3], "TfrmJunk: Find and Clean Junk and Obsolete Files");
}
