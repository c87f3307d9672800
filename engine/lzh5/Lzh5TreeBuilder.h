// Length-limited Huffman codes for the LZH5 compressor. buildtree merges the
// two least frequent nodes of a heap until one is left, counts leaf depths,
// pushes depths beyond 16 back up to 16 while keeping the code complete, and
// assigns canonical codes (shorter first, equal lengths in symbol order).
#pragma once

#include "engine/lzh5/Lzh5Constants.h"

#include <cstdint>

namespace zorp::lzh5 {

class TTreeBuilder {
public:
    // Builds the code of the n symbols counted in freq (which must have room
    // for 2n - 1 entries: merged nodes store their sums from n up). Fills
    // len (0 for unused symbols) and code (left-aligned in 16 bits). Returns
    // the root node, which is n or more when two or more symbols occur; with
    // one symbol it returns that symbol (code 0, length 0), with none 0.
    int buildtree(int n, uint16_t* freq, uint8_t* len, uint16_t* code);

    // Links of the merged nodes, valid after buildtree.
    uint16_t treeLeft[TreeNodes];
    uint16_t treeRight[TreeNodes];

private:
    void sift_down(int i);
    void count_depths(int i);
    void limit_lengths(int root);
    void assign_codes(int n, const uint8_t* len, uint16_t* code);

    int FSymbols = 0;            // n of the current build
    uint16_t* FFreq = nullptr;   // counts and node sums
    uint8_t* FLen = nullptr;     // lengths being built
    uint16_t* FLeaves = nullptr; // leaf list, in the order leaves left the heap
    int FLeafCount = 0;
    int heapSize = 0;
    int heap[CharSymbols + 1]; // 1-based node numbers
    int len_cnt[MaxCodeLength + 1];
    int treeDepth = 0;
};

} // namespace zorp::lzh5
