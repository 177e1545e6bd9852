// GIF data of any shape, walked and cut into one-frame GIFs as the animated
// picture does before it hands them to the system's decoder.
#include <cstdint>
#include <cstring>

#include "config/controls/gif_walk.h"
#include "fuzz/fuzz_input.h"

using namespace velmora::gif;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Screen screen;
    // A colour table flag may promise a table the data does not hold: the
    // walk must then find no frame rather than read past the end.
    if (!ReadScreen(data, size, &screen)) return 0;
    Walker walker(data, size, screen);
    const int count = walker.CountFrames();
    walker.Rewind();
    for (int i = 0; i < count + 1; ++i) {
        Frame frame;
        if (!walker.ExtractFrame(&frame)) {
            VELMORA_FUZZ_CHECK(i >= count);
            break;
        }
        VELMORA_FUZZ_CHECK(i < count);
        // Header, screen descriptor and global colour table unchanged, the
        // frame's span, then the trailer.
        const size_t head = 13 + screen.globalColourTableLength;
        VELMORA_FUZZ_CHECK(head <= size && frame.gif.size() > head);
        VELMORA_FUZZ_CHECK(std::memcmp(frame.gif.data(), data, head) == 0);
        VELMORA_FUZZ_CHECK(frame.gif.back() == 0x3B);
        VELMORA_FUZZ_CHECK(frame.disposal >= 0 && frame.disposal <= 7);
        FrameWaitMs(frame.delay);
    }
    return 0;
}
