// The screensaver's command line as Windows or anyone else may pass it.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "runner/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The program sees a NUL-terminated text: whatever follows a NUL is gone.
    std::string text(reinterpret_cast<const char*>(data), size);
    ParsedCommandLine parsed = ParseCommandLineText(text.c_str());
    VELMORA_FUZZ_CHECK(parsed.mode >= ScrMode::None && parsed.mode <= ScrMode::Run);
    if (parsed.mode != ScrMode::Preview && parsed.mode != ScrMode::Configure &&
        parsed.mode != ScrMode::ChangePassword)
        VELMORA_FUZZ_CHECK(parsed.handle == 0);
    // Reads as the C library reads a decimal number, saturated to an int.
    long long expected = std::strtoll(text.c_str(), nullptr, 10);
    if (expected > INT_MAX) expected = INT_MAX;
    if (expected < INT_MIN) expected = INT_MIN;
    VELMORA_FUZZ_CHECK(AtoiLike(text.c_str()) == expected);
    return 0;
}
