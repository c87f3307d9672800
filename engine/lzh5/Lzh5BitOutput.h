// Bit output of the LZH5 compressor: bits are packed most significant first
// into subBitBuf, which is written with PutChar as soon as it is full.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh5 {

class TBitOutput {
public:
    explicit TBitOutput(TCompThreadSafety& Engine) : FEngine(Engine) {}

    uint8_t subBitBuf = 0;
    uint8_t bitCount = 8; // free bit places left in subBitBuf

    // Writes the top n bits (0 to 16) of w; the bits of w below them are 0.
    void putcode5(unsigned n, uint16_t w) {
        while (n >= bitCount) {
            n -= bitCount;
            subBitBuf = static_cast<uint8_t>(subBitBuf + (w >> (16 - bitCount)));
            w = static_cast<uint16_t>(w << bitCount);
            FEngine.PutChar(subBitBuf);
            subBitBuf = 0;
            bitCount = 8;
        }
        subBitBuf = static_cast<uint8_t>(subBitBuf + (w >> (16 - bitCount)));
        bitCount = static_cast<uint8_t>(bitCount - n);
    }

    // Writes the low n bits (1 to 16) of x.
    void putbits(unsigned n, unsigned x) { putcode5(n, static_cast<uint16_t>(x << (16 - n))); }

private:
    TCompThreadSafety& FEngine;
};

} // namespace zorp::lzh5
