#include "engine/lzh5/Lzh5DecodeTable.h"

#include "common/Errors.h"
#include "engine/lzh5/Lzh5Constants.h"

#include <algorithm>
#include <cstring>

namespace zorp::lzh5 {

namespace {

// Stores entry into the width entries from at on, width a power of two; the
// stores are as wide as the width allows, eight entries at most.
void FillEntries(uint16_t* at, uint32_t width, uint16_t entry) {
    if (width >= 8) {
        uint16_t eight[8];
        std::fill_n(eight, 8, entry);
        for (uint32_t k = 0; k < width; k += 8)
            std::memcpy(at + k, eight, sizeof eight);
    } else if (width == 4) {
        const uint64_t four = entry * 0x0001000100010001ull;
        std::memcpy(at, &four, sizeof four);
    } else if (width == 2) {
        const uint32_t two = entry * 0x00010001u;
        std::memcpy(at, &two, sizeof two);
    } else {
        *at = entry;
    }
}

} // namespace

// Builds a decode table from hostile code lengths: every check stays next
// to the step it guards.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void buildtable(int nchar, const uint8_t* bitlen, int tablebits, uint16_t* table,
                TDecodeTree& tree) {
    // Canonical code: start[len] is the first code of that length, left-aligned
    // in 16 bits. The sums are kept in 32 bits, so an over-full set of lengths
    // shows as a total above 65536 instead of wrapping to look complete.
    uint32_t count[MaxCodeLength + 1] = {};
    uint32_t weight[MaxCodeLength + 2] = {};
    uint32_t start[MaxCodeLength + 2] = {};
    for (int s = 0; s < nchar; ++s) {
        if (bitlen[s] > MaxCodeLength)
            throw ELZHBadDecodeTable();
        ++count[bitlen[s]];
    }
    for (int len = 1; len <= MaxCodeLength; ++len) {
        weight[len] = 1u << (MaxCodeLength - len);
        start[len + 1] = start[len] + count[len] * weight[len];
    }
    const uint32_t tableSize = 1u << tablebits;
    const uint32_t total = start[MaxCodeLength + 1];
    if (total == 0) {
        std::fill(table, table + tableSize, uint16_t{0});
        return;
    }
    if (total != 1u << MaxCodeLength)
        throw ELZHBadDecodeTable();

    // The symbols by code length, in symbol order within a length: the
    // order in which codes of one length are given out. Unused symbols
    // (length 0) come first and are skipped.
    uint16_t bySize[CharSymbols];
    uint32_t next[MaxCodeLength + 1];
    next[0] = 0;
    for (int len = 1; len <= MaxCodeLength; ++len)
        next[len] = next[len - 1] + count[len - 1];
    for (int s = 0; s < nchar; ++s)
        bySize[next[bitlen[s]]++] = static_cast<uint16_t>(s);
    const uint16_t* sym = bySize + count[0];

    const int m = MaxCodeLength - tablebits;
    for (int len = 1; len <= tablebits; ++len) {
        start[len] >>= m;
        weight[len] >>= m;
    }
    // Entries past the directly coded ones become roots of overflow trees.
    std::fill(table + (start[tablebits + 1] >> m), table + tableSize, uint16_t{0});

    // Codes that fit the table: each fills its run of entries.
    for (int len = 1; len <= tablebits; ++len) {
        uint16_t* at = table + start[len];
        for (uint32_t j = 0; j < count[len]; ++j, at += weight[len])
            FillEntries(at, weight[len], static_cast<uint16_t>(*sym++ | len << EntryLengthShift));
    }
    // Longer codes: a path through an overflow tree below their entry.
    unsigned avail = static_cast<unsigned>(nchar);
    for (int len = tablebits + 1; len <= MaxCodeLength; ++len) {
        for (uint32_t j = 0; j < count[len]; ++j) {
            uint16_t* link = &table[start[len] >> m];
            unsigned i = (start[len] << tablebits) & 0xFFFF;
            for (int step = len - tablebits; step > 0; --step) {
                if (*link == 0) {
                    if (avail >= static_cast<unsigned>(TreeNodes))
                        throw ELZHBadDecodeTable();
                    tree.treeRight[avail] = tree.treeLeft[avail] = 0;
                    *link = static_cast<uint16_t>(avail++);
                }
                link = (i & 0x8000) ? &tree.treeRight[*link] : &tree.treeLeft[*link];
                i = (i << 1) & 0xFFFF;
            }
            *link = *sym++;
            start[len] += weight[len];
        }
    }
}

} // namespace zorp::lzh5
