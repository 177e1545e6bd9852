#include "tests/support/url_scheme.h"

#include <tlhelp32.h>

#include <cstdlib>

namespace vtest {

ScopedUrlScheme::ScopedUrlScheme(const std::string& scheme, const std::string& command)
    : m_scheme(scheme),
      m_command(HKEY_CLASSES_ROOT, scheme + "\\shell\\open\\command", ""),
      m_protocol(HKEY_CLASSES_ROOT, scheme, "URL Protocol") {
    HKEY key;
    m_existed =
        RegOpenKeyExA(HKEY_CLASSES_ROOT, scheme.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (m_existed) RegCloseKey(key);
    m_ok = SetRegString(HKEY_CLASSES_ROOT, scheme, "URL Protocol", "") &&
           SetRegString(HKEY_CLASSES_ROOT, scheme + "\\shell\\open\\command", "", command);
}

ScopedUrlScheme::~ScopedUrlScheme() {
    if (!m_existed) DeleteRegTree(HKEY_CLASSES_ROOT, m_scheme);
}

std::string LinkProbeCommand() { return "\"" + BinDir() + "\\link_probe.exe\" \"%1\""; }

std::vector<OpenedAddress> ReadOpenedAddresses(const std::string& log) {
    std::vector<OpenedAddress> opened;
    for (const std::string& line : ReadLines(log)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        opened.push_back(
            {std::strtoul(line.substr(0, tab).c_str(), nullptr, 10), line.substr(tab + 1)});
    }
    return opened;
}

int RunningProcesses(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace vtest
