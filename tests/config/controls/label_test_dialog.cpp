#include "tests/config/controls/label_test_dialog.h"

#include <cstring>

namespace labeltest {
namespace {

void AppendString(std::vector<WORD>& words, const std::string& text) {
    for (unsigned char c : text) words.push_back(c);
    words.push_back(0);
}

void AlignToDword(std::vector<WORD>& words) {
    if (words.size() % 2) words.push_back(0);
}

void AppendDword(std::vector<WORD>& words, DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

// DLGTEMPLATE followed by its items (DLGITEMTEMPLATE, each DWORD-aligned),
// all positions 0: the items are placed in pixels once the dialog exists.
std::vector<WORD> BuildTemplate(const std::vector<Item>& items, const char* face, WORD points) {
    std::vector<WORD> t;
    // Shown later without activation: under Wine, destroying the active
    // window waits two seconds for the focus to move elsewhere.
    DWORD style = WS_POPUP | DS_MODALFRAME;
    if (face) style |= DS_SETFONT;
    AppendDword(t, style);
    AppendDword(t, 0);  // extended style
    t.push_back(static_cast<WORD>(items.size()));
    for (int i = 0; i < 4; ++i) t.push_back(0);  // x, y, cx, cy
    t.push_back(0);                              // no menu
    t.push_back(0);                              // the dialog class
    t.push_back(0);                              // no title
    if (face) {
        t.push_back(points);
        AppendString(t, face);
    }
    for (const Item& item : items) {
        AlignToDword(t);
        AppendDword(t, WS_CHILD | WS_VISIBLE | item.style);
        AppendDword(t, 0);
        for (int i = 0; i < 4; ++i) t.push_back(0);
        t.push_back(static_cast<WORD>(item.id));
        t.push_back(0xFFFF);
        t.push_back(item.windowClass);
        AppendString(t, item.text);
        t.push_back(0);  // no creation data
    }
    return t;
}

}  // namespace

TestDialog::TestDialog(std::vector<labeltest::Item> items, const char* face, WORD points)
    : CDialog(0), m_template(BuildTemplate(items, face, points)), m_items(std::move(items)) {}

TestDialog::~TestDialog() { DestroyWindow(); }

BOOL TestDialog::Create() {
    if (!CreateIndirect(reinterpret_cast<const DLGTEMPLATE*>(m_template.data()), nullptr))
        return FALSE;
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 600, 400, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    for (const labeltest::Item& item : m_items) {
        const RECT& r = item.pixels;
        MoveWindow(GetDlgItem(item.id), r.left, r.top, r.right - r.left, r.bottom - r.top,
                   TRUE);
    }
    UpdateWindow(m_hWnd);
    return TRUE;
}

void TestDialog::DoDataExchange(CDataExchange* dx) {
    for (const Binding& binding : m_bindings) DDX_Control(dx, binding.id, *binding.control);
}

BOOL TestDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    // No focus: focusing an item would activate the dialog.
    return FALSE;
}

BOOL TestDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    Notification n{};
    n.message = WM_COMMAND;
    n.wParam = wParam;
    n.from = reinterpret_cast<HWND>(lParam);
    m_notifications.push_back(n);
    return CDialog::OnCommand(wParam, lParam);
}

BOOL TestDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    Notification n{};
    n.message = WM_NOTIFY;
    n.wParam = wParam;
    if (lParam) n.header = *reinterpret_cast<const NMHDR*>(lParam);
    m_notifications.push_back(n);
    return CDialog::OnNotify(wParam, lParam, result);
}

std::set<COLORREF> Pixels::ColoursBesides(COLORREF background) const {
    std::set<COLORREF> colours(values.begin(), values.end());
    colours.erase(background);
    return colours;
}

void PrintTo(const Pixels& p, std::ostream* out) {
    *out << p.width << "x" << p.height << " pixels";
    std::set<COLORREF> colours(p.values.begin(), p.values.end());
    *out << ", " << colours.size() << " colours:";
    int shown = 0;
    for (COLORREF c : colours) {
        if (++shown > 6) {
            *out << " ...";
            break;
        }
        char hex[16];
        wsprintfA(hex, " %06lX", static_cast<unsigned long>(c));
        *out << hex;
    }
    // A digest of the pixels, so two pictures print differently when they differ.
    unsigned long hash = 2166136261u;
    for (COLORREF c : p.values) hash = (hash ^ c) * 16777619u;
    *out << ", digest " << hash;
}

namespace {

// A top-down 32-bit DIB section selected into a memory DC.
struct Surface {
    Surface(int width, int height) : width(width), height(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~Surface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Pixels Read() const {
        GdiFlush();
        Pixels p;
        p.width = width;
        p.height = height;
        const auto* raw = static_cast<const DWORD*>(bits);
        for (int i = 0; i < width * height; ++i) {
            DWORD v = raw[i];  // 0x00RRGGBB
            p.values.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
        }
        return p;
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits = nullptr;
};

}  // namespace

Pixels CaptureClient(HWND hwnd) {
    // Let every pending paint (of the dialog and its items) happen first.
    RedrawWindow(GetAncestor(hwnd, GA_ROOT), nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    Surface surface(client.right, client.bottom);
    HDC window = GetDC(hwnd);
    BitBlt(surface.dc, 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
    return surface.Read();
}

Pixels Render(int width, int height, const std::function<void(HDC)>& draw) {
    Surface surface(width, height);
    draw(surface.dc);
    return surface.Read();
}

namespace {

// Wine's per-process GDI handle table, reached from the process block as on
// Windows, in Wine's entry layout: the low word of a handle is its index.
struct WineGdiEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
};
static_assert(sizeof(WineGdiEntry) == 24, "Wine's GDI handle entry");
constexpr int kWineGdiHandles = 0x10000;

const WineGdiEntry* WineGdiTable() {
    // The process block is at fs:[0x30] in a 32-bit process and gs:[0x60] in
    // a 64-bit one; GdiSharedHandleTable lies at 0x94 and 0xF8 of it.
#ifdef _WIN64
    const BYTE* peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    constexpr size_t kGdiTableOffset = 0xF8;
#else
    const BYTE* peb = nullptr;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
    constexpr size_t kGdiTableOffset = 0x94;
#endif
    const auto* table = *reinterpret_cast<const WineGdiEntry* const*>(peb + kGdiTableOffset);
    if (!table) return nullptr;
    // Trust the layout only if a fresh brush shows up where its handle says.
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    UINT_PTR handle = reinterpret_cast<UINT_PTR>(probe);
    const WineGdiEntry& entry = table[handle & 0xFFFF];
    bool matches = entry.object != 0 && entry.unique == ((handle >> 16) & 0xFFFF);
    DeleteObject(probe);
    return matches ? table : nullptr;
}

}  // namespace

int LiveGdiObjects(DWORD objectType) {
    // Wine answers GetGuiResources with 0 (not implemented); Windows counts
    // there, but per kind only the table walk below can tell.
    static const WineGdiEntry* table = WineGdiTable();
    if (!table) {
        if (objectType) return -1;
        return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    }
    int count = 0;
    for (int i = 0; i < kWineGdiHandles; ++i) {
        if (!table[i].type) continue;
        if (objectType) {
            // The handle is index | unique << 16; ask GDI its kind.
            HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(
                static_cast<UINT_PTR>(i) | (static_cast<UINT_PTR>(table[i].unique) << 16));
            if (GetObjectType(handle) != objectType) continue;
        }
        ++count;
    }
    return count;
}

LOGFONTA CrispFont(const char* face, int height, int weight) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

}  // namespace labeltest
