// The symbol and distance writer of the LZH compressor, with the working
// tables of one compression run (about 50 KB, allocated once per run).
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/BitIO.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"

#include <cstdint>

namespace zorp::lzh {

// The working state of one compression run (about 50 KB), allocated once.
struct TLzhEncoder {
    explicit TLzhEncoder(TCompThreadSafety& Engine) : Tree{}, Match{}, Bits(Engine) {}

    THuffTree Tree;
    TMatchTrees Match;
    TBitWriter Bits;

    // Writes the symbol's current code (it can be longer than 16 bits), then
    // counts the symbol. The walk from the leaf up meets the code's bits
    // last one first.
    void EncodeChar(int v) {
        uint32_t code = 0;
        int length = 0;
        int k = Tree.Leaf(v);
        do {
            code |= static_cast<uint32_t>(k & 1) << length;
            ++length;
            k = Tree.hufParent[k];
        } while (k != Root);
        Bits.Put(length, code);
        Tree.update(v);
    }

    // Writes a 12-bit distance code: prefix code of the upper 6 bits, then the
    // lower 6 bits.
    void EncodePosition(int p) {
        const int u = p >> DistanceLowBits;
        const int n = positionLenTable[u];
        const uint32_t prefix = positionCodeTable[u] >> (8 - n);
        Bits.Put(n + DistanceLowBits,
                 prefix << DistanceLowBits | static_cast<uint32_t>(p & DistanceLowMask));
    }
};

} // namespace zorp::lzh
