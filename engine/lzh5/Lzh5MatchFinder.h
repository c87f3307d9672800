// The LZH5 match finder: a suffix tree over the 8192-byte window.
//
// Node numbers: 0 is "no node" (and a sentinel of the chain walk); 1 to 8191
// are internal nodes, kept on a free list; 8192 + b is the root of the strings
// that begin with byte b; 8192 to 16383 are also the leaves, leaf p standing
// for the string at text position p. Which of the two a number means follows
// from the field read: in a node slot, a root uses the position, depth and
// child count, a leaf the parent and chain links. The children of node q
// whose edges begin with byte b hang in the hash chain headed by
// nextLink[16384 + hash(q, b)]; chains may be shared, and the walk tells
// owners apart by the parent. A node's prev link names the node before it in
// its chain, or 16384 + h when it is the first of chain h.
//
// The text buffer holds 8192 bytes of history and up to 8192 + 256 bytes of
// look-ahead. The current position runs from 8448 (first window) or 8192 up
// to 16383; then the buffer slides back by 8192 and the next 8192 bytes are
// read. Positions kept in the tree are not renumbered: a stored position not
// below slidePos means the text now 8192 bytes lower.
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh5/Lzh5Constants.h"

#include <cstdint>

namespace zorp::lzh5 {

class TMatchFinder {
public:
    // Two windows, the look-ahead and one spare (16641), and 7 bytes that
    // let CommonPrefix compare a match's last bytes eight at a time.
    static constexpr int TextSize = 2 * WindowSize + MaxMatch + 1 + 7;
    static constexpr int RootBase = WindowSize;    // root of byte b: 8192 + b
    static constexpr int FirstLeaf = WindowSize;   // leaves from 8192
    static constexpr int LeafEnd = 2 * WindowSize; // leaves up to 16383
    // Chain heads, twice as many as there are nodes to hang in them, so
    // that most chains are short; a prev link to a head (16384 + h) must
    // still fit in 16 bits.
    static constexpr int HashBits = 15;
    static constexpr int HeadCount = 1 << HashBits;
    static constexpr int HeadBase = LeafEnd;                    // chain head h: nextLink[16384 + h]
    static constexpr int FirstPosition = WindowSize + MaxMatch; // 8448
    // Set in every stored position (a node's position, a leaf number):
    // those are text positions 8192 to 16383. Or-ed into a position counted one window
    // back (below 8192) it gives the stored form, which reads as one window
    // back again because it is not below slidePos; on a position in the
    // window it changes nothing.
    static constexpr int StoredPositionBit = WindowSize;
    // Top bit of a node's position, free because positions are below 16384:
    // the position has not yet been carried up to the node's parent.
    static constexpr uint16_t Pending = 0x8000;
    // Clears the Pending mark, leaving the position.
    static constexpr uint16_t PositionMask = Pending - 1;

    explicit TMatchFinder(TCompThreadSafety& Engine) : FEngine(Engine) {}

    // Empties the tree, reads the first window and inserts the first
    // position; false when the input is empty.
    bool start();
    // Moves count positions on (get_next_match count times).
    void advance(int count);

    int slidePos = 0;  // current text position
    int matchPos = 0;  // position of the longest match
    int matchLen = 0;  // its length
    int remaining = 0; // bytes of look-ahead still to code, the current one included
    uint8_t slideText[TextSize] = {};

private:
    // Empties the tree and links every internal node into the free list.
    void initSlide();
    // Reads the first 8192 bytes (the fill where the input ended) at 8448 on
    // and sets remaining to the number of real bytes.
    void FirstFill();
    // Reads up to 8192 bytes at 8448 on after a slide; returns how many.
    int refill();
    // Inserts the string at slidePos; sets matchLen and matchPos.
    void insert_node();
    // Removes the leaf slidePos, whose string leaves the window.
    void delete_node();
    // Advances one position, sliding and reading when the buffer is used up.
    void get_next_match();
    // Spreads the pairs of node and byte evenly over the chains (the node
    // numbers come in dense runs and the bytes of a text in a narrow range):
    // the top bits of the pair times 2^32 over the golden ratio.
    static int hash(int q, int b) {
        return static_cast<int>((static_cast<uint32_t>(q << 8 | b) * 2654435761u) >>
                                (32 - HashBits));
    }
    int child(int q, int b);
    void makechild(int q, int b, int r);
    void split(int old);
    // Takes node n out of its hash chain.
    void unlink(int n);
    // Puts node n in old's place in old's hash chain.
    void replace_in_chain(int old, int n);
    // The text position that stored position q stands for while the current
    // position is p: stored positions not below p lie one window back.
    static int TextPosition(int q, int p) { return q >= p ? q - WindowSize : q; }

    TCompThreadSafety& FEngine;
    int freeNode = 0;
    // What the walks read of a node, in one 8-byte slot: the parent and the
    // link back in its hash chain (leaves and internal nodes); the position,
    // depth (string length) and number of children (internal nodes and
    // roots; a root's slot is also the leaf of the same number, which does
    // not use those).
    struct TNode {
        uint16_t parent;
        uint16_t prev;
        uint16_t position;
        uint8_t level;
        uint8_t children;
    };
    TNode node[LeafEnd] = {};
    // The next node in the hash chain of each node (for a free internal node
    // the next free one, for a replaced leaf the leaf that replaced it), then
    // the chain heads.
    uint16_t nextLink[HeadBase + HeadCount] = {};
    static_assert(HeadBase + HeadCount <= 0x10000);
};

} // namespace zorp::lzh5
