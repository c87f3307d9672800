// Bit input and output of the LZH codec, most significant bit first, over the
// engine's byte I/O. Both keep at most 16 bits in hand.
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

// Past the end of the input the reader delivers zero bits. It counts the
// zero bytes it made up, so the decoder can tell when it has used more bits
// than the input held.
class TBitReader {
public:
    explicit TBitReader(TCompThreadSafety& Engine) : FEngine(Engine) {}

    int GetBit() {
        Refill();
        const int bit = lzhGetBuf >> 15;
        lzhGetBuf = static_cast<uint16_t>(lzhGetBuf << 1);
        --lzhGetLen;
        return bit;
    }

    int GetByte() {
        Refill();
        const int byte = lzhGetBuf >> 8;
        lzhGetBuf = static_cast<uint16_t>(lzhGetBuf << 8);
        lzhGetLen = static_cast<uint8_t>(lzhGetLen - 8);
        return byte;
    }

    // The next n bits (1..6) as a number.
    int GetNBits(int n) {
        Refill();
        const int bits = lzhGetBuf >> (16 - n);
        lzhGetBuf = static_cast<uint16_t>(lzhGetBuf << n);
        lzhGetLen = static_cast<uint8_t>(lzhGetLen - n);
        return bits;
    }

    // True once a bit beyond the end of the input has been taken.
    bool OverRead() const { return lzhGetLen < 8 * FMadeUp; }

private:
    void Refill() {
        if (lzhGetLen <= 8) {
            unsigned b = 0;
            if (FMadeUp == 0) {
                b = FEngine.GetChar();
                if (FEngine.EndOfInput)
                    b = 0;
            }
            // Once the input has ended it is not asked again.
            if (FMadeUp != 0 || FEngine.EndOfInput)
                ++FMadeUp;
            lzhGetBuf = static_cast<uint16_t>(lzhGetBuf | (b << (8 - lzhGetLen)));
            lzhGetLen = static_cast<uint8_t>(lzhGetLen + 8);
        }
    }

    TCompThreadSafety& FEngine;
    uint16_t lzhGetBuf = 0; // input bits, left-aligned
    uint8_t lzhGetLen = 0;  // valid bits in lzhGetBuf
    int FMadeUp = 0;        // zero bytes supplied after the end of the input
};

} // namespace zorp::lzh
