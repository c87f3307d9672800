// The LZH compressor: the longest match in the 4096-byte ring (3 to 60 bytes)
// or a literal, coded with the adaptive Huffman code; a match's distance
// follows with the fixed distance code.
#include "engine/CompThreadSafety.h"
#include "engine/History.h"
#include "engine/lzh/LzhEncoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zorp {

// The LZH compressor's main loop (fill, match search, token output, window
// slide) stays whole: the order of its steps decides the output bytes.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void TCompThreadSafety::CompressLZH() {
    using namespace lzh;
    // The members start zeroed, the whole text ring included.
    auto state = std::make_unique<TLzhEncoder>(*this);
    THuffTree& tree = state->Tree;
    TMatchTrees& m = state->Match;
    uint8_t* const text = m.lzhText;
    tree.StartHuff();
    m.InitTree();

    int s = 0;
    int r = StartPosition;
    std::memset(text, HistoryFill, StartPosition);
    int len = 0;
    bool ended = false;
    while (len < MaxMatch) {
        const uint8_t b = GetChar();
        if (FEndOfInput) {
            ended = true;
            break;
        }
        text[r + len] = b;
        ++len;
    }
    if (len == 0)
        return;
    // The strings that start in the spaces before r and run into the data.
    for (int i = 1; i <= MaxMatch; ++i)
        m.InsertNode(r - i);
    m.InsertNode(r);

    while (len > 0) {
        if (m.lzhMatchLen > len)
            m.lzhMatchLen = static_cast<uint16_t>(len);
        if (m.lzhMatchLen <= Threshold) {
            m.lzhMatchLen = 1;
            state->EncodeChar(text[r]);
        } else {
            state->EncodeChar(m.lzhMatchLen + 255 - Threshold);
            state->EncodePosition(m.lzhMatchPos);
        }
        const int last = m.lzhMatchLen;
        // Drops the oldest string, puts b at the end of the look-ahead and
        // inserts the string that now starts at r.
        auto take = [&](uint8_t b) {
            m.DeleteNode(s);
            text[s] = b;
            if (s < MaxMatch - 1)
                text[s + RingSize] = b;
            s = (s + 1) & RingMask;
            r = (r + 1) & RingMask;
            m.InsertNode(r);
        };
        int i = 0;
        // The input is not asked again once it has ended (or was cancelled).
        while (i < last && !ended) {
            if (InPos == InEnd || !BulkInput()) {
                const uint8_t b = GetChar();
                if (FEndOfInput) {
                    ended = true;
                    break;
                }
                take(b);
                ++i;
                continue;
            }
            // Bytes already in the input buffer, without a key: read straight
            // from it. Nothing in between looks at the input state, so
            // counting them after the stretch is the same as GetChar's.
            const int n = std::min(last - i, static_cast<int>(InEnd - InPos));
            const uint8_t* const in = InPos;
            uint32_t sum = 0;
            for (int j = 0; j < n; ++j) {
                sum += in[j];
                take(in[j]);
            }
            InputConsumed(n, sum);
            i += n;
        }
        for (; i < last; ++i) {
            m.DeleteNode(s);
            s = (s + 1) & RingMask;
            r = (r + 1) & RingMask;
            if (--len > 0)
                m.InsertNode(r);
        }
    }
    state->Bits.EncodeEnd();
}

} // namespace zorp
