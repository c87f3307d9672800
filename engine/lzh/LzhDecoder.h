// The LZH expander: decodes symbols with the adaptive Huffman code and copies
// matches out of the last 4096 bytes of output, which start as the format's
// ring of spaces. One decoder serves one expansion run and is allocated once
// for it.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/History.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/BitReader.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"

#include <cstdint>

namespace zorp::lzh {

class TDecoder {
public:
    explicit TDecoder(TCompThreadSafety& Engine) : FBits(Engine), FEngine(Engine) {
        FTree.StartHuff();
    }

    // Writes count bytes, fewer when a symbol would need bits beyond the end
    // of the input. A last match running past count is cut there; returns
    // how many of its bytes were decoded past count.
    int32_t Expand(int32_t count);

    // The token reader on its own, for tests that trace the tokens: the next
    // symbol (0..255 a literal, from 256 a match of symbol - 253 bytes) and,
    // after a match symbol, its position code (the distance less one).

    // Walks from the root to a leaf, one bit (one read) per level and two
    // levels per step, and counts the symbol: on the way down where the tree
    // allows it.
    int DecodeChar() {
        FBits.TopUp();
        if (FTree.Rebuilding()) [[unlikely]]
            return DecodeCharThenRebuild();
        unsigned overtaking = TreeSize; // none
        const unsigned leaf = WalkFromRoot([&](unsigned n) {
            if (FTree.CountOne(n))
                overtaking = n;
        });
        FTree.CountRoot();
        if (overtaking != TreeSize) [[unlikely]]
            FTree.Reorder(overtaking);
        return static_cast<int>(leaf - TreeSize);
    }

    // A 12-bit distance code, read as 8 bits and then a few more: the prefix
    // code of the upper 6 bits sits in the top of the 8; what follows it
    // there, and the bits read after, are the lower 6 bits.
    int DecodePosition() {
        FBits.Need();
        const unsigned b = FBits.Peek(8);
        FBits.Skip(8);
        const unsigned u = distanceCodeTable[b];
        const unsigned l = distanceLenTable[b] - 2u;
        FBits.Need();
        const unsigned x = FBits.Peek(l);
        FBits.Skip(l);
        FBits.EndRead(l);
        return static_cast<int>((u << DistanceLowBits) | (((b << l) | x) & DistanceLowMask));
    }

private:
    // The same when the counts are due to be halved: update rebuilds the
    // tree before it counts.
    [[gnu::noinline]] int DecodeCharThenRebuild() {
        const unsigned leaf = WalkFromRoot([](unsigned) {});
        const int v = static_cast<int>(leaf - TreeSize);
        FTree.update(v);
        return v;
    }

    // The leaf value the next bits lead to from the root, visit(n) called
    // for each node passed.
    template <class Visit> unsigned WalkFromRoot(Visit&& visit) {
        return FBits.WalkTree(FTree.hufSon, FTree.hufGrandson, THuffTree::OneLevel,
                              FTree.hufSon[Root], TreeSize, visit);
    }

    THuffTree FTree{};
    THistory<RingSize> FHistory;
    TBitReader FBits;
    TCompThreadSafety& FEngine;
};

} // namespace zorp::lzh
