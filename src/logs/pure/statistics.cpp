#include "logs/pure/statistics.h"

namespace logs {

const std::vector<std::string>& CounterNames() {
    static const std::vector<std::string> names{"JunkFiles",  "JunkBytes", "EraserBytes", "ShortFixed", "ShortRemoved",
                                                "ShortBytes", "UninItems", "DupeFiles",   "DupeBytes",  "RegRefs"};
    return names;
}

void CounterSet::set(std::string name, int32_t value) {
    m_values[std::move(name)] = Entry{value, true};
}

void CounterSet::setUnreadable(std::string name) {
    m_values[std::move(name)] = Entry{0, false};
}

int32_t CounterSet::value(std::string_view name) const {
    auto it = m_values.find(name);
    return it == m_values.end() ? 0 : it->second.value;
}

bool CounterSet::readable(std::string_view name) const {
    auto it = m_values.find(name);
    return it == m_values.end() || it->second.readable;
}

std::vector<std::string> CounterSet::unreadable() const {
    std::vector<std::string> out;
    for (const auto& n : CounterNames())
        if (!readable(n)) out.push_back(n);
    return out;
}

const std::vector<StatRow>& StatisticsRows() {
    static const std::vector<StatRow> rows{
        {"Junk and Obsolete Files", "Total Files Removed:", "lblJunkFiles", {"JunkFiles"}, StatKind::Count},
        {"Junk and Obsolete Files", "Total Space Freed:", "lblJunkBytes", {"JunkBytes"}, StatKind::Bytes},
        {"Privacy and History", "Total Space Freed:", "lblEraserBytes", {"EraserBytes"}, StatKind::Bytes},
        {"Shortcuts", "Total Shortcuts Fixed:", "lblShortFixed", {"ShortFixed"}, StatKind::Count},
        {"Shortcuts", "Total Shortcuts Removed:", "lblShortRemoved", {"ShortRemoved"}, StatKind::Count},
        {"Uninstallers", "Total Invalid References Removed:", "lblUninItems", {"UninItems"}, StatKind::Count},
        {"Duplicate Files", "Total Files Removed:", "lblDupeFiles", {"DupeFiles"}, StatKind::Count},
        {"Duplicate Files", "Total Space Freed:", "lblDupeBytes", {"DupeBytes"}, StatKind::Bytes},
        {"Registry", "Total Invalid References Removed:", "lblRegRefs", {"RegRefs"}, StatKind::Count},
        {"Historical Totals",
         "Total Files Removed:",
         "lblTotalFiles",
         {"JunkFiles", "ShortRemoved", "DupeFiles"},
         StatKind::Count},
        {"Historical Totals",
         "Total Space Freed:",
         "lblTotalBytes",
         {"JunkBytes", "EraserBytes", "ShortBytes", "DupeBytes"},
         StatKind::Bytes},
    };
    return rows;
}

std::vector<std::string> StatisticsGroups() {
    std::vector<std::string> out;
    for (const auto& r : StatisticsRows())
        if (out.empty() || out.back() != r.group) out.push_back(r.group);
    return out;
}

int64_t RowValue(const StatRow& row, const CounterSet& counters) {
    int64_t sum = 0;
    for (const auto& c : row.counters)
        sum += counters.value(c);
    return sum;
}

HistoricalTotals ComputeTotals(const CounterSet& counters) {
    HistoricalTotals t;
    for (const auto& r : StatisticsRows()) {
        if (r.valueLabel == "lblTotalFiles") t.filesRemoved = RowValue(r, counters);
        if (r.valueLabel == "lblTotalBytes") t.spaceFreed = RowValue(r, counters);
    }
    return t;
}

std::string ByteValueText(int64_t bytes, const textfmt::FormatSettings& fs) {
    return textfmt::FormatThousands(bytes, fs) + " bytes. (" + textfmt::FormatMegabytes(bytes, fs) + " megabytes)";
}

std::string CountText(int64_t count) {
    return std::to_string(count);
}

std::string RowText(const StatRow& row, const CounterSet& counters, const textfmt::FormatSettings& fs) {
    if (row.counters.size() == 1 && !counters.readable(row.counters.front())) return kUnreadableValue;
    int64_t v = RowValue(row, counters);
    return row.kind == StatKind::Bytes ? ByteValueText(v, fs) : CountText(v);
}

std::string UnreadableNote(const CounterSet& counters) {
    auto bad = counters.unreadable();
    if (bad.empty()) return {};
    std::string names;
    for (const auto& n : bad)
        names += (names.empty() ? "\"" : ", \"") + n + "\"";
    return "Not stored as a number in the Logs key, counted as 0 until reset: " + names + ".";
}

std::string StatusFilesText(const HistoricalTotals& t) {
    return "Total Files Removed: " + CountText(t.filesRemoved);
}

std::string StatusSpaceText(const HistoricalTotals& t, const textfmt::FormatSettings& fs) {
    return "Total Space Freed: " + ByteValueText(t.spaceFreed, fs);
}

const std::vector<ResetItem>& ResetItems() {
    static const std::vector<ResetItem> items{
        {"mnuResetJunk", "&Junk and Obsolete File Statistics", {"JunkBytes", "JunkFiles"}},
        {"mnuResetPrivacy", "&History and Privacy Statistics", {"EraserBytes"}},
        {"mnuResetShortcuts", "&Invalid Shortcuts Statistics", {"ShortBytes", "ShortRemoved", "ShortFixed"}},
        {"mnuResetUninstallers", "Invalid &Uninstaller Statistics", {"UninItems"}},
        {"mnuResetDupes", "&Duplicate File Statistics", {"DupeBytes", "DupeFiles"}},
        {"mnuResetRegistry", "&Registry Statistics", {"RegRefs"}},
        // The trace eraser's total is kept here on purpose; only its own item resets it.
        {"mnuResetAll",
         "&All Statistics",
         {"JunkBytes", "JunkFiles", "ShortBytes", "ShortRemoved", "ShortFixed", "UninItems", "DupeBytes", "DupeFiles",
          "RegRefs"}},
    };
    return items;
}

} // namespace logs
