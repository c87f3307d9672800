// Decoding tables of the LZH5 expander: a direct lookup table indexed by the
// next tablebits bits of the stream, and for longer codes a small binary tree
// hanging from the table entries (node numbers from the symbol count up).
#pragma once

#include "engine/lzh5/Lzh5Constants.h"

#include <cstdint>

namespace zorp::lzh5 {

// The two link arrays of the overflow trees, shared by all three codes.
struct TDecodeTree {
    uint16_t treeLeft[TreeNodes];
    uint16_t treeRight[TreeNodes];
};

// A table entry: the symbol (or overflow-tree node) in the low 10 bits and,
// for a symbol, the length of its code above them, so that one lookup gives
// both.
inline constexpr unsigned EntrySymbolMask = 0x3FF;
inline constexpr unsigned EntryLengthShift = 10;

// Builds the table of 2^tablebits entries for the code whose lengths (0 to 16)
// are bitlen[0 .. nchar - 1], nchar at most CharSymbols. Raises
// ELZHBadDecodeTable unless the lengths form a complete prefix code. A code
// with no symbols at all decodes everything as symbol 0 in zero bits (all
// entries 0).
void buildtable(int nchar, const uint8_t* bitlen, int tablebits, uint16_t* table,
                TDecodeTree& tree);

// The symbol of a code longer than its table's width: a walk from the
// overflow-tree node the table gave, along the stream's bits after the first
// tablebits (bits holds the next bits of the stream, left-aligned).
inline unsigned WalkOverflowTree(const TDecodeTree& tree, unsigned node, unsigned nchar,
                                 uint64_t bits, int tablebits) {
    uint64_t mask = uint64_t{1} << (63 - tablebits);
    do {
        node = (bits & mask) ? tree.treeRight[node] : tree.treeLeft[node];
        mask >>= 1;
    } while (node >= nchar);
    return node;
}

// A symbol read through a table and the length of its code.
struct TTableSymbol {
    unsigned Symbol;
    unsigned Length;
};

// The symbol that the next bits of the stream (left-aligned in bits) stand
// for in a code with nchar symbols, its table of 2^tablebits entries and its
// code lengths bitlen: one lookup, and the overflow tree for longer codes.
inline TTableSymbol DecodeSymbol(const uint16_t* table, int tablebits, const TDecodeTree& tree,
                                 unsigned nchar, const uint8_t* bitlen, uint64_t bits) {
    const unsigned entry = table[bits >> (64 - tablebits)];
    const unsigned v = entry & EntrySymbolMask;
    if (v >= nchar) [[unlikely]] {
        const unsigned s = WalkOverflowTree(tree, v, nchar, bits, tablebits);
        return {s, bitlen[s]};
    }
    return {v, entry >> EntryLengthShift};
}

} // namespace zorp::lzh5
