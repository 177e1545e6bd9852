// The next entry of the rotation list from whatever the settings file holds
// for the count, the order and the last place shown.
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "runner/next_choice.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::fuzz::FuzzInput in(data, size);
    const int count = in.Int(), order = in.Int(), last = in.Int();
    // The runner draws from the millisecond of the system clock.
    const int millisecond = static_cast<int>(static_cast<uint32_t>(in.Int()) % 1000u);
    const int draw = DrawForMillisecond(millisecond);
    VELMORA_FUZZ_CHECK(draw >= 0 && draw <= 0x7FFF);
    NextChoice choice = ChooseNext(count, order, last, draw);
    if (count <= 0) {
        VELMORA_FUZZ_CHECK(choice.index == -1);
    } else {
        VELMORA_FUZZ_CHECK(choice.index >= 0 && choice.index < count);
    }
    return 0;
}
