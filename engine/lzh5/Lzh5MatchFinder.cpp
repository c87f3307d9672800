#include "engine/lzh5/Lzh5MatchFinder.h"

#include "engine/ByteBlocks.h"
#include "engine/History.h"

#include <algorithm>
#include <cstring>

namespace zorp::lzh5 {

void TMatchFinder::initSlide() {
    for (int i = RootBase; i < RootBase + 256; ++i) {
        node[i].level = 1;
        node[i].position = 0;
    }
    for (int i = FirstLeaf; i < LeafEnd; ++i)
        node[i].parent = 0;
    freeNode = 1;
    for (int i = 1; i < WindowSize - 1; ++i)
        nextLink[i] = static_cast<uint16_t>(i + 1);
    nextLink[WindowSize - 1] = 0;
    std::fill(std::begin(nextLink) + HeadBase, std::end(nextLink), 0);
}

// Reads a stretch at a time with the same effect as a GetChar per position:
// where GetChar would report the end, the position gets the fill (a space) and the reading
// goes on (a cancelled refill leaves bytes in the buffer, which GetChar would
// still hand out with EndOfInput set: those are taken but not counted).
void TMatchFinder::FirstFill() {
    remaining = 0;
    int pos = FirstPosition;
    while (pos < FirstPosition + WindowSize) {
        const int k = FEngine.GetStretch(&slideText[pos], FirstPosition + WindowSize - pos);
        if (k == 0) {
            slideText[pos++] = HistoryFill;
            continue;
        }
        if (FEngine.EndOfInput())
            std::memset(&slideText[pos], HistoryFill, static_cast<size_t>(k));
        else
            remaining += k;
        pos += k;
    }
}

// Reads the next window as GetChar per position would: it stops at the first
// byte that comes with EndOfInput set, which is stored (0 at the real end)
// but not counted.
int TMatchFinder::refill() {
    int pos = FirstPosition;
    while (pos < FirstPosition + WindowSize) {
        if (FEngine.EndOfInput()) {
            // Left set by a cancelled refill: GetChar hands out one buffered
            // byte (or refills), byte by byte.
            slideText[pos] = FEngine.GetChar();
            if (FEngine.EndOfInput())
                break;
            ++pos;
            continue;
        }
        const int k = FEngine.GetStretch(&slideText[pos], FirstPosition + WindowSize - pos);
        if (k == 0) {
            slideText[pos] = 0;
            break;
        }
        pos += k;
    }
    return pos - FirstPosition;
}

// The helpers are inline: in the shared library a plain member call would go
// through the PLT and could not be inlined.
inline int TMatchFinder::child(int q, int b) {
    int r = nextLink[HeadBase + hash(q, b)];
    node[0].parent = static_cast<uint16_t>(q); // sentinel: the walk stops at 0
    while (node[r].parent != q)
        r = nextLink[r];
    return r;
}

inline void TMatchFinder::makechild(int q, int b, int r) {
    const int h = HeadBase + hash(q, b);
    const int t = nextLink[h];
    nextLink[h] = static_cast<uint16_t>(r);
    nextLink[r] = static_cast<uint16_t>(t);
    node[t].prev = static_cast<uint16_t>(r);
    node[r].prev = static_cast<uint16_t>(h);
    node[r].parent = static_cast<uint16_t>(q);
    ++node[q].children;
}

inline void TMatchFinder::unlink(int n) {
    const int t = node[n].prev;
    const int u = nextLink[n];
    nextLink[t] = static_cast<uint16_t>(u);
    node[u].prev = static_cast<uint16_t>(t);
}

inline void TMatchFinder::replace_in_chain(int old, int n) {
    int t = node[old].prev;
    node[n].prev = static_cast<uint16_t>(t);
    nextLink[t] = static_cast<uint16_t>(n);
    t = nextLink[old];
    nextLink[n] = static_cast<uint16_t>(t);
    node[t].prev = static_cast<uint16_t>(n);
}

inline void TMatchFinder::split(int old) {
    const int n = freeNode;
    freeNode = nextLink[n];
    node[n].children = 0;
    replace_in_chain(old, n);
    node[n].parent = node[old].parent;
    node[n].level = static_cast<uint8_t>(matchLen);
    node[n].position = static_cast<uint16_t>(slidePos);
    makechild(n, slideText[matchPos + matchLen], old);
    makechild(n, slideText[slidePos + matchLen], slidePos);
}

// The suffix-tree insertion that decides the output bytes: its tie rules
// and node splits stay in one descent.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
inline void TMatchFinder::insert_node() {
    int q;
    int r;
    if (matchLen >= 4) {
        // The previous position matched matchLen bytes at matchPos, so this
        // one matches at least matchLen - 1 at matchPos + 1: start from that
        // leaf (or the newer leaf that replaced it) and climb to the node
        // just above that depth.
        --matchLen;
        r = (matchPos + 1) | StoredPositionBit;
        while ((q = node[r].parent) == 0)
            r = nextLink[r];
        while (node[q].level >= matchLen) {
            r = q;
            q = node[q].parent;
        }
        // The nodes above were skipped: mark the position update for them.
        int t = q;
        while (node[t].position & Pending) {
            node[t].position = static_cast<uint16_t>(slidePos);
            t = node[t].parent;
        }
        if (t < RootBase)
            node[t].position = static_cast<uint16_t>(slidePos | Pending);
    } else {
        q = slideText[slidePos] + RootBase;
        const int b = slideText[slidePos + 1];
        r = child(q, b);
        if (r == 0) {
            makechild(q, b, slidePos);
            matchLen = 1;
            return;
        }
        matchLen = 2;
    }
    for (;;) {
        int j;
        if (r >= FirstLeaf) {
            j = MaxMatch;
            matchPos = r;
        } else {
            j = node[r].level;
            matchPos = node[r].position & PositionMask;
        }
        matchPos = TextPosition(matchPos, slidePos);
        if (matchLen < j) {
            matchLen = CommonPrefix(slideText, slidePos, matchPos, matchLen, j);
            if (matchLen < j) {
                split(r);
                return;
            }
        }
        if (matchLen >= MaxMatch)
            break;
        node[r].position = static_cast<uint16_t>(slidePos);
        q = r;
        const int b = slideText[slidePos + matchLen];
        r = child(q, b);
        if (r == 0) {
            makechild(q, b, slidePos);
            return;
        }
        ++matchLen;
    }
    // A 256-byte match: the new leaf takes the old leaf's place; the old
    // leaf leaves the tree but points to its successor, for step 1 above.
    replace_in_chain(r, slidePos);
    node[slidePos].parent = static_cast<uint16_t>(q);
    node[r].parent = 0;
    nextLink[r] = static_cast<uint16_t>(slidePos);
}

inline void TMatchFinder::delete_node() {
    const int p = slidePos;
    if (node[p].parent == 0)
        return;
    unlink(p);
    const int r = node[p].parent;
    node[p].parent = 0;
    --node[r].children;
    if (r >= RootBase || node[r].children > 1)
        return;

    // r has one child left and goes. Carry its position, and pending ones,
    // up to the ancestors.
    const int t = TextPosition(node[r].position & PositionMask, p);
    int s = t;
    int q = node[r].parent;
    while (node[q].position & Pending) {
        s = std::max(s, TextPosition(node[q].position & PositionMask, p));
        node[q].position = static_cast<uint16_t>(s | StoredPositionBit);
        q = node[q].parent;
    }
    if (q < RootBase) {
        s = std::max(s, TextPosition(node[q].position, p));
        node[q].position = static_cast<uint16_t>(s | StoredPositionBit | Pending);
    }

    // The only child takes r's place.
    const int c = child(r, slideText[t + node[r].level]);
    unlink(c);
    replace_in_chain(r, c);
    node[c].parent = node[r].parent;
    node[r].parent = 0;
    nextLink[r] = static_cast<uint16_t>(freeNode);
    freeNode = r;
}

inline void TMatchFinder::get_next_match() {
    --remaining;
    if (++slidePos == LeafEnd) {
        std::memmove(slideText, slideText + WindowSize, WindowSize + MaxMatch);
        remaining += refill();
        slidePos = WindowSize;
    }
    delete_node();
    insert_node();
}

bool TMatchFinder::start() {
    initSlide();
    slidePos = FirstPosition;
    FirstFill();
    if (remaining == 0)
        return false;
    matchPos = 0;
    matchLen = 0;
    insert_node();
    return true;
}

void TMatchFinder::advance(int count) {
    for (; count > 0; --count)
        get_next_match();
}

} // namespace zorp::lzh5
