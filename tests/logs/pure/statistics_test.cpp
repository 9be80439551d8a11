#include "logs/pure/statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace logs;

namespace {
const StatRow& Row(const std::string& valueLabel) {
    for (const auto& r : StatisticsRows())
        if (r.valueLabel == valueLabel) return r;
    throw std::runtime_error("no row " + valueLabel);
}
textfmt::FormatSettings German() {
    textfmt::FormatSettings fs;
    fs.thousandSeparator = ".";
    fs.decimalSeparator = ",";
    return fs;
}
} // namespace

TEST(Statistics, GroupsAndLabelsInPageOrder) {
    EXPECT_EQ(StatisticsGroups(),
              (std::vector<std::string>{"Junk and Obsolete Files", "Privacy and History", "Shortcuts", "Uninstallers",
                                        "Duplicate Files", "Registry", "Historical Totals"}));
    std::vector<std::string> labels;
    for (const auto& r : StatisticsRows())
        labels.push_back(r.label);
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "Total Files Removed:", "Total Space Freed:", "Total Space Freed:", "Total Shortcuts Fixed:",
                          "Total Shortcuts Removed:", "Total Invalid References Removed:", "Total Files Removed:",
                          "Total Space Freed:", "Total Invalid References Removed:", "Total Files Removed:",
                          "Total Space Freed:"}));
}

TEST(Statistics, ByteValuesShowBytesAndMegabytes) {
    EXPECT_EQ(ByteValueText(1048576, {}), "1,048,576 bytes. (1.00 megabytes)");
    EXPECT_EQ(ByteValueText(0, {}), "0 bytes. (0.00 megabytes)");
    EXPECT_EQ(ByteValueText(1572864, German()), "1.572.864 bytes. (1,50 megabytes)");
    EXPECT_EQ(ByteValueText(2147483647, {}), "2,147,483,647 bytes. (2,048.00 megabytes)");
}

TEST(Statistics, TotalsAddTheirCountersWithoutWrapping) {
    CounterSet c;
    c.set("JunkFiles", 3);
    c.set("ShortRemoved", 4);
    c.set("DupeFiles", 5);
    c.set("ShortFixed", 100); // not a removal
    c.set("JunkBytes", 1000);
    c.set("EraserBytes", 20);
    c.set("ShortBytes", 3);
    c.set("DupeBytes", 400);
    auto t = ComputeTotals(c);
    EXPECT_EQ(t.filesRemoved, 12);
    EXPECT_EQ(t.spaceFreed, 1423);
    EXPECT_EQ(StatusFilesText(t), "Total Files Removed: 12");
    EXPECT_EQ(StatusSpaceText(t, {}), "Total Space Freed: 1,423 bytes. (0.00 megabytes)");

    CounterSet big;
    for (const char* n : {"JunkBytes", "EraserBytes", "ShortBytes", "DupeBytes"})
        big.set(n, INT32_MAX);
    EXPECT_EQ(ComputeTotals(big).spaceFreed, 4LL * INT32_MAX);
    EXPECT_EQ(RowText(Row("lblTotalBytes"), big, {}), "8,589,934,588 bytes. (8,192.00 megabytes)");
}

TEST(Statistics, AnUnreadableCounterIsShownAsSuchAndCountsAsZero) {
    CounterSet c;
    c.set("JunkFiles", 7);
    c.setUnreadable("DupeFiles");
    c.setUnreadable("JunkBytes");
    EXPECT_EQ(RowText(Row("lblDupeFiles"), c, {}), "unreadable (counted as 0)");
    EXPECT_EQ(RowText(Row("lblJunkBytes"), c, {}), "unreadable (counted as 0)");
    EXPECT_EQ(RowText(Row("lblJunkFiles"), c, {}), "7");
    EXPECT_EQ(RowText(Row("lblTotalFiles"), c, {}), "7");
    EXPECT_EQ(c.unreadable(), (std::vector<std::string>{"JunkBytes", "DupeFiles"}));
    EXPECT_EQ(UnreadableNote(c),
              "Not stored as a number in the Logs key, counted as 0 until reset: \"JunkBytes\", \"DupeFiles\".");
    EXPECT_EQ(UnreadableNote(CounterSet{}), "");
}

TEST(Statistics, ResetItemsDeleteTheirCountersAndAllKeepsTheErasersTotal) {
    std::vector<std::string> captions;
    for (const auto& r : ResetItems())
        captions.push_back(r.caption);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"&Junk and Obsolete File Statistics", "&History and Privacy Statistics",
                                        "&Invalid Shortcuts Statistics", "Invalid &Uninstaller Statistics",
                                        "&Duplicate File Statistics", "&Registry Statistics", "&All Statistics"}));
    const auto& all = ResetItems().back().counters;
    EXPECT_EQ(all.size(), 9u);
    EXPECT_EQ(std::count(all.begin(), all.end(), "EraserBytes"), 0);
    // Every other counter is reset by "&All Statistics" and by exactly one tool item.
    for (const auto& name : CounterNames()) {
        if (name == "EraserBytes") continue;
        EXPECT_EQ(std::count(all.begin(), all.end(), name), 1) << name;
        int owners = 0;
        for (size_t i = 0; i + 1 < ResetItems().size(); ++i)
            owners +=
                static_cast<int>(std::count(ResetItems()[i].counters.begin(), ResetItems()[i].counters.end(), name));
        EXPECT_EQ(owners, 1) << name;
    }
    EXPECT_EQ(ResetItems()[1].counters, std::vector<std::string>{"EraserBytes"});
}
