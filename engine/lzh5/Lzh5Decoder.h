// The LZH5 expander's working state for one call of ExpandLZH5: the bit
// input, the three decoding tables of the current block and the history of
// recent output. Allocated once per call and released when the call ends,
// however it ends.
//
// Output is decoded into a history buffer that keeps at least the last window
// (8192 bytes) behind the write position, so a match is a plain copy from
// earlier in the same buffer. While the input buffer holds enough bytes that
// no token can need a byte beyond it, a stretch of tokens is decoded with the
// bit state in local variables and then put out at once with PutBytes
// (ExpandStretch): nothing is read from the source inside such a stretch, and
// PutBytes writes full buffers and raises at the end of the budget exactly as
// byte after byte would. The tokens near the end of the input buffer and the
// block headers go through the byte I/O one at a time (ExpandToken), so
// refills and progress events fall on the same bits as with a byte-at-a-time
// decoder, and so does everything else observable. Those are also the only
// tokens that can meet the end of the input, so they alone check for it.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/History.h"
#include "engine/lzh5/Lzh5BitInput.h"
#include "engine/lzh5/Lzh5Constants.h"
#include "engine/lzh5/Lzh5DecodeTable.h"

#include <cstdint>

namespace zorp::lzh5 {

class TDecoder {
public:
    explicit TDecoder(TCompThreadSafety& Engine) : FEngine(Engine), FIn(Engine) {}

    // Writes count bytes, fewer when the input ends first: a block header or
    // token that needs bits past the end of the input writes nothing, and
    // decoding stops there. A last match running past count is cut there;
    // returns how many of its bytes were decoded past count (0 to 255).
    int32_t Expand(int32_t count);

private:
    // Block headers (Lzh5BlockHeader.cpp).
    // Reads the code-length code (nn = 19) or the position code (nn = 14)
    // into positionLen and positionTable; special is the index after which
    // a 2-bit zero run follows, or -1.
    void read_position_len(int nn, int nbit, int special);
    // Reads the character code lengths into charLen and builds charTable.
    void read_charLen();
    // Reads the header of the next block: its token count and its codes.
    void read_block_header();
    // read_block_header; false when the header needs bits past the end of
    // the input, whatever codes the made-up bits would make.
    bool StartBlock();

    // One token through the byte I/O, reading a block header first when one
    // is due; puts out at most wanted of its bytes. Returns the number of
    // bytes it decoded, 0 when it or its header needs bits past the end.
    unsigned ExpandToken(int64_t wanted);
    // Tokens decoded from the input buffer into the history while nothing
    // observable can happen (see above), then put out, at most wanted bytes;
    // tokens are started while fewer than wanted bytes are decoded. Returns
    // the number of bytes decoded, 0 when not even one token could be decoded
    // this way.
    int64_t ExpandStretch(int64_t wanted);
    // Symbols of the character and the position code at the next bits
    // (left-aligned in bits).
    TTableSymbol CharAt(uint64_t bits) const {
        return DecodeSymbol(charTable, CharTableBits, tree, CharSymbols, charLen, bits);
    }
    TTableSymbol PositionAt(uint64_t bits) const {
        return DecodeSymbol(positionTable, PositionTableBits, tree, PositionSymbols, positionLen,
                            bits);
    }

    TCompThreadSafety& FEngine;
    TBitInput FIn;
    uint16_t blockSize = 0;      // tokens left in the current block
    uint8_t* FHistPos = nullptr; // next byte of output in FHistory
    uint8_t charLen[CharSymbols];
    uint8_t positionLen[LenCodeSymbols];
    uint16_t charTable[1 << CharTableBits];
    uint16_t positionTable[1 << PositionTableBits];
    TDecodeTree tree;
    THistory<WindowSize> FHistory; // less than a window of room left: the last one moves
};

} // namespace zorp::lzh5
