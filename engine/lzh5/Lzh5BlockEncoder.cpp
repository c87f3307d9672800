#include "engine/lzh5/Lzh5BlockEncoder.h"

#include <algorithm>

namespace zorp::lzh5 {

// The code-length symbols needed to send charLen: t = length + 2 for a
// non-zero length; zero runs as 0 (one zero), 1 (3 to 18 zeros), 2 (20 and
// more), a run of 19 as 0 then 1.
void TBlockEncoder::count_t_freq() {
    std::fill(lenCodeFreq, lenCodeFreq + LenCodeSymbols, uint16_t{0});
    int n = CharSymbols;
    while (n > 0 && charLen[n - 1] == 0)
        --n;
    int i = 0;
    while (i < n) {
        const int k = charLen[i++];
        if (k != 0) {
            ++lenCodeFreq[k + 2];
            continue;
        }
        int run = 1;
        while (i < n && charLen[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            lenCodeFreq[0] = static_cast<uint16_t>(lenCodeFreq[0] + run);
        } else if (run <= 18) {
            ++lenCodeFreq[1];
        } else if (run == 19) {
            ++lenCodeFreq[0];
            ++lenCodeFreq[1];
        } else {
            ++lenCodeFreq[2];
        }
    }
}

// Lengths of the code-length code or the position code: 3 bits for 0 to 6,
// otherwise length - 4 one bits and a zero after 111.
void TBlockEncoder::write_position_len(int n, int nbit, int special) {
    while (n > 0 && positionLen[n - 1] == 0)
        --n;
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

void TBlockEncoder::write_charLen() {
    int n = CharSymbols;
    while (n > 0 && charLen[n - 1] == 0)
        --n;
    FOut.putbits(CharCountBits, n);
    int i = 0;
    while (i < n) {
        const int k = charLen[i++];
        if (k != 0) {
            FOut.putcode5(positionLen[k + 2], positionCode[k + 2]);
            continue;
        }
        int run = 1;
        while (i < n && charLen[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (; run > 0; --run)
                FOut.putcode5(positionLen[0], positionCode[0]);
        } else if (run <= 18) {
            FOut.putcode5(positionLen[1], positionCode[1]);
            FOut.putbits(4, run - 3);
        } else if (run == 19) {
            FOut.putcode5(positionLen[0], positionCode[0]);
            FOut.putcode5(positionLen[1], positionCode[1]);
            FOut.putbits(4, 15);
        } else {
            FOut.putcode5(positionLen[2], positionCode[2]);
            FOut.putbits(CharCountBits, run - 20);
        }
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
        count_t_freq();
        const int root2 = FTree.buildtree(LenCodeSymbols, lenCodeFreq, positionLen, positionCode);
        if (root2 >= LenCodeSymbols) {
            write_position_len(LenCodeSymbols, LenCodeCountBits, LenCodeSpecial);
        } else {
            FOut.putbits(LenCodeCountBits, 0);
            FOut.putbits(LenCodeCountBits, root2);
        }
        write_charLen();
    } else {
        FOut.putbits(LenCodeCountBits, 0);
        FOut.putbits(LenCodeCountBits, 0);
        FOut.putbits(CharCountBits, 0);
        FOut.putbits(CharCountBits, root);
    }
    // The position code reuses positionLen and positionCode, so it is built
    // only after the character lengths are written.
    const int root3 = FTree.buildtree(PositionSymbols, positionFreq, positionLen, positionCode);
    if (root3 >= PositionSymbols) {
        write_position_len(PositionSymbols, PositionCountBits, -1);
    } else {
        FOut.putbits(PositionCountBits, 0);
        FOut.putbits(PositionCountBits, root3);
    }

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
