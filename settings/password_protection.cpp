#include "settings/password_protection.h"

#include <cstring>
#include <vector>

#include "settings/option_flags.h"
#include "settings/settings_names.h"
#include "settings/windows_line.h"

namespace {

// The value's bytes as a terminated string, whatever its type and whether or
// not it was stored with its own terminator. A missing value reads as "0".
bool SecureValueIsOne(HKEY key) {
    std::vector<char> text(11, '\0');
    text[0] = '0';
    DWORD size = 10;
    LONG rc = RegQueryValueExA(key, velmora::settings::kSecureValueNt, nullptr, nullptr,
                               reinterpret_cast<BYTE*>(text.data()), &size);
    if (rc == ERROR_MORE_DATA) {
        // Longer than the usual buffer: read it whole rather than trust a
        // partly written, unterminated buffer.
        text.assign(size + 1, '\0');
        rc = RegQueryValueExA(key, velmora::settings::kSecureValueNt, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(text.data()), &size);
    }
    if (rc != ERROR_SUCCESS) return false;
    if (size < text.size()) text[size] = '\0';
    text.back() = '\0';
    return std::strcmp(text.data(), "1") == 0;
}

bool UsePasswordValueIsOne(HKEY key) {
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG rc = RegQueryValueExA(key, velmora::settings::kUsePasswordValue9x, nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&value), &size);
    return rc == ERROR_SUCCESS && value == 1;
}

}  // namespace

bool IsPasswordProtected() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, velmora::settings::kDesktopKey, &key) != ERROR_SUCCESS)
        return false;
    bool protectedNow = IsNtLine() ? SecureValueIsOne(key) : UsePasswordValueIsOne(key);
    RegCloseKey(key);
    return protectedNow;
}

bool RotateWhenLockedSet() { return velmora::settings::OptionSet(velmora::settings::kKeyRotateWhenLocked); }

bool ProtectionHoldsRotation() {
    if (!IsPasswordProtected()) return false;
    return !IsNtLine() || !RotateWhenLockedSet();
}
