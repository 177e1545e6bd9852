// Holds the Wine desktop for as long as a test run lasts. Wine's desktop
// process (explorer.exe /desktop) quits about a second after the last program
// that uses the desktop has ended, and the next program starts a new one.
// Between two test programs that happens every time, and now and then the new
// desktop's cursor-clipping window is one the old desktop process takes with
// it as it ends: every program that then releases a full-screen window's
// cursor clip dies of an X error (BadWindow on X_UnmapWindow), Velmora.scr
// among them. A program that keeps using the desktop keeps one desktop
// process for the whole run. It ends with the Wine server.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!GetDesktopWindow()) return 1;
    Sleep(INFINITE);
    return 0;
}
