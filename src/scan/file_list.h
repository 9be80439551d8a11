#pragma once
// TFileListView: a report list of files with size, shell type, date, attributes and version
// strings, sorted by a clicked column. Creating one switches the whole process to the file-list
// date formats ("yyyy/mm/dd", "hh:nn").
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/window.h"

namespace scan {

class TFileListView : public platform::ListView {
public:
    struct Column {
        std::string caption;
        int width = 80; // 96-DPI units
        bool rightAligned = false;
    };

    TFileListView();

    // The columns the list is created with; none gives "Name", "Size", "Type", "Modified", "Attr",
    // "File Ver", "Prod Ver". The rows always fill these seven places.
    std::vector<Column> Columns;

    // Adds one row for the file and gives its size; false, and no row, when the file cannot be
    // found or the shell cannot name its type.
    bool AddFileItem(std::string_view path, int64_t& size);
    // The same with what the caller looked up already: the file's attribute data and whether it
    // is an executable image (only those carry version strings), and the row's image (-1: none
    // given). False, and no row, when the shell cannot name its type.
    bool AddFileItem(std::string_view path, const WIN32_FILE_ATTRIBUTE_DATA& data, bool executable, int64_t& size,
                     int image = -1);

    // The column click that the list does unless its window assigns onColumnClick: the clicked
    // column becomes the sort column, ascending; the current sort column reverses its direction.
    void SortByColumn(int column);
    int SortColumn() const noexcept { return m_sortColumn; }
    bool SortAscending() const noexcept { return m_ascending; }

protected:
    void afterCreate() override;

private:
    // The shell's type name by extension: one shell look-up per extension, not per row.
    std::unordered_map<std::wstring, std::wstring> m_typeNames;
    int m_sortColumn = 1;
    bool m_ascending = true;
};

// Shows the shell's properties sheet of one file; true when the command was carried out.
bool ShowFileProperties(std::string_view path, HWND owner);

} // namespace scan
