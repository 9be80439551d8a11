// The launcher under the pointer: lighting, hints, presses and the window's shape.
#include <gtest/gtest.h>

#include "launcher/launcher_driver.h"
#include "support/fixtures.h"

using app::TfrmNav;
using app::art::NavButton;
using namespace launchertest;

namespace {

class NavPointer : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ClearProductKey();
        nav.show();
    }
    void TearDown() override { testsupport::ClearProductKey(); }

    std::vector<std::string> visibleHints() {
        std::vector<std::string> out;
        for (int i = 0; i < app::art::kNavButtonCount; ++i) {
            auto& hint = nav.button(static_cast<NavButton>(i)).hint;
            if (hint.visible()) out.push_back(hint.name());
        }
        return out;
    }
    std::vector<int> litTools() {
        std::vector<int> out;
        for (int i = 0; i < app::art::kNavToolCount; ++i)
            if (!nav.button(static_cast<NavButton>(i)).up.visible()) out.push_back(i);
        return out;
    }

    TfrmNav nav;
};

TEST_F(NavPointer, ShownWithEveryButtonUpAndNoHint) {
    for (int i = 0; i < app::art::kNavButtonCount; ++i) {
        auto& pb = nav.button(static_cast<NavButton>(i));
        EXPECT_TRUE(pb.up.visible()) << pb.up.name();
        EXPECT_TRUE(pb.down.visible()) << pb.down.name();
        EXPECT_FALSE(pb.hint.visible()) << pb.hint.name();
    }
    for (const char* name : {"imgJunk_Up", "imgShortCuts_Up", "imgShortcuts_Over", "imgShortcuts_Hint", "imgSafe_Down",
                             "imgSched_Hint", "imgWeb_Up", "imgHelp_Down", "imgExit_Up", "imgLogs_Down"})
        EXPECT_NE(nav.control(name), nullptr) << name;
}

TEST_F(NavPointer, PointingAtAToolLightsItAndShowsOnlyItsHint) {
    MoveOver(Image(nav, "imgJunk_Up"));
    EXPECT_TRUE(Lit(nav, NavButton::Junk));
    EXPECT_EQ(litTools(), std::vector<int>{0});
    EXPECT_EQ(visibleHints(), std::vector<std::string>{"imgJunk_Hint"});
}

TEST_F(NavPointer, MovingStraightToAnotherToolLeavesOnlyTheSecondLit) {
    MoveOver(Image(nav, "imgJunk_Up"));
    MoveOver(Image(nav, "imgJunk_Over"));
    MoveOver(Image(nav, "imgEraser_Up"));
    EXPECT_TRUE(Lit(nav, NavButton::Eraser));
    EXPECT_FALSE(Lit(nav, NavButton::Junk));
    EXPECT_EQ(litTools(), std::vector<int>{1});
    EXPECT_EQ(visibleHints(), std::vector<std::string>{"imgEraser_Hint"});

    // And back again, across the grid.
    MoveOver(Image(nav, "imgSched_Up"));
    MoveOver(Image(nav, "imgJunk_Up"));
    EXPECT_EQ(litTools(), std::vector<int>{0});
    EXPECT_EQ(visibleHints(), std::vector<std::string>{"imgJunk_Hint"});
}

TEST_F(NavPointer, BackgroundAndHintPicturesPutEverythingBack) {
    MoveOver(Image(nav, "imgReg_Up"));
    MoveOverBackground(nav);
    EXPECT_TRUE(litTools().empty());
    EXPECT_TRUE(visibleHints().empty());

    MoveOver(Image(nav, "imgDupes_Up"));
    MoveOver(Image(nav, "imgDupes_Hint")); // the pointer slides off the button onto the hint
    EXPECT_TRUE(litTools().empty());
    EXPECT_TRUE(visibleHints().empty());

    // The system's move messages (the background is the drag area) count the same.
    MoveOver(Image(nav, "imgSafe_Up"));
    SendMessageW(nav.hwnd(), WM_NCMOUSEMOVE, HTCAPTION, 0);
    EXPECT_TRUE(litTools().empty());
}

TEST_F(NavPointer, CommandButtonsShowTheirHintAndPutToolsBack) {
    MoveOver(Image(nav, "imgSched_Up"));
    MoveOver(Image(nav, "imgWeb_Up"));
    EXPECT_TRUE(litTools().empty());
    EXPECT_EQ(visibleHints(), std::vector<std::string>{"imgWeb_Hint"});
    EXPECT_TRUE(nav.button(NavButton::Web).up.visible());
}

TEST_F(NavPointer, PressShowsTheDownFaceAndReleaseOpensTheTool) {
    int opened = 0;
    nav.setOpener(NavButton::Junk, [&](HWND owner) {
        ++opened;
        EXPECT_EQ(owner, nav.hwnd());
    });
    auto& over = Image(nav, "imgJunk_Over");
    MoveOver(Image(nav, "imgJunk_Up"));
    ButtonDown(over);
    EXPECT_FALSE(over.visible());
    EXPECT_TRUE(Image(nav, "imgJunk_Down").visible());
    EXPECT_EQ(opened, 0);
    ButtonUp(over);
    EXPECT_TRUE(over.visible());
    EXPECT_EQ(opened, 1);
}

TEST_F(NavPointer, ReleaseAwayFromTheButtonOpensNothing) {
    int opened = 0;
    nav.setOpener(NavButton::Reg, [&](HWND) { ++opened; });
    auto& over = Image(nav, "imgReg_Over");
    MoveOver(Image(nav, "imgReg_Up"));
    ButtonDown(over);
    ButtonUp(over, MAKELPARAM(-30, 400)); // dragged off while held
    EXPECT_TRUE(over.visible());
    EXPECT_EQ(opened, 0);
}

TEST_F(NavPointer, ReleaseReachingTheDownFaceStillClicks) {
    // When hiding the over face ends its hold on the mouse, the release goes to the face beneath.
    int opened = 0;
    nav.setOpener(NavButton::Sched, [&](HWND) { ++opened; });
    MoveOver(Image(nav, "imgSched_Up"));
    ButtonDown(Image(nav, "imgSched_Over"));
    ButtonUp(Image(nav, "imgSched_Down"));
    EXPECT_TRUE(Image(nav, "imgSched_Over").visible());
    EXPECT_EQ(opened, 1);
    // A release without a press first is not a click.
    ButtonUp(Image(nav, "imgSched_Down"));
    EXPECT_EQ(opened, 1);
}

TEST_F(NavPointer, CommandPressShowsItsDownFace) {
    auto& up = Image(nav, "imgLogs_Up");
    int opened = 0;
    nav.setOpener(NavButton::Logs, [&](HWND) { ++opened; });
    MoveOver(up);
    ButtonDown(up);
    EXPECT_FALSE(up.visible());
    EXPECT_TRUE(Image(nav, "imgLogs_Down").visible());
    ButtonUp(up);
    EXPECT_TRUE(up.visible());
    EXPECT_EQ(opened, 1);
}

TEST_F(NavPointer, LightButtonForScreenshotUsesThePointerPath) {
    EXPECT_TRUE(nav.LightButtonForScreenshot("imgShortcuts"));
    EXPECT_TRUE(Lit(nav, NavButton::ShortCuts));
    EXPECT_EQ(visibleHints(), std::vector<std::string>{"imgShortcuts_Hint"});
    EXPECT_TRUE(nav.LightButtonForScreenshot("imgStartUp_Up"));
    EXPECT_EQ(litTools(), std::vector<int>{6});
    EXPECT_FALSE(nav.LightButtonForScreenshot("imgNothing"));
}

TEST_F(NavPointer, ShapedLikeItsPictureAndCentred) {
    auto outline = nav.outline();
    ASSERT_TRUE(outline);
    auto rgn = static_cast<HRGN>(outline.get());
    EXPECT_FALSE(PtInRegion(rgn, 3, 3));                        // above the body, left of the emblem
    EXPECT_TRUE(PtInRegion(rgn, nav.scale(78), nav.scale(10))); // the emblem stands out of the top
    EXPECT_TRUE(PtInRegion(rgn, nav.scale(320), nav.scale(200)));
    EXPECT_FALSE(PtInRegion(rgn, nav.scale(639), nav.scale(435))); // rounded corner
    EXPECT_FALSE(PtInRegion(rgn, nav.scale(400), nav.scale(12)));

    RECT r = nav.windowRect();
    EXPECT_EQ(r.right - r.left, nav.scale(app::art::kNavWidth));
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(NavPointer, DraggedByTheBackgroundButNotByItsButtons) {
    RECT r = nav.windowRect();
    EXPECT_EQ(SendMessageW(nav.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 200, r.top + 100)), HTCAPTION);
    auto& hint = Image(nav, "imgJunk_Hint");
    EXPECT_EQ(SendMessageW(hint.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 400, r.top + 200)), HTTRANSPARENT);
    auto& up = Image(nav, "imgJunk_Up");
    RECT b;
    GetWindowRect(up.hwnd(), &b);
    EXPECT_EQ(SendMessageW(up.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(b.left + 5, b.top + 5)), HTCLIENT);
}

} // namespace

namespace {

TEST_F(NavPointer, LeavingTheLauncherFromAButtonPutsItBack) {
    auto& up = Image(nav, "imgReg_Up");
    RECT r;
    GetWindowRect(up.hwnd(), &r);
    // The pointer leaves for another part of the launcher: the button stays lit until that part
    // says otherwise.
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    MoveOver(up);
    SendMessageW(up.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(Lit(nav, NavButton::Reg));
    // The pointer is outside the window.
    RECT w = nav.windowRect();
    SetCursorPos(w.right + 20, w.bottom + 20);
    MoveOver(up);
    MoveOver(Image(nav, "imgReg_Over"));
    SendMessageW(Image(nav, "imgReg_Over").hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(Lit(nav, NavButton::Reg));
    EXPECT_TRUE(visibleHints().empty());
}

} // namespace
