#include "engine/lzh5/Lzh5BlockEncoder.h"

#include <algorithm>

namespace zorp::lzh5 {

namespace {
// The number of symbols up to the last one with a non-zero length.
int UsedSymbols(const uint8_t* len, int n) {
    while (n > 0 && len[n - 1] == 0)
        --n;
    return n;
}
} // namespace

// Turns the first n character code lengths into code-length items and
// returns their number: t = length + 2 for a non-zero length; zero runs as
// 0 (one zero), 1 and 4 bits (3 to 18 zeros), 2 and 9 bits (20 and more),
// a run of 19 as 0 then 1.
int TBlockEncoder::make_len_items(int n) {
    int count = 0;
    auto add = [&](int symbol, int extraBits, int extra) {
        lenItems[count++] = {static_cast<uint8_t>(symbol), static_cast<uint8_t>(extraBits),
                             static_cast<uint16_t>(extra)};
    };
    int i = 0;
    while (i < n) {
        const int k = charLen[i++];
        if (k != 0) {
            add(k + 2, 0, 0);
            continue;
        }
        int run = 1;
        while (i < n && charLen[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (; run > 0; --run)
                add(0, 0, 0);
        } else if (run <= 18) {
            add(1, 4, run - 3);
        } else if (run == 19) {
            add(0, 0, 0);
            add(1, 4, 15);
        } else {
            add(2, CharCountBits, run - 20);
        }
    }
    return count;
}

// Lengths of the code-length code or the position code: 3 bits for 0 to 6,
// otherwise length - 4 one bits and a zero after 111.
void TBlockEncoder::write_position_len(int n, int nbit, int special) {
    n = UsedSymbols(positionLen, n);
    FOut.putbits(nbit, n);
    int i = 0;
    while (i < n) {
        const int k = positionLen[i++];
        if (k <= 6)
            FOut.putbits(3, k);
        else
            FOut.putbits(k - 3, 0xFFFE);
        if (i == special) {
            while (i < 6 && positionLen[i] == 0)
                ++i;
            FOut.putbits(2, i - 3);
        }
    }
}

// A code with a single symbol: a count of 0, then the symbol.
void TBlockEncoder::write_single(int nbit, int symbol) {
    FOut.putbits(nbit, 0);
    FOut.putbits(nbit, symbol);
}

// The code-length code, built from the items of the character code lengths,
// then the items with it.
void TBlockEncoder::write_char_code() {
    const int n = UsedSymbols(charLen, CharSymbols);
    const int items = make_len_items(n);
    std::fill(lenCodeFreq, lenCodeFreq + LenCodeSymbols, uint16_t{0});
    for (int i = 0; i < items; ++i)
        ++lenCodeFreq[lenItems[i].Symbol];
    const int root = FTree.buildtree(LenCodeSymbols, lenCodeFreq, positionLen, positionCode);
    if (root >= LenCodeSymbols)
        write_position_len(LenCodeSymbols, LenCodeCountBits, LenCodeSpecial);
    else
        write_single(LenCodeCountBits, root);
    FOut.putbits(CharCountBits, n);
    for (int i = 0; i < items; ++i) {
        const TLenItem item = lenItems[i];
        FOut.putcode5(positionLen[item.Symbol], positionCode[item.Symbol]);
        if (item.ExtraBits != 0)
            FOut.putbits(item.ExtraBits, item.Extra);
    }
}

// Inline: a plain member would be called through the PLT of the shared
// library, once per match.
inline void TBlockEncoder::encode_position(unsigned p) {
    const int j = PositionSymbol(p);
    FOut.putcode5(positionLen[j], positionCode[j]);
    if (j >= 2)
        FOut.putbits(j - 1, p);
}

void TBlockEncoder::send_block() {
    const int root = FTree.buildtree(CharSymbols, charFreq, charLen, charCode);
    const unsigned size = charFreq[root];
    FOut.putbits(16, size);
    if (root >= CharSymbols) {
        write_char_code();
    } else {
        // One character symbol: the unused code-length code goes as symbol 0.
        write_single(LenCodeCountBits, 0);
        write_single(CharCountBits, root);
    }
    // The position code reuses positionLen and positionCode, so it is built
    // only after the character lengths are written.
    const int root3 = FTree.buildtree(PositionSymbols, positionFreq, positionLen, positionCode);
    if (root3 >= PositionSymbols)
        write_position_len(PositionSymbols, PositionCountBits, -1);
    else
        write_single(PositionCountBits, root3);

    unsigned pos = 0;
    unsigned flags = 0;
    for (unsigned i = 0; i < size; ++i) {
        if (i % 8 == 0)
            flags = blockBuf[pos++];
        else
            flags = (flags << 1) & 0xFF;
        if (flags & 0x80) {
            encode_char(blockBuf[pos] + 256u);
            encode_position((unsigned{blockBuf[pos + 1]} << 8) | blockBuf[pos + 2]);
            pos += 3;
        } else {
            encode_char(blockBuf[pos++]);
        }
    }
    std::fill(charFreq, charFreq + CharSymbols, uint16_t{0});
    std::fill(positionFreq, positionFreq + PositionSymbols, uint16_t{0});
    FOut.flush();
}

} // namespace zorp::lzh5
