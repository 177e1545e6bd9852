#pragma once
#include <windows.h>

// True when FindFirstFileA finds something for the path as given (so a
// matching wildcard pattern counts as existing).
bool FileExists(const char* path);
