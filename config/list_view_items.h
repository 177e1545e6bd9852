#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// Cell texts and item data of a report-view list, read and written with the
// ANSI list-view messages.
namespace listview {

// Cells hold names and paths; none needs more than twice MAX_PATH.
constexpr int kCellBuffer = 2 * MAX_PATH;

std::string ItemText(HWND list, int row, int column);
void SetItemText(HWND list, int row, int column, const std::string& text);
LPARAM ItemData(HWND list, int row);
void SetItemData(HWND list, int row, LPARAM data);
// A left-aligned column of the given width.
void InsertColumn(HWND list, int column, const char* title, int width);

}  // namespace listview
