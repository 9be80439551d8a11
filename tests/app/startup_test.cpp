#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/commontools.h"
#include "app/paths.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using app::Switch;

namespace {
constexpr const char* kPrivacyPath = "Software\\Quorvel\\Vantrel\\privacy";

struct StartupTest : testing::Test {
    void SetUp() override { testsupport::ClearProductKey(); }
    void TearDown() override { testsupport::ClearProductKey(); }
    platform::RegKey privacy() { return platform::RegKey::Create(HKEY_CURRENT_USER, kPrivacyPath); }
    testsupport::TempDir dir;
};
} // namespace

TEST(Dispatch, OnlyTheFirstArgumentCountsInAnyLetterCase) {
    EXPECT_EQ(app::ParseSwitch({}), Switch::None);
    for (const char* s : {"/completecache", "/CompleteCache", "/COMPLETECACHE"})
        EXPECT_EQ(app::ParseSwitch({s}), Switch::CompleteCache) << s;
    EXPECT_EQ(app::ParseSwitch({"/CleanJunk"}), Switch::CleanJunk);
    EXPECT_EQ(app::ParseSwitch({"/CleanHistory"}), Switch::CleanHistory);
    EXPECT_EQ(app::ParseSwitch({"/RegistryClean"}), Switch::RegistryClean);
    EXPECT_EQ(app::ParseSwitch({"/setschedule"}), Switch::SetSchedule);
    EXPECT_EQ(app::ParseSwitch({"/completecache", "/CLEANJUNK"}), Switch::CompleteCache);
    EXPECT_EQ(app::ParseSwitch({"/bogus", "/COMPLETECACHE"}), Switch::Unknown);
    for (const char* s : {"", "COMPLETECACHE", "-COMPLETECACHE", "/COMPLETECACHE ", "/COMPLETE", "/CLEANJUNKS"})
        EXPECT_EQ(app::ParseSwitch({s}), Switch::Unknown) << s;
}

TEST(Dispatch, TitleAndHelpFileAreSetAtStart) {
    app::InitApplication();
    EXPECT_EQ(app::ApplicationTitle(), "Vantrel");
    EXPECT_EQ(app::HelpFile(), app::ProgramFolder() + "Vantrel.hlp");
}

TEST(SharedForm, HoldsThePicturesAndImageListsAndIsNeverShown) {
    auto& tools = app::CommonTools();
    EXPECT_EQ(&tools, &app::CommonTools());
    EXPECT_TRUE(tools.isOpen());
    EXPECT_FALSE(tools.visible());
    for (auto* pic : {&tools.imgConfirm, &tools.imgDelete, &tools.imgMoveTo, &tools.imgRecycle, &tools.imgMag}) {
        ASSERT_FALSE(pic->empty());
        BITMAP bm{};
        ASSERT_TRUE(GetObjectW(pic->bitmap(), sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 32);
    }
    BITMAP help{};
    ASSERT_TRUE(GetObjectW(tools.imgHelp16.bitmap(), sizeof help, &help));
    EXPECT_EQ(help.bmWidth, 16);
    EXPECT_EQ(ImageList_GetImageCount(tools.common16()), 6);
    EXPECT_NE(tools.icons(), nullptr);
    // The shared file operation: files only, no questions, no folders made, rename on collision,
    // silent, each file added by the caller.
    const auto& op = tools.ShellFileOp1;
    EXPECT_TRUE(op.FilesOnly);
    EXPECT_TRUE(op.NoConfirmation);
    EXPECT_FALSE(op.AutoMakeDir);
    EXPECT_TRUE(op.RenameOnCollision);
    EXPECT_FALSE(op.Animate);
    EXPECT_FALSE(op.ClearOnAdd);
    app::DestroyCommonTools();
    EXPECT_FALSE(app::CommonToolsExist());
}

TEST(SharedForm, PicturesAreDrawnNotBlank) {
    for (auto g : {app::Glyph::Confirm, app::Glyph::Delete, app::Glyph::MoveTo, app::Glyph::Recycle, app::Glyph::Mag,
                   app::Glyph::Help}) {
        platform::UniqueGdiObject bmp(app::DrawGlyph(g, 32));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bmp.get());
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        int drawn = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (GetPixel(dc, x, y) != face) ++drawn;
        SelectObject(dc, old);
        DeleteDC(dc);
        EXPECT_GT(drawn, 60) << static_cast<int>(g);
    }
}

TEST_F(StartupTest, AValueThatIsNotTextIsReportedAndTheOthersAreStillDone) {
    std::string cache = dir.write("Cache\\a.tmp", "x");
    privacy().writeInt("Cookies", 7);
    privacy().writeString("Cache", dir.file("Cache"));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage("\"Cookies\" under HKEY_CURRENT_USER\\Software\\Quorvel\\Vantrel\\privacy is not a text "
                          "value (registry type 4); the record was removed and nothing was deleted.");
    app::CompleteCache();
    dialogs.verifyAllAsked();
    EXPECT_FALSE(platform::FileExists(cache));
    EXPECT_FALSE(privacy().hasValue("Cookies"));
    EXPECT_FALSE(privacy().hasValue("Cache"));
}

TEST_F(StartupTest, EmptyAndRelativeFoldersAreRefusedNotEmptiedRelativeToTheCurrentFolder) {
    std::string inCurrent = dir.write("History\\keep.dat", "x");
    std::string kept = dir.write("top.dat", "y");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(platform::Widen(dir.path()).c_str());
    privacy().writeString("Cache", "");
    privacy().writeString("History", "History");
    testsupport::ScriptedDialogs dialogs;
    // Both refusals arrive in one report.
    dialogs.expectMessage("\"Cache\" under HKEY_CURRENT_USER\\Software\\Quorvel\\Vantrel\\privacy \"\" is not a full "
                          "folder path below a drive or share");
    app::CompleteCache();
    SetCurrentDirectoryW(previous);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_NE(dialogs.asked()[0].text.find("privacy \"History\" is not a full folder path below a drive or share"),
              std::string::npos);
    EXPECT_TRUE(platform::FileExists(inCurrent));
    EXPECT_TRUE(platform::FileExists(kept));
    EXPECT_FALSE(privacy().hasValue("Cache"));
    EXPECT_FALSE(privacy().hasValue("History"));
}

TEST_F(StartupTest, AnExpandableFolderValueIsExpandedFirst) {
    std::string file = dir.write("Temporary Internet Files\\Content.IE5\\x.htm", "x");
    SetEnvironmentVariableW(L"VANTREL_TEST_CACHE", platform::Widen(dir.path()).c_str());
    privacy().writeString("Cache", "%VANTREL_TEST_CACHE%Temporary Internet Files", REG_EXPAND_SZ);
    testsupport::ScriptedDialogs dialogs;
    app::CompleteCache();
    SetEnvironmentVariableW(L"VANTREL_TEST_CACHE", nullptr);
    EXPECT_FALSE(platform::FileExists(file));
    EXPECT_FALSE(platform::FolderExists(dir.file("Temporary Internet Files\\Content.IE5")));
    EXPECT_TRUE(platform::FolderExists(dir.file("Temporary Internet Files")));
    EXPECT_FALSE(privacy().hasValue("Cache"));
}
