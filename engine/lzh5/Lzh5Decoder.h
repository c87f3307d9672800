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
// decoder, and so does everything else observable.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh5/Lzh5BitInput.h"
#include "engine/lzh5/Lzh5Constants.h"
#include "engine/lzh5/Lzh5DecodeTable.h"

#include <cstdint>

namespace zorp::lzh5 {

// The history: one window of earlier output in front, room for three more
// behind it. When less than a window of room is left, the last window is
// moved to the front.
inline constexpr int HistorySize = 4 * WindowSize;

class TDecoder {
public:
    explicit TDecoder(TCompThreadSafety& Engine) : FEngine(Engine), FIn(Engine) {}

    // Writes at least count bytes (a match is always copied whole); the
    // stream reads as zero bits past the end of the input.
    void Expand(int32_t count);

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

    // One token through the byte I/O, reading a block header first when one
    // is due; returns the number of bytes it wrote.
    unsigned ExpandToken();
    // Tokens decoded from the input buffer into the history while nothing
    // observable can happen (see above), then put out; tokens are started
    // while fewer than wanted bytes are written. Returns the number of bytes
    // written, 0 when not even one token could be decoded this way.
    int64_t ExpandStretch(int64_t wanted);
    // Moves the last window to the front of the history when less than a
    // window of room is left behind the write position.
    void KeepHistoryRoom();

    TCompThreadSafety& FEngine;
    TBitInput FIn;
    uint16_t blockSize = 0;      // tokens left in the current block
    uint8_t* FHistPos = nullptr; // next byte of output in FHistory
    uint8_t charLen[CharSymbols];
    uint8_t positionLen[LenCodeSymbols];
    uint16_t charTable[1 << CharTableBits];
    uint16_t positionTable[1 << PositionTableBits];
    TDecodeTree tree;
    uint8_t FHistory[HistorySize];
};

} // namespace zorp::lzh5
