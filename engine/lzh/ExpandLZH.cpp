// The LZH expander: decodes symbols with the adaptive Huffman code and copies
// matches out of a 4096-byte ring that starts filled with spaces.
#include "engine/CompThreadSafety.h"
#include "engine/DirectOutput.h"
#include "engine/lzh/LzhDecoder.h"

#include <cstring>
#include <memory>

namespace zorp {

// Stops when count bytes are written (a match is always copied whole), or
// when a symbol would need bits beyond the end of the input.
void TCompThreadSafety::ExpandLZH(int32_t count) {
    using namespace lzh;
    if (count <= 0)
        return;
    auto state = std::make_unique<TLzhDecoder>(*this);
    uint8_t* const text = state->lzhText;
    state->Tree.StartHuff();
    std::memset(text, 0x20, StartPosition);
    TDirectOutput out(*this);
    int r = StartPosition;
    int32_t produced = 0;
    while (produced < count) {
        const int v = state->DecodeChar();
        if (v < 256) {
            if (state->Bits.OverRead())
                return;
            out.Put(static_cast<uint8_t>(v));
            text[r] = static_cast<uint8_t>(v);
            r = (r + 1) & RingMask;
            ++produced;
        } else {
            const int i = (r - state->DecodePosition() - 1) & RingMask;
            if (state->Bits.OverRead())
                return;
            const int length = v - 255 + Threshold;
            out.PutMatch(text, RingMask, static_cast<unsigned>(i), static_cast<unsigned>(r),
                         static_cast<unsigned>(length));
            r = (r + length) & RingMask;
            produced += length;
        }
    }
}

} // namespace zorp
