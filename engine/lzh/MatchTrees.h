// The match finder of the LZH compressor: a 4096-byte ring of text and 4096
// binary search trees over the ring positions, one per hash of a string's
// first three bytes. Each tree orders its strings by their 60-byte contents;
// a node's Same caches how many leading bytes it shares with its parent, so a
// search compares only bytes beyond what the tree already guarantees.
#pragma once

#include "engine/ByteBlocks.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace zorp::lzh {

inline constexpr int RingSize = 4096;
inline constexpr int RingMask = RingSize - 1;
inline constexpr int MaxMatch = 60;                       // longest match, also the look-ahead
inline constexpr int Threshold = 2;                       // matches up to this length are literals
inline constexpr int StartPosition = RingSize - MaxMatch; // 4036: first position written
inline constexpr int Nil = RingSize;                      // the empty link (4096)
inline constexpr int FirstRoot = RingSize + 1;            // roots are 4097 .. 8192
// 16 trees per first byte (4096 / 256), told apart by a 4-bit hash of the
// next two bytes.
inline constexpr unsigned RootHashMask = RingSize / 256 - 1;
// Ring, mirror of 0..58, one spare, and 8 bytes that let a string's last
// bytes be compared eight at a time.
inline constexpr int TextSize = RingSize + MaxMatch + 8;

// One tree node: the links and the shared-prefix length read together on
// every step of a search, in one 8-byte entry.
struct TMatchNode {
    // Left child (smaller strings) and right child (greater or equal), so
    // that a search picks the next link by index instead of by a branch.
    uint16_t Child[2];
    // Parent node or root index, Nil while not in a tree.
    uint16_t Parent;
    // Leading bytes shared with the parent (1 below a root, <= 60).
    uint8_t Same;
    uint8_t Unused;

    // The node as one loaded word, and its fields read from that word: a
    // search loads a node once and picks the child by a shift.
    static uint64_t Load(const TMatchNode& n) {
        uint64_t w;
        std::memcpy(&w, &n, sizeof w);
        return w;
    }
    static int ChildIn(uint64_t w, int dir) {
        const int shift = std::endian::native == std::endian::little ? 16 * dir : 48 - 16 * dir;
        return static_cast<int>((w >> shift) & 0xFFFF);
    }
    static int SameIn(uint64_t w) {
        const int shift = std::endian::native == std::endian::little ? 48 : 8;
        return static_cast<int>((w >> shift) & 0xFF);
    }
};
static_assert(sizeof(TMatchNode) == 8);

struct TMatchTrees {
    // Ring positions 0..4095; 4096..4154 repeat positions 0..58 so that any
    // 60-byte string can be read without wrapping.
    uint8_t lzhText[TextSize];
    // Nodes 0..4095 are ring positions; entry 4096 (Nil) absorbs writes aimed
    // at the parent of Nil.
    TMatchNode Nodes[RingSize + 1];
    // The top node of each tree; root index FirstRoot + t stands for
    // Roots[t] where a node's Parent names it.
    uint16_t Roots[RingSize];
    uint16_t lzhMatchPos; // distance of the best match minus 1
    uint16_t lzhMatchLen; // length of the best match

    // Empties all trees.
    void InitTree();
    // Inserts the string at ring position r and leaves the longest match
    // (nearest of equals) in lzhMatchLen/lzhMatchPos.
    void InsertNode(int r);
    // Takes ring position p out of its tree.
    void DeleteNode(int p);

    // The link that holds g's child p, g a node or a root index.
    uint16_t& LinkTo(int g, int p) {
        if (g >= FirstRoot)
            return Roots[g - FirstRoot];
        TMatchNode& n = Nodes[g];
        return n.Child[n.Child[1] == p ? 1 : 0];
    }

    // The tree root of the string at r.
    int RootOf(int r) const {
        const unsigned x = lzhText[r + 1] ^ lzhText[r + 2];
        const unsigned h = (x ^ (x >> 4)) & RootHashMask;
        return FirstRoot + lzhText[r] + 256 * static_cast<int>(h);
    }

    // start (< 60) plus the number of equal bytes from start on in the
    // strings at ring positions a and b, at most 60. The text has room for
    // the words read past the 60th byte.
    int SharedFrom(int a, int b, int start) const {
        return CommonPrefix(lzhText, a, b, start, MaxMatch);
    }

    // Whether the bytes loaded into x (LoadWord) come at or after those in
    // y in byte order, the first byte in memory counting most.
    static bool NotBelow(uint64_t x, uint64_t y) {
        if constexpr (std::endian::native == std::endian::little)
            return __builtin_bswap64(x) >= __builtin_bswap64(y);
        else
            return x >= y;
    }
};

} // namespace zorp::lzh
