#include "tests/support/remote_list.h"

#include <commctrl.h>

#include "tests/support/win_test_support.h"

namespace vtest {

RemoteList::RemoteList(HWND list, DWORD pid) : m_list(list) {
    m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (m_process)
        m_memory = static_cast<BYTE*>(VirtualAllocEx(m_process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
}

RemoteList::~RemoteList() {
    if (m_memory) VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
    if (m_process) CloseHandle(m_process);
}

int RemoteList::Count() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteList::Text(int row, int column) const {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<char*>(m_memory + 1024);
    item.cchTextMax = 1024;
    WriteProcessMemory(m_process, m_memory, &item, sizeof item, nullptr);
    SendMessageA(m_list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(m_memory));
    char text[1024] = "";
    ReadProcessMemory(m_process, m_memory + 1024, text, sizeof text - 1, nullptr);
    return text;
}

std::vector<std::string> RemoteList::Column(int column) const {
    std::vector<std::string> texts;
    for (int i = 0; i < Count(); ++i) texts.push_back(Text(i, column));
    return texts;
}

RECT RemoteList::CellRect(int row, int column) const {
    RECT rect{};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    WriteProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
    SendMessageA(m_list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(m_memory));
    ReadProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
    return rect;
}

void RemoteList::Click(int row) const {
    RECT rect{};
    rect.left = LVIR_LABEL;
    WriteProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
    SendMessageA(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(m_memory));
    ReadProcessMemory(m_process, m_memory, &rect, sizeof rect, nullptr);
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(m_list, &point);
    ClickAt(m_list, point);
}

void RemoteList::Select(int row) const {
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(m_process, m_memory, &item, sizeof item, nullptr);
    SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(m_memory));
}

int RemoteList::Mark() const { return static_cast<int>(SendMessageA(m_list, LVM_GETSELECTIONMARK, 0, 0)); }

}  // namespace vtest
