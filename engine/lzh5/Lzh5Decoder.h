// The LZH5 expander's working state for one call of ExpandLZH5: the bit
// input, the three decoding tables of the current block and the 8192-byte
// ring of recent output. Allocated once per call and released when the call
// ends, however it ends.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh5/Lzh5BitInput.h"
#include "engine/lzh5/Lzh5Constants.h"
#include "engine/lzh5/Lzh5DecodeTable.h"

#include <cstdint>

namespace zorp::lzh5 {

class TDecoder {
public:
    explicit TDecoder(TCompThreadSafety& Engine) : FEngine(Engine), FIn(Engine) {}

    // Writes at least count bytes (a match is always copied whole); the
    // stream reads as zero bits past the end of the input.
    void Expand(int32_t count);

private:
    // Reads the code-length code (nn = 19) or the position code (nn = 14)
    // into positionLen and positionTable; special is the index after which
    // a 2-bit zero run follows, or -1.
    void read_position_len(int nn, int nbit, int special);
    // Reads the character code lengths into charLen and builds charTable.
    void read_charLen();
    // Reads the header of the next block: its token count and its codes.
    void read_block_header();
    // The next character symbol, reading a block header when one is due;
    // inlined into the expansion loop, as the table lookup is the common case.
    [[gnu::always_inline]] inline unsigned DecodeChar5();
    // The next distance code (distance - 1), likewise inlined.
    [[gnu::always_inline]] inline unsigned DecodePosition5();
    // The rest of a code longer than its table's width, j being the table
    // entry: a walk down the overflow tree.
    unsigned DecodeCharFromTree(unsigned j);
    unsigned DecodePositionFromTree(unsigned j);

    TCompThreadSafety& FEngine;
    TBitInput FIn;
    uint16_t blockSize = 0; // tokens left in the current block
    uint8_t slideText[WindowSize];
    uint8_t charLen[CharSymbols];
    uint8_t positionLen[LenCodeSymbols];
    uint16_t charTable[1 << CharTableBits];
    uint16_t positionTable[1 << PositionTableBits];
    TDecodeTree tree;
};

} // namespace zorp::lzh5
