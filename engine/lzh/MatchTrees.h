// The match finder of the LZH compressor: a 4096-byte ring of text and 4096
// binary search trees over the ring positions, one per hash of a string's
// first three bytes. Each tree orders its strings by their 60-byte contents;
// lzhSame caches how many leading bytes a node shares with its parent, so a
// search compares only bytes beyond what the tree already guarantees.
#pragma once

#include <cstdint>

namespace zorp::lzh {

inline constexpr int RingSize = 4096;
inline constexpr int RingMask = RingSize - 1;
inline constexpr int MaxMatch = 60;                       // longest match, also the look-ahead
inline constexpr int Threshold = 2;                       // matches up to this length are literals
inline constexpr int StartPosition = RingSize - MaxMatch; // 4036: first position written
inline constexpr int Nil = RingSize;                      // the empty link (4096)
inline constexpr int FirstRoot = RingSize + 1;            // roots are 4097 .. 8192
inline constexpr int TextSize = RingSize + MaxMatch;      // ring, mirror of 0..58, one spare

struct TMatchTrees {
    // Ring positions 0..4095; 4096..4154 repeat positions 0..58 so that any
    // 60-byte string can be read without wrapping.
    uint8_t lzhText[TextSize];
    // Right child of node 0..4095; entries 4097..8192 hold each tree's top node.
    uint16_t lzhRight[RingSize * 2 + 2];
    uint16_t lzhLeft[RingSize + 1];
    // Parent of each node (node or root index), Nil while not in a tree;
    // entry 4096 absorbs writes aimed at the parent of Nil.
    uint16_t lzhParent[RingSize + 2];
    // Leading bytes each node shares with its parent (1 below a root, <= 60).
    uint8_t lzhSame[RingSize + 2];
    uint16_t lzhMatchPos; // distance of the best match minus 1
    uint16_t lzhMatchLen; // length of the best match

    // Empties all trees.
    void InitTree();
    // Inserts the string at ring position r and leaves the longest match
    // (nearest of equals) in lzhMatchLen/lzhMatchPos.
    void InsertNode(int r);
    // Takes ring position p out of its tree.
    void DeleteNode(int p);
    // Sets lzhSame[n] to the shared prefix of n and q, comparing from start.
    void link(int start, int q, int n);
    // Fixes lzhSame[q] when q takes p's place below g.
    void linknode(int g, int p, int q);

    // The tree root of the string at r.
    int RootOf(int r) const {
        const unsigned x = lzhText[r + 1] ^ lzhText[r + 2];
        const unsigned h = (x ^ (x >> 4)) & 15;
        return FirstRoot + lzhText[r] + 256 * static_cast<int>(h);
    }
};

} // namespace zorp::lzh
