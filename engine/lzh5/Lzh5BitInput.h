// Bit input of the LZH5 decoder: bitBuf always holds the next 16 bits of the
// stream, most significant first; the policy of when to fill the shared bit
// window. Past the end of the data the stream reads as zero bits.
//
// The window takes up to 7 bytes at once from what the input buffer already
// holds. A byte beyond the buffer is asked of GetChar only at the moment
// fewer than 16 bits would be left, which is exactly when a reader holding
// 16 bits plus the rest of one byte would ask for it; so refills, progress
// events and cancellation fall on the same bits. The bytes taken early are
// counted and descrambled as GetChar would.
#pragma once

#include "engine/BitWindow.h"
#include "engine/ByteBlocks.h"
#include "engine/CompThreadSafety.h"

#include <cstdint>

namespace zorp::lzh5 {

class TBitInput {
public:
    explicit TBitInput(TCompThreadSafety& Engine) : FEngine(Engine) {}

    uint16_t bitBuf = 0;

    // Loads the first 16 bits.
    void Start() {
        Refill();
        bitBuf = Top16();
    }

    // Drops n bits (0 to 16) from bitBuf and refills it from the input.
    void fillbuf(unsigned n) {
        FWin.Consume(n);
        if (FWin.Held() < 16)
            Refill();
        bitBuf = Top16();
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
    uint64_t Bits() const { return FWin.Bits(); }
    unsigned Avail() const { return FWin.Held(); }

    // True once a bit past the end of the input has been used.
    bool OverRead() const { return FWin.OverRead(); }

    // Takes the state back from such a loop, which has taken the bytes it
    // used from the input buffer itself; bits below avail are ignored.
    void Resume(uint64_t bits, unsigned avail) {
        FWin.Resume(bits, avail);
        if (FWin.Held() < 16)
            Refill();
        bitBuf = Top16();
    }

private:
    uint16_t Top16() const { return static_cast<uint16_t>(FWin.Bits() >> 48); }

    // Tops the bits up to at least 56 when 8 bytes can be taken from the
    // input buffer at once (the common case, inline); otherwise byte by byte.
    void Refill() {
        TCompThreadSafety& e = FEngine;
        if (e.EndOfInput() || !e.BulkInput() || e.InEnd - e.InPos < 8) [[unlikely]] {
            RefillByBytes();
            return;
        }
        const unsigned take = FWin.Room(); // 6 or 7
        const uint64_t taken = FWin.Append(e.InPos, take);
        e.InputConsumed(static_cast<int32_t>(take), ByteSum(taken));
    }

    [[gnu::noinline]] void RefillByBytes() {
        TCompThreadSafety& e = FEngine;
        if (!e.EndOfInput()) {
            while (FWin.Held() < 56 && e.InPos != e.InEnd)
                FWin.Push(e.GetChar()); // from the buffer: no refill
        }
        // GetChar returns 0 at the end; once ended, the input is not asked again.
        while (FWin.Held() < 16) {
            const uint8_t b = e.EndOfInput() ? 0 : e.GetChar();
            if (e.EndOfInput())
                FWin.PushMadeUp();
            else
                FWin.Push(b);
        }
    }

    TCompThreadSafety& FEngine;
    TBitWindow FWin; // 16 to 63 bits once started
};

} // namespace zorp::lzh5
