#pragma once
// The walk over a GIF's blocks that the animated picture plays from, free of
// Win32: it recognises the format, measures every block without reading past
// the data, and rebuilds each frame as a GIF of its own (header, screen
// descriptor and global colour table unchanged, the frame's blocks, the
// trailer) for the system's picture loader to decode.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::gif {

// The delay a frame has when no graphic control extension precedes it.
constexpr uint32_t kNoDelay = 0xFFFFFFFF;

// What the header and the logical screen descriptor say.
struct Screen {
    int width = 0, height = 0;
    size_t globalColourTableLength = 0;  // bytes; 0 when the file has none
    size_t firstBlock = 0;               // offset of the block after the table
};

// True when the data begins with "GIF87a" or "GIF89a" and holds the whole
// logical screen descriptor; fills screen. A colour table that the descriptor
// announces but the data does not hold is left for the walk to find.
bool ReadScreen(const uint8_t* data, size_t size, Screen* screen);

// The length of the block at pos (0 when its kind is unknown, or when it or
// its sub-blocks would reach past the data).
size_t BlockLength(const uint8_t* data, size_t size, size_t pos);

// One frame rebuilt as a GIF of its own, with the numbers it is played by.
struct Frame {
    std::vector<uint8_t> gif;
    uint32_t delay = kNoDelay;  // hundredths of a second
    int disposal = 0;           // 0 to 7
    int left = 0, top = 0, width = 0, height = 0;
};

// Walks the frames of one GIF in file order. The data must outlive the walk.
class Walker {
public:
    Walker(const uint8_t* data, size_t size, const Screen& screen);

    // Steps over the next frame. False at the trailer, at the end of the data
    // and at a malformed or unknown block, and from then on.
    bool SkipFrame();
    // Builds the next frame; false where SkipFrame would be. A frame drawn by
    // a plain text extension is placed where its text grid lies.
    bool ExtractFrame(Frame* frame);
    // Back to the first frame.
    void Rewind();

    // Counts the frames from the first one (the walk is left at its end).
    int CountFrames();

private:
    bool Skip();
    // Steps over application and comment extensions before a frame.
    bool SkipPreamble();
    // From a graphic control extension at the position, steps to the graphic
    // block, passing the extensions between.
    bool SkipToGraphicBlock();
    // Ends the walk: every later step fails until Rewind.
    bool Fail() {
        m_failed = true;
        return false;
    }

    const uint8_t* m_data;
    size_t m_size;
    Screen m_screen;
    size_t m_pos;
    bool m_failed = false;
};

// How long a frame with this delay stays, in milliseconds: delays of 0 to 4
// hundredths and frames without a delay of their own play for 100 ms.
uint32_t FrameWaitMs(uint32_t delay);

}  // namespace velmora::gif
