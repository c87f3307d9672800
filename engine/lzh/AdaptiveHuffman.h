// The adaptive Huffman code of the LZH codec: 314 symbols (256 literal bytes
// and the match lengths 3 to 60) on a tree of 627 nodes, kept in sibling
// order (counts never decrease from node 0 to the root 626, nodes 2k and
// 2k + 1 are siblings) so that the bit leading to a node is the node number's
// lowest bit. Encoder and decoder start from the same tree and apply the same
// update after every symbol, halving all counts when the root reaches 0x8000.
#pragma once

#include <cstdint>
#include <cstring>

namespace zorp::lzh {

inline constexpr int NumSymbols = 314;              // 256 literals + 58 lengths
inline constexpr int TreeSize = NumSymbols * 2 - 1; // 627 nodes
inline constexpr int Root = TreeSize - 1;           // 626
inline constexpr uint16_t CountLimit = 0x8000;      // root count that triggers reconst

struct THuffTree {
    // Count of each node; entries 627 to 630 are 0xFFFF sentinels that end
    // upward scans (read four at a time).
    uint16_t hufFreq[TreeSize + 4];
    // Children of node i are hufSon[i] and hufSon[i] + 1, or, when the value
    // is 627 or more, node i is the leaf of symbol hufSon[i] - 627.
    uint16_t hufSon[TreeSize + 1];
    // Entries 0..626: parent of each node (the root's is 0). Entries
    // 627..940: the node holding the leaf of symbol (index - 627).
    uint16_t hufParent[TreeSize + NumSymbols + 1];
    // Two levels of a walk down the tree at once, for the decoder: entry
    // 2n + b is hufSon[hufSon[n] + b], the link reached from node n by bit
    // b; when node n is a leaf, both entries are hufSon[n] + OneLevel.
    // Kept up to date with hufSon.
    uint16_t hufGrandson[2 * TreeSize];
    static constexpr uint16_t OneLevel = 0x8000;

    // Builds the initial tree: every symbol with count 1, pairs joined in order.
    void StartHuff();
    // Counts one more occurrence of symbol v and restores the node order.
    void update(int v);
    // update in parts, for a decoder that counts the nodes of a code while
    // it walks down to the leaf. Counted top-down, a node is overtaken by a
    // node of the path just as it would be bottom-up (only its parent can
    // sit right above it, and a parent is never overtaken by its child), so
    // update's result comes out when the walk calls CountOne for every node
    // passed, then CountRoot, then Reorder for the deepest node that
    // overtook its neighbour, if any. Not while Rebuilding: then update.
    bool Rebuilding() const { return hufFreq[Root] == CountLimit; }
    // Counts one more for node n; true when it now counts more than the node
    // above it.
    bool CountOne(unsigned n) {
        uint32_t pair; // the counts of n and of the node above it, in one load
        std::memcpy(&pair, &hufFreq[n], sizeof pair);
        const auto f = static_cast<uint16_t>(pair + 1);
        hufFreq[n] = f;
        return f > (pair >> 16);
    }
    void CountRoot() { ++hufFreq[Root]; } // never moves: the 0xFFFF sentinel follows it
    // Takes the counts back from k's ancestors and does what update does
    // from k (counted already) on.
    void Reorder(unsigned k);
    // Rebuilds the tree from the leaves with halved counts.
    void reconst();

    // Leaf node of symbol v.
    int Leaf(int v) const { return hufParent[v + TreeSize]; }

private:
    // Node k, just counted f, has overtaken the nodes above it: swaps it with
    // the highest of them that still counts less (subtrees and all). Returns
    // the node k's subtree now sits at.
    unsigned MoveUp(unsigned k, unsigned f);
    // Counts one more for node k and its ancestors.
    void CountUpFrom(unsigned k);
    // Recomputes every hufGrandson entry from hufSon.
    void SetAllGrandsons();
    // hufGrandson entries of node n, from its son link.
    void SetGrandsons(unsigned n) {
        const unsigned s = hufSon[n];
        if (s >= TreeSize) {
            hufGrandson[size_t{2} * n] = hufGrandson[size_t{2} * n + 1] =
                static_cast<uint16_t>(s | OneLevel);
        } else {
            hufGrandson[size_t{2} * n] = hufSon[s];
            hufGrandson[size_t{2} * n + 1] = hufSon[s + 1];
        }
    }
    // The entries that depend on hufSon[n]: n's own and its parent's.
    void SonChanged(unsigned n) {
        SetGrandsons(n);
        hufGrandson[2 * hufParent[n] + (n & 1)] = hufSon[n];
    }
};

} // namespace zorp::lzh
