// An independent reader of LZH5 streams for tests. It decodes symbols bit by
// bit from the canonical code lengths (no lookup tables) and records how each
// block header was written, so tests can check the exact form of the codes
// and cross-check the engine's decoder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorp::test {

// One length field of the code-length code or the position code.
struct Lzh5LengthField {
    int Length = 0;
    std::string Bits; // as sent, e.g. "1110" for 7
};

// A code sent at the head of a block.
struct Lzh5CodeHeader {
    int Count = 0;            // the count field n
    int Single = -1;          // the symbol of the single-symbol form (n = 0), else -1
    std::vector<int> Lengths; // one per symbol of the code
};

struct Lzh5Block {
    unsigned Tokens = 0;
    Lzh5CodeHeader LenCode;
    std::vector<Lzh5LengthField> LenCodeFields;
    int ZeroRun = -1; // the 2-bit zero run after the third length, if sent
    Lzh5CodeHeader CharCode;
    // Code-length symbols that sent the character lengths, with the value of
    // their extra bits (run length field) or -1.
    std::vector<std::pair<int, int>> CharLenSymbols;
    Lzh5CodeHeader PositionCode;
    std::vector<Lzh5LengthField> PositionFields;
    unsigned Literals = 0;
    unsigned Matches = 0;
};

struct Lzh5Parse {
    std::vector<Lzh5Block> Blocks;
    std::string Output;
    size_t BitsRead = 0; // up to the end of the last token
};

// Decodes Stream until ExpandedSize bytes are produced. Throws
// std::runtime_error on anything the format does not allow or when the
// stream runs out.
Lzh5Parse ReadLzh5Stream(const std::string& Stream, size_t ExpandedSize);

} // namespace zorp::test
