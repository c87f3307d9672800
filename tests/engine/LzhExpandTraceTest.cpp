// The LZH expander takes its input up to 8 bytes at a time and counts the
// adaptive code on the way down the tree. It must leave exactly the trace of
// the plain expander below, which asks GetChar for one byte whenever 8 bits
// or fewer are left at the start of a read and hands every byte to PutChar,
// also when the input is cut short, cancelled, keyed or refilled a few bytes
// at a time, and when the budget runs out. (FastPathTest holds the engine's
// fast paths against its own byte-at-a-time path; this plain expander is a
// second, independent reference for the decoding itself.)
#include "engine/EngineRun.h"

#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

// A reader holding at most 16 bits, one GetChar per byte; zero bits past the
// end of the input.
class PlainBits {
public:
    explicit PlainBits(TCompThreadSafety& Engine) : FEngine(Engine) {}

    unsigned Get(unsigned n) {
        if (FLen <= 8) {
            unsigned b = 0;
            if (FMadeUp == 0) {
                b = FEngine.GetChar();
                if (FEngine.EndOfInput())
                    b = 0;
            }
            if (FMadeUp != 0 || FEngine.EndOfInput())
                ++FMadeUp;
            FBuf |= b << (8 - FLen);
            FLen += 8;
        }
        const unsigned bits = (FBuf & 0xFFFF) >> (16 - n);
        FBuf = (FBuf << n) & 0xFFFF;
        FLen -= n;
        return bits;
    }

    bool OverRead() const { return FLen < 8 * FMadeUp; }

private:
    TCompThreadSafety& FEngine;
    unsigned FBuf = 0;
    unsigned FLen = 0;
    unsigned FMadeUp = 0;
};

void PlainExpand(TCompThreadSafety& e, int32_t count) {
    using namespace lzh;
    auto tree = std::make_unique<THuffTree>();
    tree->StartHuff();
    std::vector<uint8_t> ring(RingSize, 0x20);
    PlainBits bits(e);
    unsigned r = StartPosition;
    for (int32_t produced = 0; produced < count;) {
        unsigned k = tree->hufSon[Root];
        while (k < TreeSize)
            k = tree->hufSon[k + bits.Get(1)];
        const int v = static_cast<int>(k) - TreeSize;
        tree->update(v);
        if (v < 256) {
            if (bits.OverRead())
                return;
            e.PutChar(static_cast<uint8_t>(v));
            ring[r] = static_cast<uint8_t>(v);
            r = (r + 1) & RingMask;
            ++produced;
            continue;
        }
        const unsigned b = bits.Get(8);
        const unsigned l = distanceLenTable[b] - 2u;
        const unsigned x = bits.Get(l);
        const unsigned p = (distanceCodeTable[b] << 6) | (((b << l) | x) & 63);
        if (bits.OverRead())
            return;
        const unsigned from = r - p - 1;
        const int length = v - 255 + Threshold;
        for (int i = 0; i < length && produced + i < count; ++i) {
            const uint8_t c = ring[(from + static_cast<unsigned>(i)) & RingMask];
            ring[r] = c;
            r = (r + 1) & RingMask;
            e.PutChar(c);
        }
        produced += length;
    }
}

// Text from a small vocabulary, with matches of all lengths and distances.
std::string Text(size_t Size, uint32_t Seed) {
    static const char* const words[] = {"ring ", "tree ", "node\n", "of ",  "a ",     "match ",
                                        "4096 ", "x",     "\t",     "the ", "(bit) ", "zz"};
    std::mt19937 random(Seed);
    std::string out;
    while (out.size() < Size)
        out += random() % 8 == 0 ? RandomBytes(random() % 5, random())
                                 : std::string(words[random() % std::size(words)]);
    out.resize(Size);
    return out;
}

struct Case {
    std::string Name;
    RunSetup Setup;
    int32_t Count = NoLimit;
};

void ExpectTheTraceOfThePlainExpander(const std::vector<Case>& Cases) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        const RunTrace fast = EngineRun(c.Setup).Run(Codec::ExpandLZH, c.Count);
        const RunTrace plain =
            EngineRun(c.Setup).Run([&c](TCompThreadSafety& e) { PlainExpand(e, c.Count); });
        EXPECT_TRUE(SameTrace(fast, plain));
    }
}

TEST(ExpandLZHTrace, MatchesThePlainExpander) {
    const std::string data = Text(40000, 1);
    const std::string packed = CompressLZH(data);
    const auto size = static_cast<int32_t>(data.size());
    std::vector<Case> cases;
    for (const int32_t chunk : {1, 5, 7, 8, 9, 13, 100, BufferSize})
        cases.push_back(
            {"chunk " + std::to_string(chunk), {.Input = packed, .ReadChunk = chunk}, size});
    for (const int32_t count : {1, 2, 61, 1000, 8191, 8192, 8193, 20000})
        cases.push_back(
            {"count " + std::to_string(count), {.Input = packed, .ReadChunk = 3}, count});
    for (const size_t keep : {size_t{0}, size_t{1}, size_t{2}, size_t{9}, size_t{8191},
                              size_t{8192}, size_t{8193}, packed.size() / 2, packed.size() - 1})
        cases.push_back(
            {"cut to " + std::to_string(keep), {.Input = packed.substr(0, keep), .ReadChunk = 7}});
    for (const int cancel : {0, 1, 2, 5})
        cases.push_back({"cancel at " + std::to_string(cancel),
                         {.Input = packed, .ReadChunk = 1000, .CancelAt = cancel}});
    for (const int32_t budget : {0, 1, 100, 8192, 25000})
        cases.push_back({"budget " + std::to_string(budget),
                         {.Input = packed, .Budget = budget, .ReadChunk = 13}});
    for (const uint32_t key : {0x5Au, 0x11223344u, 0xFFFFFFF9u})
        cases.push_back(
            {"key " + std::to_string(key),
             {.Input = Scrambled(packed, key), .Key = key, .Descramble = true, .ReadChunk = 6},
             size});
    for (uint32_t seed = 0; seed < 30; ++seed)
        cases.push_back({"garbage " + std::to_string(seed),
                         {.Input = RandomBytes(50 + seed * 301, seed), .ReadChunk = 9}});
    ExpectTheTraceOfThePlainExpander(cases);
    // The reference itself reads the stream back to the data.
    EXPECT_EQ(EngineRun(packed).Run([size](TCompThreadSafety& e) { PlainExpand(e, size); }).Output,
              data);
}

// Long enough for the counts to be halved many times, with long codes.
TEST(ExpandLZHTrace, ManyRebuilds) {
    std::string data = RandomBytes(150000, 9);
    data += Text(150000, 10);
    ExpectTheTraceOfThePlainExpander(
        {{"rebuilds", {.Input = CompressLZH(data)}, static_cast<int32_t>(data.size())}});
}

} // namespace
} // namespace zorp::test
