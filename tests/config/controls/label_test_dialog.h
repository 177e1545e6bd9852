#pragma once
// A real modeless dialog for the label tests, made from an in-memory
// template, with its items placed in pixels and the notifications its
// children send recorded; and the pixel read-back the tests compare.
#include <windows.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog.h"

namespace labeltest {

struct Item {
    int id;
    DWORD style;  // added to WS_CHILD | WS_VISIBLE
    std::string text;
    RECT pixels;  // client position in the dialog
    WORD windowClass = 0x0082;  // a system class atom: 0x0080 Button, 0x0082 Static
};

struct Notification {
    UINT message;  // WM_NOTIFY or WM_COMMAND
    WPARAM wParam;
    NMHDR header;  // WM_NOTIFY only
    HWND from;     // WM_COMMAND: the control
};

// The dialog: a topmost popup at the screen's top-left corner, 600 × 400
// pixels, shown without activating it,
// with the font given (no DS_SETFONT when face is null). It binds the
// controls given to Bind() with DDX_Control, as a page does.
class TestDialog : public CDialog {
public:
    TestDialog(std::vector<Item> items, const char* face = "MS Shell Dlg", WORD points = 8);
    ~TestDialog() override;

    // Binds an object to an item before Create (in DoDataExchange).
    void Bind(int id, CWnd& control) { m_bindings.push_back({id, &control}); }
    BOOL Create();

    HWND Item(int id) const { return GetDlgItem(id); }
    std::vector<Notification> m_notifications;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    std::vector<WORD> m_template;
    std::vector<labeltest::Item> m_items;
    struct Binding {
        int id;
        CWnd* control;
    };
    std::vector<Binding> m_bindings;
};

// A block of pixels as COLORREF values, row by row.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> values;
    COLORREF At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Pixels& other) const {
        return width == other.width && height == other.height && values == other.values;
    }
    // The distinct colours other than the one given.
    std::set<COLORREF> ColoursBesides(COLORREF background) const;
};

// Failure messages name the size and the first pixel that differs.
void PrintTo(const Pixels& pixels, std::ostream* out);

// What the window shows in its client area now, read back from its DC after
// the pending paints are done.
Pixels CaptureClient(HWND hwnd);
// A picture of that size drawn by draw into a memory surface of the same
// kind as a window's.
Pixels Render(int width, int height, const std::function<void(HDC)>& draw);

// Live GDI objects of this process (all of them, or of one kind: OBJ_BRUSH,
// OBJ_FONT, ...).
int LiveGdiObjects(DWORD objectType = 0);

// A font without smoothing, so that text pixels come in exactly one colour.
LOGFONTA CrispFont(const char* face, int height, int weight = FW_BOLD);

}  // namespace labeltest
