#include "runner/hook_library.h"

#include <cstring>

#include "settings/settings_names.h"

HookLibrary g_hookLibrary;

namespace {

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return fn != nullptr;
}

}  // namespace

BOOL LoadHookLibrary() {
    constexpr char kFile[] = "\\Trapline.dll";
    char path[velmora::settings::kPathBuffer];
    DWORD n = GetCurrentDirectoryA(sizeof path, path);
    if (n == 0 || n + sizeof kFile > sizeof path) return FALSE;
    std::strcat(path, kFile);

    HookLibrary& lib = g_hookLibrary;
    lib.module = LoadLibraryA(path);
    if (!lib.module) return FALSE;
    // All six are looked up, in this order, even after one is missing.
    bool all = true;
    all &= Resolve(lib.module, "_ShellProc@12", lib.ShellProc);
    all &= Resolve(lib.module, "_EnableWindowHook@16", lib.EnableWindowHook);
    all &= Resolve(lib.module, "_GetProgramNameFromHandle@12", lib.GetProgramNameFromHandle);
    all &= Resolve(lib.module, "_EnableFunctionAddress@4", lib.EnableFunctionAddress);
    all &= Resolve(lib.module, "_FindProcessChild@8", lib.FindProcessChild);
    all &= Resolve(lib.module, "_GetTraplineDllVersion@8", lib.GetTraplineDllVersion);
    return all ? TRUE : FALSE;
}

void UnloadHookLibrary() {
    HookLibrary& lib = g_hookLibrary;
    if (lib.EnableFunctionAddress) lib.EnableFunctionAddress(FALSE);
    if (lib.module) FreeLibrary(lib.module);
    lib = HookLibrary{};
}
