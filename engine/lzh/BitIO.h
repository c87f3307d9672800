// Bit output of the LZH codec, most significant bit first, over the engine's
// byte I/O. Each byte goes out as soon as its last bit is in, so the output
// and its budget checks keep pace with the input.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh {

class TBitWriter {
public:
    explicit TBitWriter(TCompThreadSafety& Engine) : FEngine(Engine) {}

    // Appends the low n bits (1..32) of code, the highest of them first.
    void Put(int n, uint32_t code) {
        lzhPutBuf = (lzhPutBuf << n) | code;
        lzhPutLen += n;
        while (lzhPutLen >= 8) {
            lzhPutLen -= 8;
            FEngine.PutChar(static_cast<uint8_t>(lzhPutBuf >> lzhPutLen));
        }
    }

    // Writes the last partial byte, padded with zero bits.
    void EncodeEnd() {
        if (lzhPutLen > 0)
            FEngine.PutChar(static_cast<uint8_t>(lzhPutBuf << (8 - lzhPutLen)));
    }

private:
    TCompThreadSafety& FEngine;
    uint64_t lzhPutBuf = 0; // the bits waiting are its lowest lzhPutLen bits
    int lzhPutLen = 0;      // number of bits waiting, below 8 between calls
};

} // namespace zorp::lzh
