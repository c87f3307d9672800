// Bit output of the LZH5 compressor: bits are packed most significant first
// into a 64-bit word; complete 32-bit groups go to a small byte buffer that is
// written with PutBytes when it fills and at every flush. The block encoder
// flushes at the end of each block, before any more input is read, so the
// output budget's exception and every output effect come at the same point
// of the run as with a PutChar per byte.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh5 {

class TBitOutput {
public:
    explicit TBitOutput(TCompThreadSafety& Engine) : FEngine(Engine) {}

    // Writes the top n bits (0 to 16) of w; the bits of w below them are 0.
    void putcode5(unsigned n, uint16_t w) { append(n, static_cast<uint32_t>(w) >> (16 - n)); }

    // Writes the low n bits (1 to 16) of x.
    void putbits(unsigned n, unsigned x) { append(n, x & ((1u << n) - 1)); }

    // Writes every complete byte; fewer than 8 bits stay for the next block.
    void flush() {
        while (FCount >= 8) {
            FCount -= 8;
            FBytes[FByteCount++] = static_cast<uint8_t>(FBits >> FCount);
        }
        FEngine.PutBytes(FBytes, FByteCount);
        FByteCount = 0;
    }

private:
    static constexpr int BufferBytes = 256;

    // Adds n bits (v below 2^n).
    void append(unsigned n, uint32_t v) {
        FBits = (FBits << n) | v;
        FCount += n;
        if (FCount >= 32) {
            FCount -= 32;
            const auto group = static_cast<uint32_t>(FBits >> FCount);
            FBytes[FByteCount] = static_cast<uint8_t>(group >> 24);
            FBytes[FByteCount + 1] = static_cast<uint8_t>(group >> 16);
            FBytes[FByteCount + 2] = static_cast<uint8_t>(group >> 8);
            FBytes[FByteCount + 3] = static_cast<uint8_t>(group);
            FByteCount += 4;
            if (FByteCount == BufferBytes) {
                FEngine.PutBytes(FBytes, FByteCount);
                FByteCount = 0;
            }
        }
    }

    TCompThreadSafety& FEngine;
    uint64_t FBits = 0;  // pending bits in the low FCount bits
    unsigned FCount = 0; // below 32 between calls
    int FByteCount = 0;  // bytes waiting in FBytes, below BufferBytes
    uint8_t FBytes[BufferBytes] = {};
};

} // namespace zorp::lzh5
