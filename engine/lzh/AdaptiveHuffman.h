// The adaptive Huffman code of the LZH codec: 314 symbols (256 literal bytes
// and the match lengths 3 to 60) on a tree of 627 nodes, kept in sibling
// order (counts never decrease from node 0 to the root 626, nodes 2k and
// 2k + 1 are siblings) so that the bit leading to a node is the node number's
// lowest bit. Encoder and decoder start from the same tree and apply the same
// update after every symbol, halving all counts when the root reaches 0x8000.
#pragma once

#include <cstdint>

namespace zorp::lzh {

inline constexpr int NumSymbols = 314;              // 256 literals + 58 lengths
inline constexpr int TreeSize = NumSymbols * 2 - 1; // 627 nodes
inline constexpr int Root = TreeSize - 1;           // 626
inline constexpr uint16_t CountLimit = 0x8000;      // root count that triggers reconst

struct THuffTree {
    // Count of each node; entry 627 is a 0xFFFF sentinel that ends upward scans.
    uint16_t hufFreq[TreeSize + 1];
    // Children of node i are hufSon[i] and hufSon[i] + 1, or, when the value
    // is 627 or more, node i is the leaf of symbol hufSon[i] - 627.
    uint16_t hufSon[TreeSize + 1];
    // Entries 0..626: parent of each node (the root's is 0). Entries
    // 627..940: the node holding the leaf of symbol (index - 627).
    uint16_t hufParent[TreeSize + NumSymbols + 1];

    // Builds the initial tree: every symbol with count 1, pairs joined in order.
    void StartHuff();
    // Counts one more occurrence of symbol v and restores the node order.
    void update(int v);
    // Rebuilds the tree from the leaves with halved counts.
    void reconst();

    // Leaf node of symbol v.
    int Leaf(int v) const { return hufParent[v + TreeSize]; }
};

} // namespace zorp::lzh
