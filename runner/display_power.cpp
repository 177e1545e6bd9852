#include "runner/display_power.h"

#include <cstring>

#include "framework/proc_address.h"

namespace velmora::runner {

namespace {

// The declarations of Vista's power-setting notifications, which this
// program's Windows headers (set for XP) leave out.
constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
struct PowerBroadcastSetting {
    GUID PowerSetting;
    DWORD DataLength;
    UCHAR Data[1];
};
// GUID_CONSOLE_DISPLAY_STATE: 0 off, 1 on, 2 dimmed (Windows 8 and later).
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_MONITOR_POWER_ON: 0 off, 1 on (Vista and 7; later versions still send
// it, but the console state is the one that follows the display).
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

using RegisterFn = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
using UnregisterFn = BOOL(WINAPI*)(void*);

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The setting this Windows reports the display by, or null.
const GUID* DisplaySetting() {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    if (!GetVersionExA(&vi) || vi.dwPlatformId != VER_PLATFORM_WIN32_NT || vi.dwMajorVersion < 6)
        return nullptr;
    // Windows 8.1 and 10 answer 6.2 to a program that does not say it knows them.
    if (vi.dwMajorVersion > 6 || vi.dwMinorVersion >= 2) return &kConsoleDisplayState;
    return &kMonitorPowerOn;
}

}  // namespace

bool DisplayPower::Register(HWND window) {
    Unregister();
    const GUID* setting = DisplaySetting();
    auto registerFn = User32Function<RegisterFn>("RegisterPowerSettingNotification");
    if (!setting || !registerFn) return false;
    m_notification = registerFn(window, setting, 0 /* DEVICE_NOTIFY_WINDOW_HANDLE */);
    return m_notification != nullptr;
}

void DisplayPower::Unregister() {
    if (!m_notification) return;
    if (auto unregisterFn = User32Function<UnregisterFn>("UnregisterPowerSettingNotification"))
        unregisterFn(m_notification);
    m_notification = nullptr;
}

DisplayPower::State DisplayPower::StateOf(WPARAM wParam, LPARAM lParam) {
    if (wParam != kPowerSettingChange || !lParam) return State::Unknown;
    const auto* setting = reinterpret_cast<const PowerBroadcastSetting*>(lParam);
    if (!SameGuid(setting->PowerSetting, kConsoleDisplayState) &&
        !SameGuid(setting->PowerSetting, kMonitorPowerOn))
        return State::Unknown;
    if (setting->DataLength < sizeof(DWORD)) return State::Unknown;
    DWORD value;
    std::memcpy(&value, setting->Data, sizeof value);
    return value == 0 ? State::Off : State::On;
}

}  // namespace velmora::runner
