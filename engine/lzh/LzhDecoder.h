// The symbol and distance reader of the LZH expander, with the working
// tables of one expansion run, allocated once per run.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/BitReader.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"

#include <cstdint>

namespace zorp::lzh {

inline constexpr int HistorySize = 4 * RingSize;

// The working state of one expansion run, allocated once.
struct TLzhDecoder {
    explicit TLzhDecoder(TCompThreadSafety& Engine) : Tree{}, Bits(Engine) {}

    THuffTree Tree;
    // Recent output: the last 4096 bytes in front of the write position,
    // moved to the front when less than a match of room is left, and 64
    // spare bytes for the copies' overrun.
    uint8_t History[HistorySize + 64];
    TBitReader Bits;

    // Walks from the root to a leaf, one bit (one read) per level and two
    // levels per step, and counts the symbol: on the way down where the tree
    // allows it.
    int DecodeChar() {
        Bits.TopUp();
        if (Tree.Rebuilding()) [[unlikely]]
            return DecodeCharThenRebuild();
        unsigned overtaking = TreeSize; // none
        const unsigned leaf = WalkFromRoot([&](unsigned n) {
            if (Tree.CountOne(n))
                overtaking = n;
        });
        Tree.CountRoot();
        if (overtaking != TreeSize) [[unlikely]]
            Tree.Reorder(overtaking);
        return static_cast<int>(leaf - TreeSize);
    }

    // The same when the counts are due to be halved: update rebuilds the
    // tree before it counts.
    [[gnu::noinline]] int DecodeCharThenRebuild() {
        const unsigned leaf = WalkFromRoot([](unsigned) {});
        const int v = static_cast<int>(leaf - TreeSize);
        Tree.update(v);
        return v;
    }

    // The leaf value the next bits lead to from the root, visit(n) called
    // for each node passed.
    template <class Visit> unsigned WalkFromRoot(Visit&& visit) {
        return Bits.WalkTree(Tree.hufSon, Tree.hufGrandson, THuffTree::OneLevel, Tree.hufSon[Root],
                             TreeSize, visit);
    }

    // A 12-bit distance code, read as 8 bits and then a few more: the prefix
    // code of the upper 6 bits sits in the top of the 8; what follows it
    // there, and the bits read after, are the lower 6 bits.
    int DecodePosition() {
        Bits.Need();
        const unsigned b = Bits.Peek(8);
        Bits.Skip(8);
        const unsigned u = distanceCodeTable[b];
        const unsigned l = distanceLenTable[b] - 2u;
        Bits.Need();
        const unsigned x = Bits.Peek(l);
        Bits.Skip(l);
        Bits.EndRead(l);
        return static_cast<int>((u << 6) | (((b << l) | x) & 63));
    }
};

} // namespace zorp::lzh
