#include "engine/lzh5/Lzh5DecodeTable.h"

#include "engine/Errors.h"
#include "engine/lzh5/Lzh5Constants.h"

#include <algorithm>
#include <cstring>

namespace zorp::lzh5 {

namespace {

// table[first .. last - 1] = entry, four entries to a store where it can.
void FillEntries(uint16_t* first, uint16_t* last, uint16_t entry) {
    const uint64_t four = entry * 0x0001000100010001ull;
    for (; last - first >= 4; first += 4)
        std::memcpy(first, &four, sizeof four);
    for (; first != last; ++first)
        *first = entry;
}

} // namespace

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

    const int m = MaxCodeLength - tablebits;
    for (int len = 1; len <= tablebits; ++len) {
        start[len] >>= m;
        weight[len] >>= m;
    }
    // Entries past the directly coded ones become roots of overflow trees.
    std::fill(table + (start[tablebits + 1] >> m), table + tableSize, uint16_t{0});

    unsigned avail = static_cast<unsigned>(nchar);
    for (int s = 0; s < nchar; ++s) {
        const int k = bitlen[s];
        if (k == 0)
            continue;
        const uint32_t l = start[k] + weight[k];
        if (k <= tablebits) {
            FillEntries(table + start[k], table + l,
                        static_cast<uint16_t>(s | k << EntryLengthShift));
        } else {
            uint16_t* link = &table[start[k] >> m];
            unsigned i = (start[k] << tablebits) & 0xFFFF;
            for (int step = k - tablebits; step > 0; --step) {
                if (*link == 0) {
                    if (avail >= static_cast<unsigned>(TreeNodes))
                        throw ELZHBadDecodeTable();
                    tree.treeRight[avail] = tree.treeLeft[avail] = 0;
                    *link = static_cast<uint16_t>(avail++);
                }
                link = (i & 0x8000) ? &tree.treeRight[*link] : &tree.treeLeft[*link];
                i = (i << 1) & 0xFFFF;
            }
            *link = static_cast<uint16_t>(s);
        }
        start[k] = l;
    }
}

} // namespace zorp::lzh5
