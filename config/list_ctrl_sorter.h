#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Sorts the rows of a report list view by one column. While it lives, each
// row's item data is a record of the sorter's (the row's own data and its sort
// key), because LVM_SORTITEMS hands the comparison only the item data of the
// two rows; its destruction puts the rows' own data back.
class CListCtrlSorter {
public:
    enum Mode { Text, Number };

    CListCtrlSorter(HWND list, int column, Mode mode);
    ~CListCtrlSorter();
    CListCtrlSorter(const CListCtrlSorter&) = delete;
    CListCtrlSorter& operator=(const CListCtrlSorter&) = delete;

    BOOL Sort(BOOL ascending);

private:
    struct Record {
        LPARAM data;
        std::string text;
        int number;
    };
    static int CALLBACK CompareTextAscending(LPARAM a, LPARAM b, LPARAM);
    static int CALLBACK CompareTextDescending(LPARAM a, LPARAM b, LPARAM);
    static int CALLBACK CompareNumberAscending(LPARAM a, LPARAM b, LPARAM);
    static int CALLBACK CompareNumberDescending(LPARAM a, LPARAM b, LPARAM);

    HWND m_hList;
    Mode m_mode;
    std::vector<std::unique_ptr<Record>> m_records;
};
