// The symbol and distance writer of the LZH compressor, with the working
// tables of one compression run (about 45 KB, allocated once per run).
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/BitIO.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"

#include <cstdint>

namespace zorp::lzh {

// The working state of one compression run (about 45 KB), allocated once.
struct TLzhEncoder {
    explicit TLzhEncoder(TCompThreadSafety& Engine) : Tree{}, Match{}, Bits(Engine) {}

    THuffTree Tree;
    TMatchTrees Match;
    TBitWriter Bits;

    // Writes the symbol's current code (it can be longer than 16 bits), then
    // counts the symbol.
    void EncodeChar(int v) {
        uint32_t code = 0;
        int length = 0;
        int k = Tree.Leaf(v);
        do {
            code = (code >> 1) | (static_cast<uint32_t>(k & 1) << 31);
            ++length;
            k = Tree.hufParent[k];
        } while (k != Root);
        if (length > 16) {
            Bits.Putcode(16, static_cast<uint16_t>(code >> 16));
            Bits.Putcode(length - 16, static_cast<uint16_t>(code));
        } else {
            Bits.Putcode(length, static_cast<uint16_t>(code >> 16));
        }
        Tree.update(v);
    }

    // Writes a 12-bit distance code: prefix code of the upper 6 bits, then the
    // lower 6 bits.
    void EncodePosition(int p) {
        const int u = p >> 6;
        Bits.Putcode(positionLenTable[u], static_cast<uint16_t>(positionCodeTable[u] << 8));
        Bits.Putcode(6, static_cast<uint16_t>((p & 63) << 10));
    }
};

} // namespace zorp::lzh
