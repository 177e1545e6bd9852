#pragma once
#include <windows.h>

// A function looked up at run time, for calls that some versions of Windows
// lack (the program still starts there): null where the module or the
// function is missing.
template <typename Function>
Function ProcAddress(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// The same, in user32 (which every program here has loaded).
template <typename Function>
Function User32Function(const char* name) {
    return ProcAddress<Function>(GetModuleHandleA("user32.dll"), name);
}
