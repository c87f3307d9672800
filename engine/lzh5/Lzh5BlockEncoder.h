// Block coding of the LZH5 compressor. Tokens are collected in a block
// buffer (a flag byte per group of 8 tokens; a literal takes one byte, a
// match three: length - 3, then the distance code high byte first) together
// with their symbol counts. When the buffer is full, and at the end, the
// block is sent: three Huffman codes are built from the counts and written
// at the head of the block, then the tokens are replayed with them.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh5/Lzh5BitOutput.h"
#include "engine/lzh5/Lzh5Constants.h"
#include "engine/lzh5/Lzh5TreeBuilder.h"

#include <cstdint>

namespace zorp::lzh5 {

class TBlockEncoder {
public:
    explicit TBlockEncoder(TCompThreadSafety& Engine) : FOut(Engine) {}

    // Adds one token: a literal byte c (p unused) or a match of length
    // c - 253 at distance p + 1. Sends the block when a new group of 8
    // tokens would start at or beyond the flush point.
    void OutputCodes(unsigned c, unsigned p) {
        outputMask >>= 1;
        if (outputMask == 0) {
            outputMask = 0x80;
            if (outputPos >= BlockFlushPoint) {
                send_block();
                outputPos = 0;
            }
            flagPos = outputPos;
            blockBuf[outputPos++] = 0;
        }
        blockBuf[outputPos++] = static_cast<uint8_t>(c);
        ++charFreq[c];
        if (c >= 256) {
            blockBuf[flagPos] = static_cast<uint8_t>(blockBuf[flagPos] | outputMask);
            blockBuf[outputPos++] = static_cast<uint8_t>(p >> 8);
            blockBuf[outputPos++] = static_cast<uint8_t>(p);
            ++positionFreq[PositionSymbol(p)];
        }
    }

    // Sends the last block and completes the final byte with zero bits.
    void Finish() {
        send_block();
        FOut.putbits(7, 0);
        FOut.flush();
    }

    // Builds the codes of the collected tokens and writes the block (its
    // last incomplete byte stays in the bit output).
    void send_block();

private:
    // One symbol of the code-length code (0 to 18) and the extra bits that
    // follow it (ExtraBits wide, none when 0).
    struct TLenItem {
        uint8_t Symbol;
        uint8_t ExtraBits;
        uint16_t Extra;
    };

    int make_len_items(int n);
    void write_position_len(int n, int nbit, int special);
    void write_single(int nbit, int symbol);
    void write_char_code();
    void encode_char(unsigned c) { FOut.putcode5(charLen[c], charCode[c]); }
    void encode_position(unsigned p);

    TBitOutput FOut;
    TTreeBuilder FTree;
    uint16_t outputPos = 0;
    uint16_t outputMask = 0;
    uint16_t flagPos = 0;
    // Counts of the block; entries from the symbol count up take node sums.
    uint16_t charFreq[TreeNodes] = {};
    uint16_t positionFreq[2 * PositionSymbols] = {};
    uint16_t lenCodeFreq[2 * LenCodeSymbols] = {};
    uint8_t charLen[CharSymbols] = {};
    uint16_t charCode[CharSymbols] = {};
    // Shared by the code-length code and the position code, as in the stream.
    uint8_t positionLen[LenCodeSymbols] = {};
    uint16_t positionCode[LenCodeSymbols] = {};
    // The character code lengths as code-length items; each takes at least
    // one length.
    TLenItem lenItems[CharSymbols] = {};
    uint8_t blockBuf[BlockBufferSize] = {};
};

} // namespace zorp::lzh5
