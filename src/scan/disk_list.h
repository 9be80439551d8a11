#pragma once
// TDiskListView: the list of the machine's drives with their shell icons and display names,
// whose selected rows give a string of drive letters ("CE"). Tools that show check boxes keep
// every row's selection equal to its check mark.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace scan {

class TDiskListView : public platform::ListView {
public:
    struct Column {
        std::string caption;
        int width = 0; // 96-DPI units; 0 sizes the column to its contents
    };
    // The columns the list is created with; none gives one column "Select drives".
    std::vector<Column> Columns;
    // Fixed drives are selected when the list is filled.
    bool SelectLocalDrives = true;

    // Rebuilds the rows: one per drive that exists and that the shell can describe.
    void FillDrives();
    // The upper-case letters of the selected rows, in list order.
    std::string GetSelectedDrives() const;
    // The list's small images, one per row (16 by 16, grown 8 at a time).
    HIMAGELIST DiskListViewImageList() const noexcept { return m_images; }

protected:
    void afterCreate() override;

private:
    HIMAGELIST m_images = nullptr; // owned by the list view control, freed with it
    bool m_sizeToContents = false;
};

// The first-use default of a drive list: when the settings key (HKEY_CURRENT_USER, created if
// missing) has no subkey of that name, every row of a fixed drive is checked.
void CheckFixedDrives(std::string_view key, std::string_view subkey, TDiskListView& list);

} // namespace scan
