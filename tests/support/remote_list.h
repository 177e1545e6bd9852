#pragma once
// A list view of another process, read and driven from a test: its item
// structures must live in that process's memory for the list view to read
// and fill them.
#include <windows.h>

#include <string>
#include <vector>

namespace vtest {

class RemoteList {
public:
    RemoteList(HWND list, DWORD pid);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const;
    std::string Text(int row, int column) const;
    std::vector<std::string> Column(int column) const;
    // A cell's rectangle in the list's client coordinates.
    RECT CellRect(int row, int column) const;
    // A real left click in the middle of the row's label.
    void Click(int row) const;
    // Selects and focuses the row, as a keyboard user would.
    void Select(int row) const;
    int Mark() const;
    bool Usable() const { return m_memory != nullptr; }

private:
    HWND m_list;
    HANDLE m_process = nullptr;
    BYTE* m_memory = nullptr;
};

}  // namespace vtest
