#include "engine/lzh/AdaptiveHuffman.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zorp::lzh {

void THuffTree::StartHuff() {
    for (int i = 0; i < NumSymbols; ++i) {
        hufFreq[i] = 1;
        hufSon[i] = static_cast<uint16_t>(i + TreeSize);
        hufParent[i + TreeSize] = static_cast<uint16_t>(i);
    }
    for (int i = 0, j = NumSymbols; j <= Root; i += 2, ++j) {
        hufFreq[j] = static_cast<uint16_t>(hufFreq[i] + hufFreq[i + 1]);
        hufSon[j] = static_cast<uint16_t>(i);
        hufParent[i] = hufParent[i + 1] = static_cast<uint16_t>(j);
    }
    for (int i = TreeSize; i < TreeSize + 4; ++i)
        hufFreq[i] = 0xFFFF;
    hufParent[Root] = 0;
    SetAllGrandsons();
}

void THuffTree::SetAllGrandsons() {
    for (unsigned n = 0; n < TreeSize; ++n)
        SetGrandsons(n);
}

void THuffTree::reconst() {
    // Leaves, in node order, into nodes 0..313 with halved counts.
    int j = 0;
    for (int i = 0; i < TreeSize; ++i) {
        if (hufSon[i] >= TreeSize) {
            hufFreq[j] = static_cast<uint16_t>((hufFreq[i] + 1u) / 2u);
            hufSon[j] = hufSon[i];
            ++j;
        }
    }
    // Join pairs; each new node goes after all nodes of equal count. The
    // counts so far never decrease from node 0 on, so the place is found by
    // bisection.
    for (int i = 0, n = NumSymbols; n < TreeSize; i += 2, ++n) {
        const unsigned f = hufFreq[i] + hufFreq[i + 1];
        const int k = static_cast<int>(std::upper_bound(hufFreq, hufFreq + n, f) - hufFreq);
        const size_t moved = static_cast<size_t>(n - k);
        std::memmove(&hufFreq[k + 1], &hufFreq[k], moved * sizeof hufFreq[0]);
        std::memmove(&hufSon[k + 1], &hufSon[k], moved * sizeof hufSon[0]);
        hufFreq[k] = static_cast<uint16_t>(f);
        hufSon[k] = static_cast<uint16_t>(i);
    }
    // Parents from the new son links.
    for (int k = 0; k < TreeSize; ++k) {
        const int s = hufSon[k];
        hufParent[s] = static_cast<uint16_t>(k);
        if (s < TreeSize)
            hufParent[s + 1] = static_cast<uint16_t>(k);
    }
    SetAllGrandsons();
}

void THuffTree::update(int v) {
    if (hufFreq[Root] == CountLimit) [[unlikely]]
        reconst();
    CountUpFrom(hufParent[v + TreeSize]);
}

void THuffTree::Reorder(unsigned k) {
    for (unsigned a = hufParent[k]; a != 0; a = hufParent[a])
        --hufFreq[a];
    const unsigned parent = hufParent[MoveUp(k, hufFreq[k])];
    if (parent != 0)
        CountUpFrom(parent);
}

void THuffTree::CountUpFrom(unsigned k) {
    do {
        const unsigned f = hufFreq[k] + 1u;
        hufFreq[k] = static_cast<uint16_t>(f);
        if (f > hufFreq[k + 1]) [[unlikely]]
            k = MoveUp(k, f);
        k = hufParent[k];
    } while (k != 0);
}

unsigned THuffTree::MoveUp(unsigned k, unsigned f) {
    // l: the highest node above k whose count is still below f. Counts never
    // decrease upwards, so those above k that are below f count f - 1, as k
    // did; four counts at a time, the first that differs ends them.
    unsigned l = k + 1;
    const uint64_t run = 0x0001000100010001ull * (f - 1);
    for (;;) {
        uint64_t four;
        std::memcpy(&four, &hufFreq[l + 1], sizeof four);
        const uint64_t x = four ^ run;
        // The top bit of every 16-bit part of x that is not zero.
        const uint64_t differ =
            (x | ((x & 0x7FFF7FFF7FFF7FFFull) + 0x7FFF7FFF7FFF7FFFull)) & 0x8000800080008000ull;
        if (differ != 0) {
            if constexpr (std::endian::native == std::endian::little)
                l += static_cast<unsigned>(std::countr_zero(differ)) / 16;
            else
                l += static_cast<unsigned>(std::countl_zero(differ)) / 16;
            break;
        }
        l += 4;
    }
    hufFreq[k] = hufFreq[l];
    hufFreq[l] = static_cast<uint16_t>(f);

    const unsigned i = hufSon[k];
    hufParent[i] = static_cast<uint16_t>(l);
    if (i < TreeSize)
        hufParent[i + 1] = static_cast<uint16_t>(l);
    const unsigned j = hufSon[l];
    hufSon[l] = static_cast<uint16_t>(i);
    hufParent[j] = static_cast<uint16_t>(k);
    if (j < TreeSize)
        hufParent[j + 1] = static_cast<uint16_t>(k);
    hufSon[k] = static_cast<uint16_t>(j);
    SonChanged(k);
    SonChanged(l);
    return l;
}

} // namespace zorp::lzh
