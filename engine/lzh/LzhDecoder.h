// The symbol and distance reader of the LZH expander, with the working
// tables of one expansion run, allocated once per run.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/BitIO.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"

#include <cstdint>

namespace zorp::lzh {

// The working state of one expansion run, allocated once.
struct TLzhDecoder {
    explicit TLzhDecoder(TCompThreadSafety& Engine) : Tree{}, lzhText{}, Bits(Engine) {}

    THuffTree Tree;
    uint8_t lzhText[RingSize];
    TBitReader Bits;

    // Walks from the root to a leaf, one bit per level, then counts the symbol.
    int DecodeChar() {
        int k = Tree.hufSon[Root];
        while (k < TreeSize)
            k = Tree.hufSon[k + Bits.GetBit()];
        k -= TreeSize;
        Tree.update(k);
        return k;
    }

    // A 12-bit distance code: the prefix code of the upper 6 bits sits in the
    // top of the next 8 bits; what follows it there, and the bits read after,
    // are the lower 6 bits.
    int DecodePosition() {
        const int b = Bits.GetByte();
        const int u = distanceCodeTable[b];
        const int l = distanceLenTable[b] - 2;
        const int x = Bits.GetNBits(l);
        return (u << 6) | (((b << l) | x) & 63);
    }
};

} // namespace zorp::lzh
