// Bit input of the LZH5 decoder: bitBuf always holds the next 16 bits of the
// stream, most significant first; subBitBuf holds the bits of the last byte
// read that are not in bitBuf yet. Past the end of the data the stream reads
// as zero bits.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh5 {

class TBitInput {
public:
    explicit TBitInput(TCompThreadSafety& Engine) : FEngine(Engine) {}

    uint16_t bitBuf = 0;
    uint8_t subBitBuf = 0;
    uint8_t bitCount = 0; // bits left in subBitBuf

    // Drops n bits (0 to 16) from bitBuf and refills it from the input.
    void fillbuf(unsigned n) {
        while (n > bitCount) {
            n -= bitCount;
            bitBuf = static_cast<uint16_t>((bitBuf << bitCount) + (subBitBuf >> (8 - bitCount)));
            subBitBuf = FEngine.EndOfInput ? 0 : FEngine.GetChar();
            bitCount = 8;
        }
        bitCount = static_cast<uint8_t>(bitCount - n);
        bitBuf = static_cast<uint16_t>((bitBuf << n) + (subBitBuf >> (8 - n)));
        subBitBuf = static_cast<uint8_t>(subBitBuf << n);
    }

    // Reads n bits (1 to 16).
    unsigned getbits(unsigned n) {
        const unsigned x = bitBuf >> (16 - n);
        fillbuf(n);
        return x;
    }

private:
    TCompThreadSafety& FEngine;
};

} // namespace zorp::lzh5
