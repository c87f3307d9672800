// The LZH expander: decodes symbols with the adaptive Huffman code and copies
// matches out of the last 4096 bytes of output, which start as the
// format's ring of spaces.
#include "engine/CompThreadSafety.h"
#include "engine/History.h"
#include "engine/DirectOutput.h"
#include "engine/lzh/LzhDecoder.h"

#include <cstring>
#include <memory>

namespace zorp {

// Stops when count bytes are written, or when a symbol would need bits
// beyond the end of the input.
int32_t TCompThreadSafety::ExpandLZH(int32_t count) {
    using namespace lzh;
    if (count <= 0)
        return 0;
    auto state = std::make_unique<TLzhDecoder>(*this);
    state->Tree.StartHuff();
    uint8_t* const history = state->History;
    // The ring the format starts from, oldest byte first: 60 zeros (its
    // positions 4036 to 4095), then 4036 spaces.
    std::memset(history, HistoryFill, RingSize);
    std::memset(history, 0, RingSize - StartPosition);
    uint8_t* at = history + RingSize;
    TDirectOutput out(*this, count); // cuts a last match at count
    int64_t produced = 0;
    while (produced < count) {
        if (at > history + HistorySize - MaxMatch) [[unlikely]] {
            std::memmove(history, at - RingSize, RingSize);
            at = history + RingSize;
        }
        const int v = state->DecodeChar();
        if (v < 256) {
            if (state->Bits.OverRead())
                return 0;
            out.Put(static_cast<uint8_t>(v));
            *at++ = static_cast<uint8_t>(v);
            ++produced;
        } else {
            // Position p of the code is the byte p + 1 back.
            const auto distance = static_cast<unsigned>(state->DecodePosition() + 1);
            if (state->Bits.OverRead())
                return 0;
            const int length = v - 255 + Threshold;
            out.PutMatch(at, distance, static_cast<unsigned>(length));
            at += length;
            produced += length;
        }
    }
    return static_cast<int32_t>(produced - count);
}

} // namespace zorp
