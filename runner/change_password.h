#pragma once
#include <windows.h>

// Lets the Windows password service change the screensaver password.
void ChangePassword(HWND hwndParent);
