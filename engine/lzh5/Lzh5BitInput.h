// Bit input of the LZH5 decoder: bitBuf always holds the next 16 bits of the
// stream, most significant first. Past the end of the data the stream reads
// as zero bits; the zero bytes made up are counted, so that the decoder can
// tell when it has used a bit that the input did not hold.
//
// The bits are kept in a 64-bit word that takes up to 7 bytes at once from
// what the input buffer already holds. A byte beyond the buffer is asked of
// GetChar only at the moment fewer than 16 bits would be left, which is
// exactly when a reader holding 16 bits plus the rest of one byte would ask
// for it; so refills, progress events and cancellation fall on the same bits.
// The bytes taken early are counted and descrambled as GetChar would.
#pragma once

#include "engine/ByteBlocks.h"
#include "engine/CompThreadSafety.h"

#include <cstdint>
#include <cstring>

namespace zorp::lzh5 {

class TBitInput {
public:
    explicit TBitInput(TCompThreadSafety& Engine) : FEngine(Engine) {}

    uint16_t bitBuf = 0;

    // Loads the first 16 bits.
    void Start() {
        Refill();
        bitBuf = static_cast<uint16_t>(FBits >> 48);
    }

    // Drops n bits (0 to 16) from bitBuf and refills it from the input.
    void fillbuf(unsigned n) {
        FBits <<= n;
        FAvail -= n;
        if (FAvail < 16)
            Refill();
        bitBuf = static_cast<uint16_t>(FBits >> 48);
    }

    // Reads n bits (1 to 16).
    unsigned getbits(unsigned n) {
        const unsigned x = bitBuf >> (16 - n);
        fillbuf(n);
        return x;
    }

    // The state for a decoding loop that keeps it in local variables while
    // the input buffer holds enough bytes: the next Avail() bits of the
    // stream, left-aligned in Bits(), zeros below.
    uint64_t Bits() const { return FBits; }
    unsigned Avail() const { return FAvail; }

    // True once a bit past the end of the input has been used.
    bool OverRead() const { return FAvail < 8 * FMadeUp; }

    // Takes the state back from such a loop, which has taken the bytes it
    // used from the input buffer itself; bits below avail are ignored.
    void Resume(uint64_t bits, unsigned avail) {
        FBits = bits & ~(~uint64_t{0} >> avail);
        FAvail = avail;
        if (FAvail < 16)
            Refill();
        bitBuf = static_cast<uint16_t>(FBits >> 48);
    }

private:
    // Tops the bits up to at least 56 when 8 bytes can be taken from the
    // input buffer at once (the common case, inline); otherwise byte by byte.
    void Refill() {
        TCompThreadSafety& e = FEngine;
        if (e.EndOfInput() || !e.BulkInput() || e.InEnd - e.InPos < 8) [[unlikely]] {
            RefillByBytes();
            return;
        }
        // Whole bytes that fit below 64 bits (6 or 7), read big-endian.
        const unsigned take = (63 - FAvail) / 8;
        uint64_t word;
        std::memcpy(&word, e.InPos, sizeof word);
        word = __builtin_bswap64(word); // the first byte on top
        const uint64_t taken = word >> (64 - 8 * take);
        FBits |= (taken << (64 - 8 * take)) >> FAvail;
        FAvail += 8 * take;
        e.InputConsumed(static_cast<int32_t>(take), ByteSum(taken));
    }

    [[gnu::noinline]] void RefillByBytes() {
        TCompThreadSafety& e = FEngine;
        if (!e.EndOfInput()) {
            while (FAvail < 56 && e.InPos != e.InEnd)
                Push(e.GetChar()); // from the buffer: no refill
        }
        // GetChar returns 0 at the end; once ended, the input is not asked again.
        while (FAvail < 16) {
            const uint8_t b = e.EndOfInput() ? 0 : e.GetChar();
            if (e.EndOfInput())
                ++FMadeUp;
            Push(b);
        }
    }

    void Push(uint8_t b) {
        FBits |= static_cast<uint64_t>(b) << (56 - FAvail);
        FAvail += 8;
    }

    TCompThreadSafety& FEngine;
    uint64_t FBits = 0;   // the next FAvail bits of the stream, left-aligned; zeros below
    unsigned FAvail = 0;  // 16 to 63 once started
    unsigned FMadeUp = 0; // zero bytes pushed after the end of the input
};

} // namespace zorp::lzh5
