#include "engine/lzh/MatchTrees.h"

#include "engine/ByteBlocks.h"

namespace zorp::lzh {

void TMatchTrees::InitTree() {
    for (int i = FirstRoot; i < FirstRoot + RingSize; ++i)
        lzhRight[i] = Nil;
    for (int i = 0; i < RingSize; ++i)
        lzhParent[i] = Nil;
}

void TMatchTrees::InsertNode(int r) {
    lzhLeft[r] = lzhRight[r] = Nil;
    lzhMatchLen = 0;
    int p = RootOf(r);
    int i = 1; // bytes known equal
    int cmp = 1;
    const uint8_t* key = &lzhText[r];
    for (;;) {
        uint16_t& next = cmp >= 0 ? lzhRight[p] : lzhLeft[p];
        if (next == Nil) {
            next = static_cast<uint16_t>(r);
            lzhParent[r] = static_cast<uint16_t>(p);
            lzhSame[r] = static_cast<uint8_t>(i);
            return;
        }
        p = next;
        const int s = lzhSame[p];
        if (i > s) {
            i = s;
            cmp = key[i] - lzhText[p + i];
        } else if (i == s) {
            i += CommonPrefix(key + i, &lzhText[p + i], MaxMatch - i);
            if (i < MaxMatch)
                cmp = key[i] - lzhText[p + i];
        }
        if (i > Threshold) {
            const int d = ((r - p) & RingMask) - 1;
            if (i > lzhMatchLen) {
                lzhMatchPos = static_cast<uint16_t>(d);
                lzhMatchLen = static_cast<uint16_t>(i);
                if (i >= MaxMatch)
                    break;
            } else if (i == lzhMatchLen && d < lzhMatchPos) {
                lzhMatchPos = static_cast<uint16_t>(d); // the nearer of equals
            }
        }
    }
    // r's 60 bytes equal p's: r takes p's place in the tree.
    lzhSame[r] = lzhSame[p];
    lzhParent[r] = lzhParent[p];
    lzhLeft[r] = lzhLeft[p];
    lzhRight[r] = lzhRight[p];
    lzhParent[lzhLeft[p]] = static_cast<uint16_t>(r);
    lzhParent[lzhRight[p]] = static_cast<uint16_t>(r);
    const int g = lzhParent[p];
    if (lzhRight[g] == p)
        lzhRight[g] = static_cast<uint16_t>(r);
    else
        lzhLeft[g] = static_cast<uint16_t>(r);
    lzhParent[p] = Nil;
}

void TMatchTrees::link(int start, int q, int n) {
    if (q >= Nil) {
        lzhSame[n] = 1;
        return;
    }
    int k = start;
    if (k < MaxMatch)
        k += CommonPrefix(&lzhText[q + k], &lzhText[n + k], MaxMatch - k);
    lzhSame[n] = static_cast<uint8_t>(k < MaxMatch ? k : MaxMatch);
}

void TMatchTrees::linknode(int g, int p, int q) {
    if (lzhSame[p] == lzhSame[q])
        link(lzhSame[p], g, q);
    else if (lzhSame[p] < lzhSame[q])
        lzhSame[q] = lzhSame[p];
}

void TMatchTrees::DeleteNode(int p) {
    if (lzhParent[p] == Nil)
        return;
    int q;
    if (lzhRight[p] == Nil) {
        q = lzhLeft[p];
        if (q != Nil)
            linknode(lzhParent[p], p, q);
    } else if (lzhLeft[p] == Nil) {
        q = lzhRight[p];
        linknode(lzhParent[p], p, q);
    } else {
        q = lzhLeft[p];
        if (lzhRight[q] != Nil) {
            // The rightmost node of p's left subtree leaves its place to its
            // left child and takes over p's left subtree.
            do {
                q = lzhRight[q];
            } while (lzhRight[q] != Nil);
            if (lzhLeft[q] != Nil)
                linknode(lzhParent[q], q, lzhLeft[q]);
            link(1, q, lzhLeft[p]);
            lzhRight[lzhParent[q]] = lzhLeft[q];
            lzhParent[lzhLeft[q]] = lzhParent[q];
            lzhLeft[q] = lzhLeft[p];
            lzhParent[lzhLeft[p]] = static_cast<uint16_t>(q);
        }
        link(1, lzhParent[p], q);
        link(1, q, lzhRight[p]);
        lzhRight[q] = lzhRight[p];
        lzhParent[lzhRight[p]] = static_cast<uint16_t>(q);
    }
    const int g = lzhParent[p];
    lzhParent[q] = static_cast<uint16_t>(g);
    if (lzhRight[g] == p)
        lzhRight[g] = static_cast<uint16_t>(q);
    else
        lzhLeft[g] = static_cast<uint16_t>(q);
    lzhParent[p] = Nil;
}

} // namespace zorp::lzh
