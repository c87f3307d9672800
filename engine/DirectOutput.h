// Output of the LZH expander straight into the engine's output buffer.
//
// While the buffer has room and the budget allows, bytes are stored at the
// buffer position without going through PutChar; the position, the output
// sum, the count and the budget are brought up to date a stretch at a time,
// before any byte that needs PutChar's own handling (a full buffer to write,
// the budget running out, the key) and when the writer goes away. So the
// buffer writes, the budget exception and the sums come exactly as they
// would byte by byte. It puts out no more than a limit: the bytes of a match
// past it are copied into the history only.
#pragma once

#include "engine/ByteBlocks.h"
#include "engine/CompThreadSafety.h"
#include "engine/History.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorp {

class TDirectOutput {
public:
    // Limit: the most bytes it puts out.
    explicit TDirectOutput(TCompThreadSafety& Engine, int32_t Limit = 0x7FFFFFFF)
        : FEngine(Engine), FLeft(Limit) {
        Open();
    }
    ~TDirectOutput() { Close(); }
    TDirectOutput(const TDirectOutput&) = delete;
    TDirectOutput& operator=(const TDirectOutput&) = delete;

    // One byte, as PutChar(b), within the limit.
    void Put(uint8_t b) {
        if (FPos == FLimit) [[unlikely]] {
            PutCharThroughEngine(b);
            return;
        }
        *FPos++ = b;
    }

    // Copies a match of len bytes from distance back inside a history
    // (CopyMatch, whose overrun the history must have room for) and puts the
    // copied bytes out.
    void PutMatch(uint8_t* to, unsigned distance, unsigned len) {
        const ptrdiff_t room = FLimit - FPos;
        if (distance >= 16 && static_cast<ptrdiff_t>(len) + MatchOverrun <= room) [[likely]] {
            // Most matches: into the history and out in one pass; the
            // overrun in the output buffer is overwritten later.
            uint8_t* const out = FPos;
            ForEachPiece(to - distance, len, [to, out](unsigned k, const uint8_t* bytes) {
                std::memcpy(to + k, bytes, 16);
                std::memcpy(out + k, bytes, 16);
            });
            FPos += len;
            return;
        }
        CopyMatch(to, distance, len);
        if (static_cast<ptrdiff_t>(len) <= room) {
            std::memcpy(FPos, to, len);
        } else {
            PutThroughEngine(to, len);
            return;
        }
        FPos += len;
    }

private:
    // The slow ways of Put and PutMatch, out of line so that the decoding
    // loops around them keep their registers: b, or the first len bytes at p,
    // as far as the limit allows, through the engine.
    [[gnu::noinline]] void PutCharThroughEngine(uint8_t b) {
        Close();
        if (FLeft > 0) {
            FEngine.PutChar(b);
            --FLeft;
        }
        Open();
    }
    [[gnu::noinline]] void PutThroughEngine(const uint8_t* p, unsigned len) {
        Close();
        const auto n = static_cast<int32_t>(std::min<int64_t>(len, FLeft));
        FEngine.PutBytes(p, n);
        FLeft -= n;
        Open();
    }

    // Takes over the buffer position; no direct room while the key applies.
    void Open() {
        TCompThreadSafety& e = FEngine;
        FPos = e.OutPos;
        FLimit = FPos;
        if (e.BulkOutput() && e.OutBudget() > 0)
            FLimit += std::min<ptrdiff_t>({e.OutEnd - e.OutPos, e.OutBudget(), FLeft});
    }

    // Accounts for the bytes stored since Open and hands the position back
    // (until the next Open, also when PutChar or PutBytes raise).
    void Close() {
        TCompThreadSafety& e = FEngine;
        if (FPos == nullptr)
            return;
        const auto n = static_cast<int32_t>(FPos - e.OutPos);
        e.OutputCommitted(n, ByteSum(e.OutPos, static_cast<size_t>(n)));
        FLeft -= n;
        FPos = FLimit = nullptr;
    }

    TCompThreadSafety& FEngine;
    uint8_t* FPos = nullptr;
    uint8_t* FLimit = nullptr;
    int32_t FLeft; // bytes that may still be put out
};

} // namespace zorp
