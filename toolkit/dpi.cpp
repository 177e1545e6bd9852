#include "toolkit/dpi.h"

#include "framework/dc.h"
#include "framework/gdi.h"
#include "framework/proc_address.h"

// The newer calls are looked up at run time: the program also runs on
// versions of Windows that do not have them.
namespace velmora::toolkit {
namespace {

UINT ScreenDpi() {
    CClientDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

BOOL CALLBACK TellOfDpi(HWND child, LPARAM dpi) {
    SendMessageA(child, DpiChangedMessage(), static_cast<WPARAM>(dpi), 0);
    return TRUE;
}

// MDT_EFFECTIVE_DPI of shcore's GetDpiForMonitor.
constexpr int kEffectiveDpi = 0;

}  // namespace

UINT WindowDpi(HWND hwnd) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = User32Function<ForWindow>("GetDpiForWindow");
    if (forWindow && hwnd) {
        if (UINT dpi = forWindow(hwnd)) return dpi;
    }
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor =
        ProcAddress<ForMonitor>(LoadLibraryA("shcore.dll"), "GetDpiForMonitor");
    if (forMonitor && hwnd) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                                 &x, &y)) &&
            y)
            return y;
    }
    return ScreenDpi();
}

int MetricForDpi(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<ForDpi>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

bool DialogsScaleThemselves() {
    using Context = HANDLE;
    using GetContext = Context(WINAPI*)();
    using Equal = BOOL(WINAPI*)(Context, Context);
    static const auto getContext = User32Function<GetContext>("GetThreadDpiAwarenessContext");
    static const auto equal = User32Function<Equal>("AreDpiAwarenessContextsEqual");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    const auto perMonitorV2 = reinterpret_cast<Context>(static_cast<INT_PTR>(-4));
    return getContext && equal && equal(getContext(), perMonitorV2);
}

UINT DpiChangedMessage() {
    static const UINT message = RegisterWindowMessageA("Velmora.DpiChanged");
    return message;
}

void NotifyDpiChanged(HWND root, UINT dpi) {
    EnumChildWindows(root, TellOfDpi, static_cast<LPARAM>(dpi));
}

int PictureSetFor(UINT dpi) {
    if (dpi <= kDefaultDpi) return 100;
    if (dpi <= kDefaultDpi * 3 / 2) return 150;
    return 200;
}

HICON LoadIconSized(HINSTANCE instance, UINT iconId, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HBITMAP LoadBitmapForDpi(HINSTANCE instance, UINT at96, UINT at192, UINT dpi) {
    const auto load = [instance](UINT id) {
        return static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    if (PictureSetFor(dpi) == 100) return load(at96);
    CBitmap large(load(at192));
    if (!large) return load(at96);
    BITMAP info{};
    GetObjectA(large.Get(), sizeof info, &info);
    const int width = MulDiv(info.bmWidth, static_cast<int>(dpi), 2 * kDefaultDpi);
    const int height = MulDiv(info.bmHeight, static_cast<int>(dpi), 2 * kDefaultDpi);
    if (width >= info.bmWidth || width <= 0 || height <= 0) return large.Detach();
    CClientDC screen(nullptr);
    CMemoryDC from(screen), to(screen);
    CBitmap scaled;
    if (!from || !to || !scaled.CreateCompatibleBitmap(screen, width, height)) return nullptr;
    {
        ScopedSelectObject source(from, large.Get());
        ScopedSelectObject target(to, scaled.Get());
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    return scaled.Detach();
}

}  // namespace velmora::toolkit
