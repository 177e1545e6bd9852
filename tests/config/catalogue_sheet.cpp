#include "tests/config/catalogue_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstring>

#include "resources/velmora_exe_ids.h"
#include "tests/support/win_test_support.h"

namespace vtest {

namespace {

std::string Cell(HWND list, int row, int column) {
    char text[1024] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int Count(HWND list) { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// A string table block (16 strings, each a length and UTF-16 characters)
// holding only string 1, given in the ANSI code page.
std::vector<WORD> BlockWithString1(const std::string& name) {
    std::vector<WORD> block;
    block.push_back(0);  // string 0
    std::wstring wide(name.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                                        &wide[0], static_cast<int>(wide.size()))));
    block.push_back(static_cast<WORD>(wide.size()));
    for (wchar_t c : wide) block.push_back(static_cast<WORD>(c));
    for (int i = 2; i < 16; ++i) block.push_back(0);
    return block;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
}

// The languages a resource exists in.
std::vector<WORD> LanguagesOf(HMODULE data, LPCSTR type, LPCSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(data, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(found)->push_back(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// One icon image of a file: its id, language and bytes.
struct IconImage {
    WORD id, language;
    std::vector<BYTE> bytes;
};

// Every image of the file's icons (32-bit, as the probe's are) in one opaque
// colour.
std::vector<IconImage> PaintedIcons(HMODULE data, COLORREF colour) {
    std::vector<WORD> ids;
    EnumResourceNamesA(data, RT_ICON, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    std::vector<IconImage> painted;
    for (WORD id : ids)
        for (WORD language : LanguagesOf(data, RT_ICON, MAKEINTRESOURCEA(id))) {
            HRSRC found = FindResourceExA(data, RT_ICON, MAKEINTRESOURCEA(id), language);
            const auto* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(data, found))) : nullptr;
            if (!bytes) continue;
            std::vector<BYTE> image(bytes, bytes + SizeofResource(data, found));
            BITMAPINFOHEADER header{};
            if (image.size() < sizeof header) continue;
            std::memcpy(&header, image.data(), sizeof header);
            const size_t pixels = size_t(header.biWidth) * size_t(header.biHeight / 2);
            if (header.biBitCount != 32 || image.size() < header.biSize + 4 * pixels) continue;
            BYTE* p = image.data() + header.biSize;
            for (size_t i = 0; i < pixels; ++i, p += 4) {
                p[0] = GetBValue(colour);
                p[1] = GetGValue(colour);
                p[2] = GetRValue(colour);
                p[3] = 255;
            }
            std::fill(p, image.data() + image.size(), BYTE(0));  // the mask: all opaque
            painted.push_back({id, language, std::move(image)});
        }
    return painted;
}

}  // namespace

CatalogueSheet::CatalogueSheet() : CPropertySheet("Velmora catalogue test") { AddPage(&page); }

CatalogueSheet::~CatalogueSheet() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

bool CatalogueSheet::Show() {
    if (!Create()) return false;
    ShowWindow(SW_SHOW);
    SetForegroundWindow(m_hWnd);
    shown = PumpUntil([&] { return page.IsCreated() && GetForegroundWindow() == m_hWnd; });
    return shown;
}

bool CatalogueSheet::PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!m_hWnd || !PropSheet_IsDialogMessage(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool CatalogueSheet::Close(int button) {
    HWND sheet = m_hWnd;
    SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    bool closed = PumpUntil([&] { return ::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0; });
    ::DestroyWindow(sheet);
    return closed;
}

bool CatalogueSheet::CloseBox() {
    HWND sheet = m_hWnd;
    ::PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    bool closed = PumpUntil([&] { return ::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0; });
    ::DestroyWindow(sheet);
    return closed;
}

std::vector<Row> CatalogueSheet::Catalogue() const {
    HWND list = Item(IDC_AVAILABLE_LIST);
    std::vector<Row> rows;
    for (int i = 0; i < Count(list); ++i) rows.push_back({Cell(list, i, 0), Cell(list, i, 1)});
    return rows;
}

std::vector<std::string> CatalogueSheet::Rotation() const {
    HWND list = Item(IDC_SELECTED_LIST);
    std::vector<std::string> rows;
    for (int i = 0; i < Count(list); ++i) rows.push_back(Cell(list, i, 0));
    return rows;
}

std::vector<LPARAM> CatalogueSheet::Marks() const {
    HWND list = Item(IDC_AVAILABLE_LIST);
    std::vector<LPARAM> marks;
    for (int i = 0; i < Count(list); ++i) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        marks.push_back(item.lParam);
    }
    return marks;
}

std::string CatalogueSheet::Buttons() const {
    std::string states;
    for (int id = IDC_ADD_SELECTED; id <= IDC_MOVE_DOWN; ++id)
        states += ::IsWindowEnabled(Item(id)) ? '1' : '0';
    return states;
}

void CatalogueSheet::Click(int listId, const std::vector<int>& rows) {
    HWND list = Item(listId);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    int clicked = rows.empty() ? -1 : rows.back();
    ::SendMessageA(list, LVM_SETSELECTIONMARK, 0, clicked);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(listId);
    click.hdr.code = NM_CLICK;
    click.iItem = clicked;
    ::SendMessageA(page.m_hWnd, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
    PumpUntil([] { return false; }, 20);
}

bool CatalogueSheet::Press(int id) {
    HWND button = Item(id);
    if (!::IsWindowEnabled(button)) return false;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    PumpUntil([] { return false; }, 20);
    return true;
}

PlacedSaver::PlacedSaver(std::string path, const char* name, COLORREF icon) : m_path(std::move(path)) {
    if (!CopyFileA((BinDir() + "\\probe.scr").c_str(), m_path.c_str(), FALSE)) return;
    m_placed = true;
    if (!name && icon == CLR_INVALID) return;
    // What is replaced is read first, so that the file is not open while it
    // is rewritten.
    std::vector<WORD> languages;
    std::vector<IconImage> icons;
    if (HMODULE data = LoadLibraryExA(m_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        languages = LanguagesOf(data, RT_STRING, MAKEINTRESOURCEA(1));
        if (icon != CLR_INVALID) icons = PaintedIcons(data, icon);
        FreeLibrary(data);
    }
    HANDLE update = BeginUpdateResourceA(m_path.c_str(), FALSE);
    if (!update || (icon != CLR_INVALID && icons.empty())) {
        if (update) EndUpdateResourceA(update, TRUE);
        m_placed = false;
        return;
    }
    if (name) {
        // Every language of the block gets the new one; an empty string 1
        // reads as no string at all (LoadString answers 0).
        if (languages.empty()) languages.push_back(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        std::vector<WORD> block = BlockWithString1(name);
        for (WORD language : languages)
            UpdateResourceA(update, RT_STRING, MAKEINTRESOURCEA(1), language, block.data(),
                            static_cast<DWORD>(block.size() * sizeof(WORD)));
    }
    for (IconImage& image : icons)
        UpdateResourceA(update, RT_ICON, MAKEINTRESOURCEA(image.id), image.language, image.bytes.data(),
                        static_cast<DWORD>(image.bytes.size()));
    m_placed = EndUpdateResourceA(update, FALSE) != 0;
}

PlacedSaver::~PlacedSaver() { DeleteFileA(m_path.c_str()); }

std::string WindowsFolder() {
    char path[MAX_PATH];
    UINT n = GetWindowsDirectoryA(path, sizeof path);
    return std::string(path, n) + "\\";
}

std::string SystemFolder() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n) + "\\";
}

std::string ShortPathOf(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

std::string IniValue(const char* section, const char* key) {
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, "Velmora.ini");
    return value;
}

void Ini(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, "Velmora.ini");
}

void FlushIni() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "Velmora.ini"); }

}  // namespace vtest
