#include "logs/pure/log_pages.h"

#include <gtest/gtest.h>

using namespace logs;

TEST(LogsPages, EightPagesInOrderWithTheirViewsAndFiles) {
    std::vector<std::string> captions;
    for (const auto& p : LogsPages())
        captions.push_back(p.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Junk Files", "Privacy", "Shortcuts", "Uninstallers",
                                                  "Duplicate Files", "Registry", "Statistics", "Settings"}));
    EXPECT_EQ(AllLogFiles(),
              (std::vector<std::string>{"Manual_Junk_Log.txt", "JunkLog.txt", "Manual_Privacy_Log.txt", "EraserLog.txt",
                                        "Manual_Shortcuts_Log.txt", "Manual_Uninstallers_Log.txt",
                                        "Manual_Dupes_Log.txt", "Manual_Registry_Log.txt", "RegistryLog.txt"}));
    EXPECT_EQ(FindPage("Statistics")->kind, PageKind::Statistics);
    EXPECT_EQ(FindPage("Settings")->kind, PageKind::Settings);
    EXPECT_TRUE(FindPage("Statistics")->views.empty());
    EXPECT_TRUE(FindPage("Junk Files")->twoViews());
    EXPECT_FALSE(FindPage("Duplicate Files")->twoViews());
    EXPECT_EQ(FindPage("Nonsense"), nullptr);
}

TEST(LogsPages, MenuItemsChooseTheInteractiveOrTheUnattendedLog) {
    const auto& registry = *FindPage("Registry");
    EXPECT_EQ(FileForItem(registry, "Manual Operations"), "Manual_Registry_Log.txt");
    EXPECT_EQ(FileForItem(registry, "Scheduled Operations"), "RegistryLog.txt");
    EXPECT_EQ(FileForItem(*FindPage("Junk Files"), "Scheduled Operations"), "JunkLog.txt");
    EXPECT_EQ(FileForItem(*FindPage("Privacy"), "Scheduled Operations"), "EraserLog.txt");
    EXPECT_FALSE(FileForItem(registry, "Other").has_value());
    EXPECT_EQ(FileForItem(*FindPage("Shortcuts"), ""), "Manual_Shortcuts_Log.txt");
    EXPECT_FALSE(FileForItem(*FindPage("Statistics"), "Manual Operations").has_value());
}

TEST(LogsPages, AFileIsFoundWhateverTheLetterCaseOfItsName) {
    auto ref = FindViewOfFile("Registrylog.txt");
    ASSERT_TRUE(ref);
    EXPECT_EQ(LogsPages()[ref->page].caption, "Registry");
    EXPECT_EQ(ref->view, 1u);
    ref = FindViewOfFile("Manual_ShortCuts_Log.txt");
    ASSERT_TRUE(ref);
    EXPECT_EQ(LogsPages()[ref->page].caption, "Shortcuts");
    EXPECT_FALSE(FindViewOfFile("Other.txt").has_value());
}
