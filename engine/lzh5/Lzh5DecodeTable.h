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

// Builds the table of 2^tablebits entries for the code whose lengths (0 to 16)
// are bitlen[0 .. nchar - 1]. Raises ELZHBadDecodeTable unless the lengths form
// a complete prefix code. A code with no symbols at all decodes everything as
// symbol 0 in zero bits (all entries 0).
void buildtable(int nchar, const uint8_t* bitlen, int tablebits, uint16_t* table,
                TDecodeTree& tree);

} // namespace zorp::lzh5
