// Output of the LZH expander straight into the engine's output buffer.
//
// While the buffer has room and the budget allows, bytes are stored at the
// buffer position without going through PutChar; the position, the output
// sum, the count and the budget are brought up to date a stretch at a time,
// before any byte that needs PutChar's own handling (a full buffer to write,
// the budget running out, the key) and when the writer goes away. So the
// buffer writes, the budget exception and the sums come exactly as they
// would byte by byte.
#pragma once

#include "engine/ByteBlocks.h"
#include "engine/CompThreadSafety.h"
#include "engine/RingCopy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zorp {

class TDirectOutput {
public:
    explicit TDirectOutput(TCompThreadSafety& Engine) : FEngine(Engine) { Open(); }
    ~TDirectOutput() { Close(); }
    TDirectOutput(const TDirectOutput&) = delete;
    TDirectOutput& operator=(const TDirectOutput&) = delete;

    // One byte, as PutChar(b).
    void Put(uint8_t b) {
        if (FPos == FLimit) [[unlikely]] {
            Close();
            FEngine.PutChar(b);
            Open();
            return;
        }
        *FPos++ = b;
    }

    // Copies a match of len bytes inside ring (positions modulo mask + 1,
    // byte after byte, so a match overlapping its own output repeats it) and
    // puts the copied bytes out: CopyMatch and PutRing in one pass.
    void PutMatch(uint8_t* ring, unsigned mask, unsigned from, unsigned to, unsigned len) {
        const unsigned size = mask + 1;
        if (len > 32 || from + len > size || to + len > size ||
            static_cast<ptrdiff_t>(len) > FLimit - FPos) {
            CopyMatch(ring, mask, from, to, len);
            PutRing(ring, size, to, len);
            return;
        }
        unsigned k = 0;
        if (to >= from + 8 || from > to) {
            // Eight at a time: with the source ahead of the target or at least
            // eight bytes behind it, every byte is read after it is final.
            for (; k + 8 <= len; k += 8) {
                uint64_t v;
                std::memcpy(&v, ring + from + k, sizeof v);
                std::memcpy(ring + to + k, &v, sizeof v);
                std::memcpy(FPos + k, &v, sizeof v);
            }
        }
        for (; k < len; ++k) {
            const uint8_t b = ring[from + k];
            ring[to + k] = b;
            FPos[k] = b;
        }
        FPos += len;
    }

private:
    // The len bytes of ring (of size bytes) from position at on, wrapping at
    // its end, as that many calls of PutChar.
    void PutRing(const uint8_t* ring, unsigned size, unsigned at, unsigned len) {
        const unsigned first = std::min(len, size - at);
        if (static_cast<ptrdiff_t>(len) > FLimit - FPos) {
            Close();
            FEngine.PutBytes(ring + at, static_cast<int32_t>(first));
            if (first < len)
                FEngine.PutBytes(ring, static_cast<int32_t>(len - first));
            Open();
            return;
        }
        std::memcpy(FPos, ring + at, first);
        std::memcpy(FPos + first, ring, len - first);
        FPos += len;
    }

    // Takes over the buffer position; no direct room while the key applies.
    void Open() {
        TCompThreadSafety& e = FEngine;
        FPos = e.OutPos;
        FLimit = FPos;
        if (!e.ScrambleOutput && e.OutBudget > 0)
            FLimit += std::min<ptrdiff_t>(e.OutEnd - e.OutPos, e.OutBudget);
    }

    // Accounts for the bytes stored since Open and hands the position back
    // (until the next Open, also when PutChar or PutBytes raise).
    void Close() {
        TCompThreadSafety& e = FEngine;
        if (FPos == nullptr)
            return;
        const auto n = static_cast<int32_t>(FPos - e.OutPos);
        e.OutSum += ByteSum(e.OutPos, static_cast<size_t>(n));
        e.OutPos = FPos;
        e.OutBudget -= n;
        e.OutCount += n;
        FPos = FLimit = nullptr;
    }

    TCompThreadSafety& FEngine;
    uint8_t* FPos = nullptr;
    uint8_t* FLimit = nullptr;
};

} // namespace zorp
