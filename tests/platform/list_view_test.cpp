// A list that keeps its rows itself (owner data) must behave, through every ListView call and
// through the control's own messages, as a list whose control holds the rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/strings.h"
#include "platform/window.h"

namespace {
using Lines = std::vector<std::string>;

class TwoListsForm : public platform::Form {
public:
    TwoListsForm() : Form("TTwoListsForm") { owned.setOwnerData(true); }
    platform::ListView held;  // rows in the control
    platform::ListView owned; // rows kept by the program

protected:
    void buildWindow(HWND owner) override {
        createWindow({"Lists", 640, 420}, owner);
        addListView(held, "held", {10, 10, 300, 380}, nullptr, false, true);
        addListView(owned, "owned", {320, 10, 300, 380}, nullptr, false, true);
        for (auto* list : {&held, &owned}) {
            list->addColumn("Name", 120);
            list->addColumn("Size", 60);
            list->addColumn("Note", 80);
        }
    }
};

// The text as the control itself gives it (for an owner-data list, through its request to the
// window), not as the program's copy has it.
std::string ControlText(const platform::ListView& list, int row, int column) {
    wchar_t buf[260] = {};
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = buf;
    it.cchTextMax = 260;
    SendMessageW(list.hwnd(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
    return platform::Narrow(buf);
}

Lines Rows(const platform::ListView& list) {
    Lines out;
    for (int r = 0; r < list.rowCount(); ++r) {
        std::string line;
        for (int c = 0; c < 3; ++c)
            line += (c ? "|" : "") + ControlText(list, r, c);
        line += "|" + std::to_string(list.image(r)) + "|" + std::to_string(list.data(r));
        out.push_back(line);
    }
    return out;
}

void Fill(platform::ListView& list) {
    list.addRow("delta", {"40", ""}, 2, 104);
    list.addRow("alpha", {"10", "first"}, 1, 101);
    list.addRow("Charlie", {"30"}, -1, 103);
    list.addRow("bravo", {"20", "second"}, 0, 102);
}
} // namespace

TEST(OwnerDataList, RowsReadAndChangeAsInAListThatHoldsThem) {
    TwoListsForm form;
    form.create();
    EXPECT_TRUE(GetWindowLongPtrW(form.owned.hwnd(), GWL_STYLE) & LVS_OWNERDATA);
    EXPECT_FALSE(GetWindowLongPtrW(form.held.hwnd(), GWL_STYLE) & LVS_OWNERDATA);
    Fill(form.held);
    Fill(form.owned);
    EXPECT_EQ(form.owned.rowCount(), 4);
    EXPECT_EQ(ListView_GetItemCount(form.owned.hwnd()), 4);
    EXPECT_EQ(Rows(form.owned), Rows(form.held));
    EXPECT_EQ(Rows(form.owned)[1], "alpha|10|first|1|101");
    EXPECT_EQ(form.owned.row(2), form.held.row(2));

    for (auto* list : {&form.held, &form.owned}) {
        list->setText(2, 2, "third");
        list->setText(0, 0, "echo");
        list->setImage(3, 5);
    }
    EXPECT_EQ(Rows(form.owned), Rows(form.held));
    EXPECT_EQ(Rows(form.owned)[2], "Charlie|30|third|0|103");
    EXPECT_EQ(form.owned.image(3), 5);
    // Out of range reads give nothing, as the control's own do.
    EXPECT_EQ(form.owned.text(9, 0), form.held.text(9, 0));
    EXPECT_EQ(form.owned.text(0, 7), "");

    // Sorting moves whole rows; the selection starts afresh in both.
    for (auto* list : {&form.held, &form.owned}) {
        list->setSelected(1, true);
        list->sortRows([&](int a, int b) {
            return platform::UpperCase(list->text(a)).compare(platform::UpperCase(list->text(b)));
        });
    }
    EXPECT_EQ(Rows(form.owned), Rows(form.held));
    EXPECT_EQ(Rows(form.owned)[0], "alpha|10|first|1|101");
    EXPECT_EQ(form.owned.selectedCount(), form.held.selectedCount());
    form.close();
}

TEST(OwnerDataList, DeletingRowsKeepsTheSelectionOnTheSameRows) {
    TwoListsForm form;
    form.create();
    for (auto* list : {&form.held, &form.owned}) {
        Fill(*list);
        list->addRow("foxtrot", {"60", "last"}, 0, 106);
        list->setSelected(1, true); // alpha
        list->setSelected(3, true); // bravo
        list->deleteRow(2);         // Charlie
        list->deleteRow(0);         // delta
    }
    EXPECT_EQ(Rows(form.owned), Rows(form.held));
    EXPECT_EQ(Rows(form.owned), (Lines{"alpha|10|first|1|101", "bravo|20|second|0|102", "foxtrot|60|last|0|106"}));
    EXPECT_EQ(form.owned.selectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(form.owned.selectedRows(), form.held.selectedRows());
    EXPECT_EQ(ListView_GetItemCount(form.owned.hwnd()), 3);
    form.owned.deleteRow(7); // no such row: nothing happens
    EXPECT_EQ(form.owned.rowCount(), 3);

    form.owned.clear();
    EXPECT_EQ(form.owned.rowCount(), 0);
    EXPECT_EQ(ListView_GetItemCount(form.owned.hwnd()), 0);
    EXPECT_EQ(form.owned.selectedCount(), 0);
    form.owned.addRow("golf");
    EXPECT_EQ(Rows(form.owned), (Lines{"golf|||0|0"}));
    form.close();
}

TEST(OwnerDataList, SelectionChangesAndTypingToFindAreReported) {
    TwoListsForm form;
    form.create();
    std::vector<int> changes;
    form.owned.onChange = [&](int row) { changes.push_back(row); };
    Fill(form.owned);
    form.owned.setSelected(2, true);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), 2);
    changes.clear();
    form.owned.selectAll();
    ASSERT_FALSE(changes.empty()); // one report for all rows, or one per row
    EXPECT_EQ(form.owned.selectedCount(), 4);

    // Typing a row's first letters moves the focus to it, found among the program's rows.
    SetFocus(form.owned.hwnd());
    form.owned.setFocused(0);
    SendMessageW(form.owned.hwnd(), WM_CHAR, L'b', 1); // a repeat count of one
    EXPECT_EQ(form.owned.focusedIndex(), 3);           // bravo
    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    find.psz = L"CH";
    EXPECT_EQ(ListView_FindItem(form.owned.hwnd(), 3, &find), 2);
    find.psz = L"zulu";
    EXPECT_EQ(ListView_FindItem(form.owned.hwnd(), -1, &find), -1);
    EXPECT_THROW(form.owned.setCheckBoxes(true), std::logic_error);
    form.close();
}
