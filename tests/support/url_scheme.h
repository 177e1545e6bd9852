#pragma once
// Catching what the shell opens: a probe program registered as the "open"
// handler of an address scheme logs each address it is started with.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace vtest {

// Makes command the "open" handler of one address scheme in the classes
// root (Wine does not look under HKCU for it), and puts the scheme back as it
// was at destruction.
class ScopedUrlScheme {
public:
    ScopedUrlScheme(const std::string& scheme, const std::string& command);
    ~ScopedUrlScheme();
    ScopedUrlScheme(const ScopedUrlScheme&) = delete;
    ScopedUrlScheme& operator=(const ScopedUrlScheme&) = delete;
    bool ok() const { return m_ok; }

private:
    std::string m_scheme;
    RegValueRestorer m_command, m_protocol;  // for a scheme that was there
    bool m_existed = false;
    bool m_ok = false;
};

// The command line that starts the link probe (link_probe.exe beside the
// tests) with the address; the probe appends to the log named by the
// environment variable VELMORA_LINK_PROBE_LOG.
std::string LinkProbeCommand();

struct OpenedAddress {
    DWORD pid;
    std::string address;
};
// The probe's log: one line per start.
std::vector<OpenedAddress> ReadOpenedAddresses(const std::string& log);

// Processes of this program file name alive now (-1 when they cannot be listed).
int RunningProcesses(const char* exeName);

}  // namespace vtest
