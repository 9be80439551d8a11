#pragma once
// The statistics page: which counters each label shows, the historical totals, the value texts,
// and which counters each reset command deletes.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/pure/format.h"

namespace logs {

// The ten counters of the Logs key.
const std::vector<std::string>& CounterNames();

// The counters as read from the Logs key. A counter that is missing reads as 0; one stored with
// another type than a number is unreadable and counts as 0 until it is reset.
class CounterSet {
public:
    void set(std::string name, int32_t value);
    void setUnreadable(std::string name);
    int32_t value(std::string_view name) const; // 0 when missing or unreadable
    bool readable(std::string_view name) const;
    std::vector<std::string> unreadable() const; // in CounterNames() order

private:
    struct Entry {
        int32_t value = 0;
        bool readable = true;
    };
    std::map<std::string, Entry, std::less<>> m_values;
};

enum class StatKind { Count, Bytes };

// One value of the statistics page: a label in a group, showing one counter or the sum of several.
struct StatRow {
    std::string group;      // "Junk and Obsolete Files"
    std::string label;      // "Total Files Removed:"
    std::string valueLabel; // the control that shows the value ("lblJunkFiles")
    std::vector<std::string> counters;
    StatKind kind = StatKind::Count;
};
// The rows in page order, group by group.
const std::vector<StatRow>& StatisticsRows();
// The groups in page order.
std::vector<std::string> StatisticsGroups();

// Sums are taken in 64 bits: four counters near the 32-bit maximum must not wrap into a negative
// total.
int64_t RowValue(const StatRow& row, const CounterSet& counters);
struct HistoricalTotals {
    int64_t filesRemoved = 0; // "JunkFiles" + "ShortRemoved" + "DupeFiles"
    int64_t spaceFreed = 0;   // "JunkBytes" + "EraserBytes" + "ShortBytes" + "DupeBytes"
};
HistoricalTotals ComputeTotals(const CounterSet& counters);

// B + " bytes. (" + M + " megabytes)": B with thousands separators, M = B / 1 048 576 with two decimals.
std::string ByteValueText(int64_t bytes, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
std::string CountText(int64_t count);
// What a row's value label shows. A single unreadable counter says so instead of a number.
std::string RowText(const StatRow& row, const CounterSet& counters,
                    const textfmt::FormatSettings& fs = textfmt::ProcessFormats());
inline constexpr const char* kUnreadableValue = "unreadable (counted as 0)";
// The note under the statistics when counters are unreadable; empty when all are fine.
std::string UnreadableNote(const CounterSet& counters);

// The status bar's two panels.
std::string StatusFilesText(const HistoricalTotals& t);
std::string StatusSpaceText(const HistoricalTotals& t, const textfmt::FormatSettings& fs = textfmt::ProcessFormats());

// The items of "&Reset..." and the counters each deletes.
struct ResetItem {
    std::string name;    // "mnuResetJunk"
    std::string caption; // "&Junk and Obsolete File Statistics"
    std::vector<std::string> counters;
};
const std::vector<ResetItem>& ResetItems();
inline constexpr const char* kResetQuestion =
    "Are you sure you want reset this statistical data?  This operation cannot be reversed.";
inline constexpr const char* kResetCaption = "Please confirm...";

} // namespace logs
