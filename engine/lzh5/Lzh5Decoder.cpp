#include "engine/lzh5/Lzh5Decoder.h"

#include "engine/DirectOutput.h"
#include "engine/Errors.h"

#include <algorithm>
#include <memory>

namespace zorp {

void TCompThreadSafety::ExpandLZH5(int32_t count) {
    if (count <= 0)
        return;
    auto decoder = std::make_unique<lzh5::TDecoder>(*this);
    decoder->Expand(count);
}

namespace lzh5 {

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
        unsigned t = positionTable[FIn.bitBuf >> 8];
        if (t >= static_cast<unsigned>(LenCodeSymbols)) {
            unsigned mask = 1u << 7;
            do {
                t = (FIn.bitBuf & mask) ? tree.treeRight[t] : tree.treeLeft[t];
                mask >>= 1;
            } while (t >= static_cast<unsigned>(LenCodeSymbols));
        }
        FIn.fillbuf(positionLen[t]);
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

unsigned TDecoder::DecodeCharFromTree(unsigned j) {
    FIn.fillbuf(CharTableBits);
    unsigned mask = 1u << 15;
    do {
        j = (FIn.bitBuf & mask) ? tree.treeRight[j] : tree.treeLeft[j];
        mask >>= 1;
    } while (j >= static_cast<unsigned>(CharSymbols));
    FIn.fillbuf(charLen[j] - CharTableBits);
    return j;
}

unsigned TDecoder::DecodePositionFromTree(unsigned j) {
    FIn.fillbuf(PositionTableBits);
    unsigned mask = 1u << 15;
    do {
        j = (FIn.bitBuf & mask) ? tree.treeRight[j] : tree.treeLeft[j];
        mask >>= 1;
    } while (j >= static_cast<unsigned>(PositionSymbols));
    FIn.fillbuf(positionLen[j] - PositionTableBits);
    return j;
}

unsigned TDecoder::DecodeChar5() {
    if (blockSize == 0) [[unlikely]]
        read_block_header();
    --blockSize;
    const unsigned j = charTable[FIn.bitBuf >> (16 - CharTableBits)];
    if (j >= static_cast<unsigned>(CharSymbols)) [[unlikely]]
        return DecodeCharFromTree(j);
    FIn.fillbuf(charLen[j]);
    return j;
}

unsigned TDecoder::DecodePosition5() {
    unsigned j = positionTable[FIn.bitBuf >> (16 - PositionTableBits)];
    if (j >= static_cast<unsigned>(PositionSymbols)) [[unlikely]]
        j = DecodePositionFromTree(j);
    else
        FIn.fillbuf(positionLen[j]);
    if (j <= 1)
        return j;
    return (1u << (j - 1)) + FIn.getbits(j - 1);
}

void TDecoder::Expand(int32_t count) {
    FIn.Start();
    std::fill(std::begin(slideText), std::end(slideText), uint8_t{0x20});
    TDirectOutput out(FEngine);
    unsigned loc = 0;
    int64_t produced = 0;
    while (produced < count) {
        const unsigned v = DecodeChar5();
        if (v <= 255) {
            slideText[loc] = static_cast<uint8_t>(v);
            out.Put(static_cast<uint8_t>(v));
            loc = (loc + 1) & WindowMask;
            ++produced;
            continue;
        }
        const unsigned len = v - LengthBias;
        const unsigned from = (loc - DecodePosition5() - 1) & WindowMask;
        produced += len;
        out.PutMatch(slideText, WindowMask, from, loc, len);
        loc = (loc + len) & WindowMask;
    }
}

} // namespace lzh5
} // namespace zorp
