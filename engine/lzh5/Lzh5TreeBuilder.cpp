#include "engine/lzh5/Lzh5TreeBuilder.h"

namespace zorp::lzh5 {

// Restores the heap below position i. On equal counts the parent stays and
// the left child is preferred.
void TTreeBuilder::sift_down(int i) {
    const int k = heap[i];
    int j;
    while ((j = 2 * i) <= heapSize) {
        if (j < heapSize && FFreq[heap[j]] > FFreq[heap[j + 1]])
            ++j;
        if (FFreq[k] <= FFreq[heap[j]])
            break;
        heap[i] = heap[j];
        i = j;
    }
    heap[i] = k;
}

// Counts the leaves below node i per depth; depths of 16 and more count as 16.
void TTreeBuilder::count_depths(int i) {
    if (i < FSymbols) {
        ++len_cnt[treeDepth < MaxCodeLength ? treeDepth : MaxCodeLength];
        return;
    }
    ++treeDepth;
    count_depths(treeLeft[i]);
    count_depths(treeRight[i]);
    --treeDepth;
}

void TTreeBuilder::limit_lengths(int root) {
    for (int& c : len_cnt)
        c = 0;
    treeDepth = 0;
    count_depths(root);
    // Kraft sum in units of 2^-16: it wraps to 0 exactly when no leaf was
    // deeper than 16. Otherwise the excess is taken from length 16 and made up
    // by splitting the longest codes shorter than 16.
    unsigned cum = 0;
    for (int i = MaxCodeLength; i > 0; --i)
        cum += static_cast<unsigned>(len_cnt[i]) << (MaxCodeLength - i);
    cum &= 0xFFFF;
    if (cum != 0) {
        len_cnt[MaxCodeLength] -= static_cast<int>(cum);
        for (; cum > 0; --cum) {
            for (int i = MaxCodeLength - 1; i > 0; --i) {
                if (len_cnt[i] > 0) {
                    --len_cnt[i];
                    len_cnt[i + 1] += 2;
                    break;
                }
            }
        }
    }
    // The leaves that left the heap first, the least frequent, get the
    // longest codes.
    int next = 0;
    for (int i = MaxCodeLength; i > 0; --i)
        for (int c = len_cnt[i]; c > 0; --c)
            FLen[FLeaves[next++]] = static_cast<uint8_t>(i);
}

void TTreeBuilder::assign_codes(int n, const uint8_t* len, uint16_t* code) {
    uint16_t start[MaxCodeLength + 1] = {};
    uint16_t step[MaxCodeLength + 1] = {};
    unsigned next = 0;
    unsigned weight = 0x8000;
    for (int i = 1; i <= MaxCodeLength; ++i) {
        start[i] = static_cast<uint16_t>(next);
        step[i] = static_cast<uint16_t>(weight);
        next = (next + static_cast<unsigned>(len_cnt[i]) * weight) & 0xFFFF;
        weight >>= 1;
    }
    for (int s = 0; s < n; ++s) {
        code[s] = start[len[s]];
        start[len[s]] = static_cast<uint16_t>(start[len[s]] + step[len[s]]);
    }
}

int TTreeBuilder::buildtree(int n, uint16_t* freq, uint8_t* len, uint16_t* code) {
    FSymbols = n;
    FFreq = freq;
    FLen = len;
    FLeaves = code;
    FLeafCount = 0;
    int avail = n;
    heapSize = 0;
    heap[1] = 0;
    for (int i = 0; i < n; ++i) {
        len[i] = 0;
        if (freq[i] != 0)
            heap[++heapSize] = i;
    }
    if (heapSize < 2) {
        code[heap[1]] = 0;
        return heap[1];
    }
    for (int i = heapSize / 2; i >= 1; --i)
        sift_down(i);
    int k;
    do {
        const int i = heap[1];
        if (i < n)
            FLeaves[FLeafCount++] = static_cast<uint16_t>(i);
        heap[1] = heap[heapSize--];
        sift_down(1);
        const int j = heap[1];
        if (j < n)
            FLeaves[FLeafCount++] = static_cast<uint16_t>(j);
        k = avail++;
        freq[k] = static_cast<uint16_t>(freq[i] + freq[j]);
        heap[1] = k;
        sift_down(1);
        treeLeft[k] = static_cast<uint16_t>(i);
        treeRight[k] = static_cast<uint16_t>(j);
    } while (heapSize > 1);
    limit_lengths(k);
    assign_codes(n, len, code);
    return k;
}

} // namespace zorp::lzh5
