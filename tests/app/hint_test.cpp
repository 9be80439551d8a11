#include "app/hint.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/frm_hint.h"
#include "app/paths.h"
#include "app/settings.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using app::TfrmHint;
using platform::MsgResult;

namespace {
constexpr const char* kHintsPath = "Software\\Quorvel\\Vantrel\\Hints";
constexpr const char* kConfirmText =
    "If you are new to Vantrel it is strongly recommended that you view all hints at least once.  If you do not "
    "want to see more hints pertaining to this aspect of Vantrel, simply uncheck the box labeled \"Show hints on "
    "this subject again\".  Are you sure you do not want to see any more hints?";

std::optional<int32_t> Flag(const char* name) {
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kHintsPath);
    if (!key) return std::nullopt;
    return key->readInt(name);
}

// Drives every hint window that opens while it lives; a window the test left open is closed
// (and reported) so that a faulty test cannot hang in the modal loop.
class HintDriver {
public:
    explicit HintDriver(std::function<void(TfrmHint&)> drive = {}) {
        m_previous = platform::Form::SetModalHook([this, drive](platform::Form& form) {
            ++shown;
            auto* hint = dynamic_cast<TfrmHint*>(&form);
            if (!hint) {
                ADD_FAILURE() << "unexpected modal window " << form.className();
                form.setModalResult(IDCANCEL);
                return;
            }
            texts.push_back(hint->edHint.text());
            if (drive)
                drive(*hint);
            else
                hint->cmdOK.click();
            if (hint->visible()) {
                ADD_FAILURE() << "the hint window was left open";
                form.setModalResult(IDCANCEL);
            }
        });
    }
    ~HintDriver() { platform::Form::SetModalHook(m_previous); }
    HintDriver(const HintDriver&) = delete;
    HintDriver& operator=(const HintDriver&) = delete;

    int shown = 0;
    std::vector<std::string> texts;

private:
    platform::Form::ModalHook m_previous;
};

struct HintTest : testing::Test {
    void SetUp() override { testsupport::ClearProductKey(); }
    void TearDown() override { testsupport::ClearProductKey(); }
};
} // namespace

TEST_F(HintTest, FirstShowHasTheTextBothBoxesCheckedAndOkFocused) {
    testsupport::ScriptedDialogs dialogs;
    HintDriver driver([](TfrmHint& h) {
        EXPECT_EQ(h.caption(), "Vantrel");
        EXPECT_TRUE(GetWindowLongPtrW(h.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(h.edHint.readOnly());
        EXPECT_EQ(h.cbShowThis.caption(), "&Show hints on this subject again");
        EXPECT_EQ(h.cbShowThis.hint(),
                  "Uncheck this box to skip any further related hints, but still see those unrelated to this subject");
        EXPECT_TRUE(h.cbShowThis.checked());
        EXPECT_TRUE(h.cbShowThis.enabled());
        EXPECT_EQ(h.cbShowAll.caption(), "Show &hints");
        EXPECT_EQ(h.cbShowAll.hint(),
                  "Uncheck this box to skip all further hints, regardless of their relation to this subject");
        EXPECT_TRUE(h.cbShowAll.checked());
        EXPECT_EQ(h.cmdOK.caption(), "&OK");
        EXPECT_TRUE(h.cmdOK.focused());
        EXPECT_EQ(h.hintName(), "JunkAdd");
        h.cmdOK.click();
    });
    app::ShowHint("JunkAdd", "First line\nSecond line\rThird line");
    ASSERT_EQ(driver.shown, 1);
    EXPECT_EQ(driver.texts[0], "First line\r\nSecond line\r\nThird line");
    // The key is made on first use; OK with both boxes checked writes nothing.
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kHintsPath));
    EXPECT_FALSE(Flag("JunkAdd"));
    EXPECT_FALSE(Flag("All"));
    app::ShowHint("JunkAdd", "again");
    EXPECT_EQ(driver.shown, 2);
}

TEST_F(HintTest, AHintSwitchedOffByNameStaysOffWhileOthersStillShow) {
    testsupport::ScriptedDialogs dialogs; // no question may be asked
    {
        HintDriver driver([](TfrmHint& h) {
            h.cbShowThis.click();
            EXPECT_TRUE(h.cbShowAll.checked());
            h.cmdOK.click();
        });
        app::ShowHint("DupeWarning", "Duplicates");
        EXPECT_EQ(driver.shown, 1);
    }
    EXPECT_EQ(Flag("DupeWarning"), 0);
    EXPECT_FALSE(Flag("All"));
    EXPECT_FALSE(app::HintEnabled("DupeWarning"));
    EXPECT_FALSE(app::HintEnabled("dupewarning")); // names ignore case

    HintDriver driver;
    app::ShowHint("DupeWarning", "Duplicates");
    EXPECT_EQ(driver.shown, 0);
    app::ShowHint("Web", "The web site");
    app::ShowHint("DupesWarning", "Removing duplicates");
    EXPECT_EQ(driver.shown, 2);
    EXPECT_EQ(driver.texts, (std::vector<std::string>{"The web site", "Removing duplicates"}));
}

TEST_F(HintTest, ShowHintsBoxCarriesTheSubjectBoxAlongAndLocksIt) {
    testsupport::ScriptedDialogs dialogs;
    HintDriver driver([](TfrmHint& h) {
        h.cbShowAll.click();
        EXPECT_FALSE(h.cbShowAll.checked());
        EXPECT_FALSE(h.cbShowThis.checked());
        EXPECT_FALSE(h.cbShowThis.enabled());
        EXPECT_FALSE(h.cbShowThis.click()); // a disabled box cannot be clicked
        h.cbShowAll.click();
        EXPECT_TRUE(h.cbShowThis.checked());
        EXPECT_TRUE(h.cbShowThis.enabled());
        // Switching all hints back on re-checks the subject box even when the user had unchecked it.
        h.cbShowThis.click();
        EXPECT_FALSE(h.cbShowThis.checked());
        h.cbShowAll.click();
        h.cbShowAll.click();
        EXPECT_TRUE(h.cbShowAll.checked());
        EXPECT_TRUE(h.cbShowThis.checked());
        EXPECT_TRUE(h.cbShowThis.enabled());
        h.cmdOK.click();
    });
    app::ShowHint("JunkFolders", "Folders");
    EXPECT_EQ(driver.shown, 1);
    EXPECT_FALSE(Flag("JunkFolders"));
    EXPECT_FALSE(Flag("All"));
}

TEST_F(HintTest, AnsweringNoRechecksBothBoxesAndWritesNeitherFlag) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(kConfirmText, MsgResult::No);
    {
        HintDriver driver([](TfrmHint& h) {
            h.cbShowAll.click();
            h.cmdOK.click();
            EXPECT_TRUE(h.cbShowAll.checked());
            EXPECT_TRUE(h.cbShowThis.checked());
            EXPECT_TRUE(h.cbShowThis.enabled());
        });
        app::ShowHint("Registry", "No administrator rights");
        EXPECT_EQ(driver.shown, 1);
    }
    dialogs.verifyAllAsked();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, kConfirmText);
    EXPECT_EQ(dialogs.asked()[0].caption, "Confirm");
    EXPECT_FALSE(Flag("All"));
    EXPECT_FALSE(Flag("Registry"));
    HintDriver again;
    app::ShowHint("Registry", "No administrator rights");
    EXPECT_EQ(again.shown, 1);
}

TEST_F(HintTest, AnsweringYesSwitchesEveryHintOff) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(kConfirmText, MsgResult::Yes);
    HintDriver driver([](TfrmHint& h) {
        h.cbShowAll.click();
        h.cmdOK.click();
    });
    app::ShowHint("SchedSettings", "Define actions");
    EXPECT_EQ(driver.shown, 1);
    EXPECT_EQ(Flag("All"), 0);
    // The subject box went off together with "Show hints".
    EXPECT_EQ(Flag("SchedSettings"), 0);
    app::ShowHint("Web", "web");
    app::ShowHint("Support", "support");
    EXPECT_EQ(driver.shown, 1);
}

TEST_F(HintTest, WithAllOffNoHintShowsWhateverItsOwnFlagSays) {
    HintDriver driver;
    app::WriteRegBool(app::kHintsKey, "All", false);
    app::WriteRegBool(app::kHintsKey, "Cookies", true);
    EXPECT_FALSE(app::HintEnabled("Cookies"));
    EXPECT_FALSE(app::HintEnabled("JunkInUse"));
    app::ShowHint("Cookies", "Special note");
    app::ShowHint("JunkInUse", "In use");
    EXPECT_EQ(driver.shown, 0);

    app::WriteRegBool(app::kHintsKey, "All", true);
    app::WriteRegBool(app::kHintsKey, "JunkInUse", false);
    app::ShowHint("JunkInUse", "In use");
    EXPECT_EQ(driver.shown, 0);
    app::ShowHint("Cookies", "Special note");
    EXPECT_EQ(driver.shown, 1);
}

TEST_F(HintTest, EscapeAndTheCloseBoxApplyTheSameClosingRules) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(kConfirmText, MsgResult::Yes);
    {
        HintDriver driver([](TfrmHint& h) {
            h.cbShowThis.click();
            PostMessageW(h.cmdOK.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
            platform::ProcessMessages();
        });
        app::ShowHint("JunkAdd", "by Escape");
        EXPECT_EQ(driver.shown, 1);
    }
    EXPECT_EQ(Flag("JunkAdd"), 0);
    EXPECT_FALSE(Flag("All"));
    {
        HintDriver driver([](TfrmHint& h) {
            h.cbShowAll.click();
            SendMessageW(h.hwnd(), WM_CLOSE, 0, 0);
        });
        app::ShowHint("JunkFolders", "by the close box");
        EXPECT_EQ(driver.shown, 1);
    }
    EXPECT_EQ(Flag("All"), 0);
    EXPECT_EQ(Flag("JunkFolders"), 0);
}

TEST_F(HintTest, F1OpensTheWelcomeTopic) {
    testsupport::ScriptedDialogs dialogs;
    testsupport::ShellRecorder shell;
    app::SetProgramFolderForTesting(testsupport::BuildFolder());
    HintDriver driver([](TfrmHint& h) {
        PostMessageW(h.cmdOK.hwnd(), WM_KEYDOWN, VK_F1, 0);
        platform::ProcessMessages();
        h.cmdOK.click();
    });
    app::ShowHint("Web", "web");
    app::SetProgramFolderForTesting("");
    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, testsupport::BuildFolder() + "Help\\Welcome_to_Quorvel_Vantrel.html");
}
