#include "engine/lzh/MatchTrees.h"

namespace zorp::lzh {

namespace {
constexpr int Left = 0;
constexpr int Right = 1;
// A match packed as one int: its length above the distance part, which
// takes the bits of a ring position (RingMask).
constexpr int LengthShift = 12;
static_assert(1 << LengthShift == RingSize);

// Sets the Same of n to the shared prefix of n and q, comparing from start.
// Always inlined into DeleteNode: as calls, they would spill its registers.
[[gnu::always_inline]] inline void Link(TMatchTrees& m, int start, int q, int n) {
    if (q >= Nil) {
        m.Nodes[n].Same = 1;
        return;
    }
    const int k = start < MaxMatch ? m.SharedFrom(q, n, start) : MaxMatch;
    m.Nodes[n].Same = static_cast<uint8_t>(k);
}

// Fixes the Same of q when q takes p's place below g.
[[gnu::always_inline]] inline void LinkNode(TMatchTrees& m, int g, int p, int q) {
    const int sp = m.Nodes[p].Same;
    const int sq = m.Nodes[q].Same;
    if (sp == sq)
        Link(m, sp, g, q);
    else
        m.Nodes[q].Same = static_cast<uint8_t>(sp < sq ? sp : sq); // no branch to mispredict
}
} // namespace

void TMatchTrees::InitTree() {
    for (int i = 0; i < RingSize; ++i)
        Roots[i] = Nil;
    for (int i = 0; i < RingSize; ++i)
        Nodes[i].Parent = Nil;
}

// Tree insertion with the replacement of an equal string: one descent whose
// tie rules decide which match is found, so it stays in one piece.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void TMatchTrees::InsertNode(int r) {
    TMatchNode* const nodes = Nodes;
    nodes[r].Child[Left] = nodes[r].Child[Right] = Nil;
    const int root = RootOf(r);
    int next = Roots[root - FirstRoot];
    if (next == Nil) {
        Roots[root - FirstRoot] = static_cast<uint16_t>(r);
        nodes[r].Parent = static_cast<uint16_t>(root);
        nodes[r].Same = 1;
        lzhMatchLen = 0;
        return;
    }
    // Bytes r shares with the node last visited: all strings of a tree share
    // byte 0, and the top node shares 1 byte with the root, so a search
    // starts by comparing from byte 1.
    int i = 1;
    // The best match so far as length << LengthShift | (4095 - distance + 1):
    // the longer, then the nearer, is the greater. r itself is never in a
    // tree, so the distance part is 1..4095; the start stands for no match.
    int best = Threshold << LengthShift | RingMask;
    const uint8_t* const key = &lzhText[r];
    int p;
    int dir = Right; // the side p hangs on below the node before it
    for (;;) {
        p = next;
        // p shares s bytes with the node before it, r shares i. If s > i, r
        // and p differ at byte i in the order already followed; if equal,
        // they agree at least that far: the words from i on give the exact
        // shared length and the order. If s < i, r has the earlier node's
        // byte s where p differs from it, so r and p differ there in the
        // order opposite to p's side; no bytes need to be read.
        const uint64_t node = TMatchNode::Load(nodes[p]);
        const int s = TMatchNode::SameIn(node);
        const uint8_t* const there = &lzhText[p];
        uint64_t x = LoadWord(key + i);
        uint64_t y = LoadWord(there + i);
        if (s < i) {
            i = s;
            dir ^= 1;
        } else {
            int k = i;
            while (x == y) {
                k += 8;
                if (k >= MaxMatch)
                    break;
                x = LoadWord(key + k);
                y = LoadWord(there + k);
            }
            i = x != y ? k + FirstDifference(x, y) : MaxMatch;
            if (i >= MaxMatch)
                break; // longer than any match so far, which all were shorter
            dir = NotBelow(x, y) ? Right : Left;
        }
        const int here = i << LengthShift | ((p - r) & RingMask);
        best = here > best ? here : best;
        next = TMatchNode::ChildIn(node, dir);
        if (next == Nil) {
            nodes[p].Child[dir] = static_cast<uint16_t>(r);
            nodes[r].Parent = static_cast<uint16_t>(p);
            nodes[r].Same = static_cast<uint8_t>(i);
            const int len = best >> LengthShift;
            lzhMatchLen = static_cast<uint16_t>(len > Threshold ? len : 0);
            lzhMatchPos = static_cast<uint16_t>(RingMask - (best & RingMask));
            return;
        }
    }
    // r's 60 bytes equal p's: r takes p's place in the tree.
    lzhMatchLen = MaxMatch;
    lzhMatchPos = static_cast<uint16_t>(((r - p) & RingMask) - 1);
    TMatchNode& old = nodes[p];
    nodes[r] = old;
    nodes[old.Child[Left]].Parent = static_cast<uint16_t>(r);
    nodes[old.Child[Right]].Parent = static_cast<uint16_t>(r);
    LinkTo(old.Parent, p) = static_cast<uint16_t>(r);
    old.Parent = Nil;
}

void TMatchTrees::DeleteNode(int p) {
    TMatchNode* const n = Nodes;
    if (n[p].Parent == Nil)
        return;
    const int left = n[p].Child[Left];
    const int right = n[p].Child[Right];
    int q;
    if (left == Nil || right == Nil) {
        // One child or none: it takes p's place.
        q = right == Nil ? left : right;
        if (q != Nil)
            LinkNode(*this, n[p].Parent, p, q);
    } else {
        q = left;
        if (n[q].Child[Right] != Nil) {
            // The rightmost node of p's left subtree leaves its place to its
            // left child and takes over p's left subtree.
            do {
                q = n[q].Child[Right];
            } while (n[q].Child[Right] != Nil);
            const int qLeft = n[q].Child[Left];
            const int qParent = n[q].Parent;
            if (qLeft != Nil)
                LinkNode(*this, qParent, q, qLeft);
            Link(*this, 1, q, left);
            n[qParent].Child[Right] = static_cast<uint16_t>(qLeft);
            n[qLeft].Parent = static_cast<uint16_t>(qParent);
            n[q].Child[Left] = static_cast<uint16_t>(left);
            n[left].Parent = static_cast<uint16_t>(q);
        }
        Link(*this, 1, n[p].Parent, q);
        Link(*this, 1, q, right);
        n[q].Child[Right] = static_cast<uint16_t>(right);
        n[right].Parent = static_cast<uint16_t>(q);
    }
    n[q].Parent = n[p].Parent;
    LinkTo(n[p].Parent, p) = static_cast<uint16_t>(q);
    n[p].Parent = Nil;
}

} // namespace zorp::lzh
