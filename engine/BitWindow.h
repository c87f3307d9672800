// The bit window both LZ decoders read through: the next bits of the stream,
// most significant first, left-aligned in a 64-bit word with zeros below.
// It knows nothing of where the bytes come from. Each codec's reader decides
// when to fill it and from where, so that the input is asked for a byte
// exactly where that codec's byte-at-a-time reader would ask.
//
// Past the end of the input the readers push zero bytes; the window counts
// them, so that a decoder can tell when it has used a bit that the input did
// not hold.
#pragma once

#include "engine/ByteBlocks.h"

#include <cassert>
#include <cstdint>

namespace zorp {

class TBitWindow {
public:
    uint64_t Bits() const { return FBits; }
    unsigned Held() const { return FHeld; } // 0 to 63

    // The next n bits (1 to 32, no more than are held) without using them.
    unsigned Peek(unsigned n) const {
        assert(n >= 1 && n <= 32 && n <= FHeld);
        return static_cast<unsigned>(FBits >> (64 - n));
    }

    // Uses the next n bits (no more than are held).
    void Consume(unsigned n) {
        assert(n <= FHeld);
        FBits <<= n;
        FHeld -= n;
    }

    // Takes the state back from a loop that kept it in local variables: the
    // next held bits are the top ones of bits; those below are dropped.
    void Resume(uint64_t bits, unsigned held) {
        assert(held <= 63);
        FBits = bits & ~(~uint64_t{0} >> held);
        FHeld = held;
    }

    // Whole bytes that fit below 64 bits now (0 to 7).
    unsigned Room() const { return (63 - FHeld) / 8; }

    // Appends the first count bytes from p (count at most Room()). Loads a
    // whole word: 8 bytes from p on must be readable. Returns the bytes
    // appended, the first on top and zeros below (for their byte sum).
    uint64_t Append(const uint8_t* p, unsigned count) {
        assert(count <= Room());
        const uint64_t word = LoadBE64(p) & ~(~uint64_t{0} >> (8 * count));
        FBits |= word >> FHeld;
        FHeld += 8 * count;
        return word;
    }

    // Appends one byte (at most 56 bits held).
    void Push(uint8_t b) {
        assert(FHeld <= 56);
        FBits |= static_cast<uint64_t>(b) << (56 - FHeld);
        FHeld += 8;
    }

    // Appends a zero byte made up past the end of the input.
    void PushMadeUp() {
        Push(0);
        ++FMadeUp;
    }
    unsigned MadeUp() const { return FMadeUp; }

    // True once a bit beyond the end of the input has been used.
    bool OverRead() const { return FHeld < 8 * FMadeUp; }

private:
    uint64_t FBits = 0;   // the next FHeld bits, left-aligned; zeros below
    unsigned FHeld = 0;   // bits held
    unsigned FMadeUp = 0; // zero bytes pushed past the end of the input
};

} // namespace zorp
