#include "app/progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "support/fixtures.h"
#include "support/scripted_dialogs.h"

using app::TfrmProgress;

namespace {
constexpr const char* kPrivacyPath = "Software\\Quorvel\\Vantrel\\privacy";

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        platform::ProcessMessages();
        Sleep(10);
    }
}

HWND FindProgressWindow() {
    return FindWindowW(nullptr, L"Scheduled Maintenance Progress");
}

// What the clean-up's progress window showed each time it reported a new state.
struct Seen {
    std::string heading, status;
    bool shown = false, cancelVisible = true;
    RECT rect{};
    int scaled82 = 0;
};

std::vector<Seen> RunCompleteCache() {
    std::vector<Seen> seen;
    app::CompleteCache([&](TfrmProgress& p) {
        seen.push_back({p.lblHeading.caption(), p.lblStatus.caption(), p.visible(), p.lblCancel.visible(),
                        p.windowRect(), p.scale(82)});
    });
    return seen;
}

std::vector<std::string> Statuses(const std::vector<Seen>& seen) {
    std::vector<std::string> out;
    for (auto& s : seen)
        out.push_back(s.status);
    return out;
}

struct CompleteCacheTest : testing::Test {
    void SetUp() override { testsupport::ClearProductKey(); }
    void TearDown() override { testsupport::ClearProductKey(); }
    void record(const char* name, const std::string& folder) {
        platform::RegKey::Create(HKEY_CURRENT_USER, kPrivacyPath).writeString(name, folder);
    }
    // A folder with files, a hidden file and a subfolder tree.
    std::string filled(const std::string& name) {
        dir.write(name + "\\index.dat", "index");
        dir.write(name + "\\page.htm", "<html>");
        dir.write(name + "\\sub\\deeper\\image.gif", "GIF89a");
        std::string hidden = dir.write(name + "\\desktop.ini", "[x]");
        platform::SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
        return dir.file(name);
    }
    testsupport::TempDir dir;
};
} // namespace

TEST(ProgressWindow, StartsWithItsCaptionTextsAndCancelLinkAndIsBorderless) {
    TfrmProgress p;
    p.create();
    EXPECT_EQ(p.caption(), "Scheduled Maintenance Progress");
    EXPECT_EQ(p.lblHeading.caption(), "Performing Scheduled Maintenance");
    EXPECT_EQ(p.lblStatus.caption(), "Removing junk and obsolete files...");
    EXPECT_EQ(p.lblCancel.caption(), "Cancel");
    EXPECT_TRUE(p.lblCancel.visible());
    EXPECT_FALSE(p.lblCancel.plain());
    auto style = GetWindowLongPtrW(p.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
    RECT r = p.windowRect();
    EXPECT_EQ(r.right - r.left, p.scale(258));
    EXPECT_FALSE(p.visible());
}

TEST(ProgressWindow, SitsFlushInTheBottomRightCornerAndShowsWithoutBeingModal) {
    TfrmProgress p;
    p.create();
    p.placeBottomRight();
    p.showInactive();
    RECT r = p.windowRect();
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - p.scale(258));
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) - p.scale(82));
    EXPECT_TRUE(p.visible());
    EXPECT_FALSE(p.isModal());
    EXPECT_EQ(platform::Form::ActiveModal(), nullptr);
    // The search animation keeps looping while the window is up.
    int before = p.animationFrame();
    PumpFor(400);
    EXPECT_GE(p.animationFrame(), before + 2);
    p.setStatus("Cleaning Registry...");
    EXPECT_EQ(p.lblStatus.caption(), "Cleaning Registry...");
    EXPECT_TRUE(p.close());
    EXPECT_FALSE(p.isOpen());
    EXPECT_EQ(FindProgressWindow(), nullptr);
}

TEST(ProgressWindow, CancelLinkClicksUntilItIsHiddenOrMadePlain) {
    TfrmProgress p;
    p.create();
    p.showInactive();
    int clicks = 0;
    p.lblCancel.onClick = [&] { ++clicks; };
    EXPECT_TRUE(p.lblCancel.click());
    EXPECT_EQ(clicks, 1);
    p.lblCancel.setCaption("Please Wait...");
    p.lblCancel.setPlain(true);
    EXPECT_FALSE(p.lblCancel.click());
    // A click that reaches the window anyway (the user's own) is ignored too.
    SendMessageW(p.hwnd(), WM_COMMAND, MAKEWPARAM(p.lblCancel.id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(p.lblCancel.hwnd()));
    EXPECT_EQ(clicks, 1);
    p.lblCancel.setPlain(false);
    p.lblCancel.setVisible(false);
    EXPECT_FALSE(p.lblCancel.click());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CompleteCacheTest, ShowsOnlyTheHistoryStatusWhenOnlyHistoryIsRecorded) {
    std::string cookies = filled("Cookies"), history = filled("History");
    record("History", history);
    testsupport::ScriptedDialogs dialogs;
    auto seen = RunCompleteCache();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(Statuses(seen), (std::vector<std::string>{"", "Cleaning up history..."}));
    for (auto& s : seen) {
        EXPECT_EQ(s.heading, "Completing Cache Removal");
        EXPECT_TRUE(s.shown);
        EXPECT_FALSE(s.cancelVisible);
        EXPECT_EQ(s.rect.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(s.rect.top, GetSystemMetrics(SM_CYSCREEN) - s.scaled82);
    }
    EXPECT_TRUE(platform::ListFolder(history).empty());
    EXPECT_TRUE(platform::FolderExists(history));
    EXPECT_EQ(platform::ListFolder(cookies).size(), 4u);
    EXPECT_EQ(FindProgressWindow(), nullptr);
}

TEST_F(CompleteCacheTest, WorksThroughCookiesCacheAndHistoryInThatOrder) {
    std::string cookies = filled("Cookies"), cache = filled("Cache"), history = filled("History");
    record("History", history);
    record("Cache", cache + "\\"); // a trailing backslash is allowed
    record("Cookies", cookies);
    testsupport::ScriptedDialogs dialogs;
    auto seen = RunCompleteCache();
    EXPECT_EQ(Statuses(seen), (std::vector<std::string>{"", "Cleaning up cookies...", "Cleaning up cache...",
                                                        "Cleaning up history..."}));
    for (auto& folder : {cookies, cache, history}) {
        EXPECT_TRUE(platform::FolderExists(folder)) << folder;
        EXPECT_TRUE(platform::ListFolder(folder).empty()) << folder;
    }
    auto key = platform::RegKey::Open(HKEY_CURRENT_USER, kPrivacyPath);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->valueCount(), 0u);
}

TEST_F(CompleteCacheTest, WithNothingRecordedTheWindowShowsBrieflyAndNothingIsTouched) {
    std::string cookies = filled("Cookies");
    testsupport::ScriptedDialogs dialogs;
    auto seen = RunCompleteCache();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].shown);
    EXPECT_EQ(seen[0].status, "");
    EXPECT_EQ(platform::ListFolder(cookies).size(), 4u);
    // The key is created when missing.
    EXPECT_TRUE(platform::KeyExists(HKEY_CURRENT_USER, kPrivacyPath));
    EXPECT_EQ(FindProgressWindow(), nullptr);
}
