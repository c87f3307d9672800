// Reading the head of an LZH5 block: its token count and its three codes
// (the code-length code, the character code sent through it, the position
// code), each as code lengths from which the decoding tables are built.
#include "common/Errors.h"
#include "engine/lzh5/Lzh5Decoder.h"

#include <algorithm>

namespace zorp::lzh5 {

void TDecoder::read_position_len(int nn, int nbit, int special) {
    const int n = static_cast<int>(FIn.getbits(nbit));
    if (n == 0) {
        const unsigned s = FIn.getbits(nbit);
        if (s >= static_cast<unsigned>(nn))
            throw ELZHBadDecodeTable();
        std::fill(positionLen, positionLen + nn, uint8_t{0});
        std::fill(std::begin(positionTable), std::end(positionTable), static_cast<uint16_t>(s));
        return;
    }
    if (n > nn)
        throw ELZHBadDecodeTable();
    int i = 0;
    while (i < n) {
        // 3 bits for 0 to 6; 111 followed by one bits and a zero for 7 up.
        unsigned len = FIn.bitBuf >> 13;
        if (len == 7) {
            for (unsigned mask = 1u << 12; FIn.bitBuf & mask; mask >>= 1)
                ++len;
            if (len > MaxCodeLength)
                throw ELZHBadDecodeTable();
        }
        FIn.fillbuf(len < 7 ? 3 : len - 3);
        positionLen[i++] = static_cast<uint8_t>(len);
        if (i == special) {
            // At most 3 zeros, so i stays below 7.
            for (unsigned z = FIn.getbits(2); z > 0; --z)
                positionLen[i++] = 0;
        }
    }
    std::fill(positionLen + i, positionLen + nn, uint8_t{0});
    buildtable(nn, positionLen, PositionTableBits, positionTable, tree);
}

void TDecoder::read_charLen() {
    const int n = static_cast<int>(FIn.getbits(CharCountBits));
    if (n == 0) {
        const unsigned s = FIn.getbits(CharCountBits);
        if (s >= static_cast<unsigned>(CharSymbols))
            throw ELZHBadDecodeTable();
        std::fill(std::begin(charLen), std::end(charLen), uint8_t{0});
        std::fill(std::begin(charTable), std::end(charTable), static_cast<uint16_t>(s));
        return;
    }
    if (n > CharSymbols)
        throw ELZHBadDecodeTable();
    int i = 0;
    while (i < n) {
        // The code-length code sits in the position code's table.
        const auto [t, tLength] =
            DecodeSymbol(positionTable, PositionTableBits, tree, LenCodeSymbols, positionLen,
                         uint64_t{FIn.bitBuf} << 48);
        FIn.fillbuf(tLength);
        if (t <= 2) {
            int run = 1;
            if (t == 1)
                run = static_cast<int>(FIn.getbits(4)) + 3;
            else if (t == 2)
                run = static_cast<int>(FIn.getbits(9)) + 20;
            if (run > CharSymbols - i)
                throw ELZHBadDecodeTable();
            std::fill(charLen + i, charLen + i + run, uint8_t{0});
            i += run;
        } else {
            charLen[i++] = static_cast<uint8_t>(t - 2);
        }
    }
    std::fill(charLen + i, charLen + CharSymbols, uint8_t{0});
    buildtable(CharSymbols, charLen, CharTableBits, charTable, tree);
}

void TDecoder::read_block_header() {
    blockSize = static_cast<uint16_t>(FIn.getbits(16));
    read_position_len(LenCodeSymbols, LenCodeCountBits, LenCodeSpecial);
    read_charLen();
    read_position_len(PositionSymbols, PositionCountBits, -1);
}

bool TDecoder::StartBlock() {
    try {
        read_block_header();
    } catch (const ELZHBadDecodeTable&) {
        // Codes that only made-up bits spoil say nothing about the data.
        if (!FIn.OverRead())
            throw;
    }
    return !FIn.OverRead();
}

} // namespace zorp::lzh5
