#pragma once
#include <windows.h>

// TRUE when FindFirstFileA finds something for the path as given (so a
// matching wildcard pattern counts as existing).
BOOL FileExists(const char* path);
