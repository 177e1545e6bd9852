#include "config/list_ctrl_sorter.h"

#include "config/list_view_items.h"

#include <commctrl.h>
#include <mbstring.h>

#include <cstdlib>

namespace {

using listview::ItemData;
using listview::ItemText;
using listview::SetItemData;

int CompareNumbers(int a, int b) { return a == b ? 0 : a > b ? 1 : -1; }

}  // namespace

CListCtrlSorter::CListCtrlSorter(HWND list, int column, Mode mode)
    : m_hList(list), m_mode(mode) {
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        auto record = std::make_unique<Record>();
        record->data = ItemData(list, row);
        record->text = ItemText(list, row, column);
        record->number = mode == Number ? std::atoi(record->text.c_str()) : 0;
        SetItemData(list, row, reinterpret_cast<LPARAM>(record.get()));
        m_records.push_back(std::move(record));
    }
}

CListCtrlSorter::~CListCtrlSorter() {
    // Rows have moved while sorting: each row's record says whose data it
    // carries.
    int rows = static_cast<int>(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        auto* record = reinterpret_cast<Record*>(ItemData(m_hList, row));
        for (const auto& owned : m_records) {
            if (owned.get() == record) {
                SetItemData(m_hList, row, record->data);
                break;
            }
        }
    }
}

BOOL CListCtrlSorter::Sort(BOOL ascending) {
    PFNLVCOMPARE compare = m_mode == Text
                               ? (ascending ? CompareTextAscending : CompareTextDescending)
                               : (ascending ? CompareNumberAscending : CompareNumberDescending);
    return static_cast<BOOL>(
        SendMessageA(m_hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(compare)));
}

int CALLBACK CListCtrlSorter::CompareTextAscending(LPARAM a, LPARAM b, LPARAM) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(reinterpret_cast<Record*>(a)->text.c_str()),
                    reinterpret_cast<const unsigned char*>(reinterpret_cast<Record*>(b)->text.c_str()));
}

int CALLBACK CListCtrlSorter::CompareTextDescending(LPARAM a, LPARAM b, LPARAM) {
    return CompareTextAscending(b, a, 0);
}

int CALLBACK CListCtrlSorter::CompareNumberAscending(LPARAM a, LPARAM b, LPARAM) {
    return CompareNumbers(reinterpret_cast<Record*>(a)->number, reinterpret_cast<Record*>(b)->number);
}

int CALLBACK CListCtrlSorter::CompareNumberDescending(LPARAM a, LPARAM b, LPARAM) {
    return CompareNumberAscending(b, a, 0);
}
