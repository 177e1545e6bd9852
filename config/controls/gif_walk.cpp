#include "config/controls/gif_walk.h"

namespace velmora::gif {
namespace {

constexpr size_t kHeaderLength = 6;
constexpr size_t kScreenEnd = 13;  // header and logical screen descriptor
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

int Word(const uint8_t* p) { return p[0] | (p[1] << 8); }

enum class Kind { kUnknown, kApplication, kComment, kGraphicControl, kPlainText, kImage, kTrailer };

// What the block at pos is, from its first byte and an extension's label.
Kind KindAt(const uint8_t* data, size_t size, size_t pos) {
    if (!data || pos >= size) return Kind::kUnknown;
    if (data[pos] == kTrailer) return Kind::kTrailer;
    if (data[pos] == kImage) return Kind::kImage;
    if (data[pos] != kExtension || size - pos < 2) return Kind::kUnknown;
    switch (data[pos + 1]) {
    case 0xFF: return Kind::kApplication;
    case 0xFE: return Kind::kComment;
    case 0xF9: return Kind::kGraphicControl;
    case 0x01: return Kind::kPlainText;
    default: return Kind::kUnknown;
    }
}

// Bytes of the colour table a packed byte announces.
size_t ColourTableLength(uint8_t packed) {
    return (packed & 0x80) ? 3u * (size_t{2} << (packed & 7)) : 0;
}

// Data sub-blocks starting at pos, up to and including the zero-size one;
// 0 when they run past the data.
size_t SubBlocksLength(const uint8_t* data, size_t size, size_t pos) {
    size_t p = pos;
    for (;;) {
        if (p >= size) return 0;
        const size_t n = data[p];
        p += 1;
        if (n == 0) return p - pos;
        if (n > size - p) return 0;
        p += n;
    }
}

// A fixed head of n bytes at pos followed by sub-blocks; 0 when any of it
// lies past the data.
size_t HeadAndSubBlocks(const uint8_t* data, size_t size, size_t pos, size_t head) {
    if (head > size - pos) return 0;
    const size_t sub = SubBlocksLength(data, size, pos + head);
    return sub ? head + sub : 0;
}

}  // namespace

bool ReadScreen(const uint8_t* data, size_t size, Screen* screen) {
    if (!data || size < kScreenEnd) return false;
    if (data[0] != 'G' || data[1] != 'I' || data[2] != 'F') return false;
    const bool known = data[3] == '8' && (data[4] == '7' || data[4] == '9') && data[5] == 'a';
    if (!known) return false;
    const uint8_t* lsd = data + kHeaderLength;
    screen->width = Word(lsd);
    screen->height = Word(lsd + 2);
    screen->globalColourTableLength = ColourTableLength(lsd[4]);
    screen->firstBlock = kScreenEnd + screen->globalColourTableLength;
    return true;
}

size_t BlockLength(const uint8_t* data, size_t size, size_t pos) {
    size_t length = 0;
    switch (KindAt(data, size, pos)) {
    case Kind::kTrailer: length = 1; break;
    case Kind::kGraphicControl: length = 8; break;
    case Kind::kApplication: length = HeadAndSubBlocks(data, size, pos, 14); break;
    case Kind::kComment: length = HeadAndSubBlocks(data, size, pos, 2); break;
    case Kind::kPlainText: length = HeadAndSubBlocks(data, size, pos, 15); break;
    case Kind::kImage:
        if (size - pos < 10) return 0;  // up to the packed byte
        length = HeadAndSubBlocks(data, size, pos, 11 + ColourTableLength(data[pos + 9]));
        break;
    case Kind::kUnknown: return 0;
    }
    return length <= size - pos ? length : 0;
}

Walker::Walker(const uint8_t* data, size_t size, const Screen& screen)
    : m_data(data), m_size(size), m_screen(screen), m_pos(screen.firstBlock) {}

void Walker::Rewind() {
    m_pos = m_screen.firstBlock;
    m_failed = false;
}

bool Walker::Skip() {
    const size_t length = BlockLength(m_data, m_size, m_pos);
    if (length == 0) return false;
    m_pos += length;
    return true;
}

bool Walker::SkipPreamble() {
    for (;;) {
        const Kind kind = KindAt(m_data, m_size, m_pos);
        if (kind != Kind::kApplication && kind != Kind::kComment) return true;
        if (!Skip()) return false;
    }
}

bool Walker::SkipToGraphicBlock() {
    if (!Skip()) return false;  // the graphic control extension itself
    for (;;) {
        switch (KindAt(m_data, m_size, m_pos)) {
        case Kind::kImage:
        case Kind::kPlainText: return true;
        case Kind::kApplication:
        case Kind::kComment:
        case Kind::kGraphicControl:
            if (!Skip()) return false;
            break;
        default: return false;
        }
    }
}

bool Walker::SkipFrame() {
    if (m_failed || !SkipPreamble()) return Fail();
    const Kind kind = KindAt(m_data, m_size, m_pos);
    bool ok = false;
    if (kind == Kind::kGraphicControl) {
        ok = SkipToGraphicBlock() && Skip();
    } else if (kind == Kind::kImage || kind == Kind::kPlainText) {
        ok = Skip();
    }
    return ok || Fail();
}

bool Walker::ExtractFrame(Frame* frame) {
    if (m_failed || !SkipPreamble()) return Fail();
    const size_t start = m_pos;
    uint32_t delay = kNoDelay;
    int disposal = 0;
    if (KindAt(m_data, m_size, m_pos) == Kind::kGraphicControl) {
        if (BlockLength(m_data, m_size, m_pos) == 0) return Fail();
        delay = static_cast<uint32_t>(Word(m_data + m_pos + 4));
        disposal = (m_data[m_pos + 3] >> 2) & 7;
        if (!SkipToGraphicBlock()) return Fail();
    }
    const Kind graphic = KindAt(m_data, m_size, m_pos);
    if (graphic != Kind::kImage && graphic != Kind::kPlainText) return Fail();
    const size_t block = m_pos;
    if (!Skip()) return Fail();

    // Both graphic blocks lie wholly inside the data now: an image descriptor
    // gives its place at bytes 1 to 8, a plain text extension its text grid at
    // bytes 3 to 10.
    const uint8_t* place = m_data + block + (graphic == Kind::kImage ? 1 : 3);
    frame->left = Word(place);
    frame->top = Word(place + 2);
    frame->width = Word(place + 4);
    frame->height = Word(place + 6);
    frame->delay = delay;
    frame->disposal = disposal;

    const size_t head = m_screen.firstBlock;  // signature, screen, global colour table
    const size_t span = m_pos - start;
    frame->gif.assign(m_data, m_data + head);
    frame->gif.insert(frame->gif.end(), m_data + start, m_data + start + span);
    frame->gif.push_back(kTrailer);
    return true;
}

int Walker::CountFrames() {
    Rewind();
    int count = 0;
    while (SkipFrame()) ++count;
    return count;
}

uint32_t FrameWaitMs(uint32_t delay) {
    if (delay == kNoDelay || delay < 5) return 100;
    return delay * 10;
}

}  // namespace velmora::gif
