// Bit output of the LZH codec, most significant bit first, over the engine's
// byte I/O. It keeps at most 16 bits in hand.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh {

class TBitWriter {
public:
    explicit TBitWriter(TCompThreadSafety& Engine) : FEngine(Engine) {}

    // Appends the top l bits (1..16) of w.
    void Putcode(int l, uint16_t w) {
        lzhPutBuf = static_cast<uint16_t>(lzhPutBuf | (w >> lzhPutLen));
        lzhPutLen = static_cast<uint8_t>(lzhPutLen + l);
        if (lzhPutLen >= 8) {
            FEngine.PutChar(static_cast<uint8_t>(lzhPutBuf >> 8));
            lzhPutLen = static_cast<uint8_t>(lzhPutLen - 8);
            if (lzhPutLen >= 8) {
                FEngine.PutChar(static_cast<uint8_t>(lzhPutBuf));
                lzhPutLen = static_cast<uint8_t>(lzhPutLen - 8);
                lzhPutBuf = static_cast<uint16_t>(w << (l - lzhPutLen));
            } else {
                lzhPutBuf = static_cast<uint16_t>(lzhPutBuf << 8);
            }
        }
    }

    // Writes the last partial byte, padded with zero bits.
    void EncodeEnd() {
        if (lzhPutLen > 0)
            FEngine.PutChar(static_cast<uint8_t>(lzhPutBuf >> 8));
    }

private:
    TCompThreadSafety& FEngine;
    uint16_t lzhPutBuf = 0; // bits waiting, left-aligned
    uint8_t lzhPutLen = 0;  // number of bits waiting
};

} // namespace zorp::lzh
