// Bit input of the LZH expander, most significant bit first, over the
// engine's byte I/O: the policy of when to fill the shared bit window.
//
// The window takes up to 7 bytes at once from what the input buffer already
// holds. The input is still asked for a byte beyond the buffer (a refill, a
// progress event, the end of the input) exactly where a reader holding at
// most 16 bits would ask: at the start of a read with fewer than 9 bits in
// hand. The bytes taken at once are added to the input
// sum before the input is asked again and when the reader goes away; then,
// too, bytes taken ahead of the 16-bit reader are handed back to the buffer
// (position, sum and key position), so the input ends where it would have.
#pragma once

#include "engine/BitWindow.h"
#include "engine/ByteBlocks.h"
#include "engine/CompThreadSafety.h"

#include <cassert>
#include <cstdint>

namespace zorp::lzh {

class TBitReader {
public:
    explicit TBitReader(TCompThreadSafety& Engine)
        : FEngine(Engine), FIn(Engine.InPos), FEnd(Engine.InPos), FSummed(Engine.InPos) {}
    ~TBitReader() { HandBack(); }
    TBitReader(const TBitReader&) = delete;
    TBitReader& operator=(const TBitReader&) = delete;

    // Takes as many whole bytes ahead as fit while the buffer holds at
    // least 8 more; nothing that the input would notice.
    void TopUp() {
        if (FEnd - FIn >= 8) [[likely]]
            TakeAhead();
    }

    // Starts a read of up to 8 bits: afterwards at least that many are in hand.
    void Need() {
        if (FWin.Held() < 9) [[unlikely]]
            Fetch();
    }

    // The next n bits (1..8, after Need) without using them.
    unsigned Peek(unsigned n) const { return FWin.Peek(n); }

    void Skip(unsigned n) { FWin.Consume(n); }

    // Notes that the last read so far took n bits (for HandBack).
    void EndRead(unsigned n) { FLastRead = n; }

    // Follows the links of a binary tree from node k, one bit per link and
    // each bit a read of its own, to the first value of at least leaves:
    // node n's children are son[n] and son[n] + 1. grandson[2n + b] is
    // son[son[n] + b], or son[n] + oneLevel when that is a value of at least
    // leaves; with it two links are followed per load while no fetch falls
    // between their bits. Calls visit(n) for each node passed through, from
    // the top down; returns the value reached.
    template <class Visit>
    unsigned WalkTree(const uint16_t* son, const uint16_t* grandson, unsigned oneLevel, unsigned k,
                      unsigned leaves, Visit&& visit) {
        uint64_t bits = FWin.Bits();
        unsigned taken = 0; // bits taken since the window was last updated
        unsigned due = FWin.Held() > 8 ? FWin.Held() - 8 : 0; // the read that needs a fetch
        while (k < leaves) {
            if (due - taken >= 2) [[likely]] {
                const auto two = static_cast<unsigned>(bits >> 62);
                const unsigned n = k + (two >> 1);
                const unsigned g = grandson[2 * k + two];
                visit(n);
                if (g & oneLevel) {
                    k = g & ~oneLevel;
                    bits <<= 1;
                    ++taken;
                    break;
                }
                visit(son[n] + (two & 1));
                k = g;
                bits <<= 2;
                taken += 2;
                continue;
            }
            if (taken == due) [[unlikely]] {
                FWin.Consume(taken);
                Fetch();
                bits = FWin.Bits();
                taken = 0;
                due = FWin.Held() > 8 ? FWin.Held() - 8 : 1;
                continue;
            }
            const unsigned n = k + static_cast<unsigned>(bits >> 63);
            visit(n);
            k = son[n];
            bits <<= 1;
            ++taken;
        }
        FWin.Consume(taken);
        FLastRead = 1;
        return k;
    }

    // True once a bit beyond the end of the input has been taken.
    bool OverRead() const { return FWin.OverRead(); }

private:
    // Whole bytes that fit below 64 bits (none at 57 or more), from the
    // buffer (8 at hand).
    void TakeAhead() {
        const unsigned take = FWin.Room();
        FWin.Append(FIn, take);
        FTaken += take;
        FIn += take;
    }

    // Hands the position to the engine with the sum of the bytes taken.
    void Sync() {
        TCompThreadSafety& e = FEngine;
        assert(FSummed == e.InPos);
        e.InputConsumed(static_cast<int32_t>(FIn - FSummed),
                        ByteSum(FSummed, static_cast<size_t>(FIn - FSummed)));
        FSummed = FIn;
    }

    // Fewer than 9 bits at the start of a read: takes the byte that the
    // 16-bit reader takes here, then more from the buffer while it has some.
    [[gnu::noinline]] void Fetch() {
        TCompThreadSafety& e = FEngine;
        Sync();
        // Once the input has ended it is not asked again.
        const uint8_t b = FWin.MadeUp() == 0 ? e.GetChar() : 0;
        if (FWin.MadeUp() != 0 || e.EndOfInput())
            FWin.PushMadeUp();
        else
            FWin.Push(b);
        ++FTaken;
        // Keyed input is taken ahead through GetChar, which descrambles it;
        // not when the output shares the key position, which it would move.
        if (FWin.MadeUp() == 0 && e.DescrambleInput() && !e.ScrambleOutput() && !e.ByteAtATime()) {
            while (FWin.Held() <= 55 && e.InPos != e.InEnd) {
                FWin.Push(e.GetChar()); // from the buffer: no refill
                ++FTaken;
            }
        }
        FIn = e.InPos;
        FSummed = FIn;
        // Taking at once is for unkeyed input that goes on.
        FEnd = FWin.MadeUp() == 0 && e.BulkInput() ? e.InEnd : FIn;
        if (FEnd - FIn >= 8)
            TakeAhead();
    }

    // Returns the bytes taken ahead of the 16-bit reader. At the start of the
    // last read that reader held 8 bits if it was the first read, otherwise
    // between 9 and 16, as many modulo 8 as this reader held then.
    void HandBack() {
        Sync();
        if (FTaken == 0)
            return;
        const unsigned start = FWin.Held() + FLastRead;
        const bool first = 8 * FTaken == start;
        const unsigned theirs = first ? 8 : 9 + ((start - 9) & 7);
        if (start < theirs + 8)
            return;
        const unsigned ahead = (start - theirs) / 8;
        FEngine.InputGivenBack(static_cast<int32_t>(ahead));
    }

    TCompThreadSafety& FEngine;
    TBitWindow FWin;
    unsigned FLastRead = 0; // bits taken by the last read
    uint64_t FTaken = 0;    // bytes put into the window, made-up ones included
    uint8_t* FIn;           // next byte of the buffer to take
    const uint8_t* FEnd;    // end of what may be taken at once (FIn when nothing may)
    const uint8_t* FSummed; // bytes from here to FIn are not in the input sum yet
};

} // namespace zorp::lzh
