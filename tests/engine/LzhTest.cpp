// The LZH codec: the initial code, the exact bytes of small inputs, the
// tokens the compressor chooses, rebuilds of the adaptive tree, codes longer
// than 16 bits, round trips, the output budget and damaged input.
#include "engine/BitStrings.h"
#include "engine/EngineRun.h"
#include "engine/LzhTrace.h"

#include "common/Errors.h"
#include "engine/lzh/LzhEncoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace zorp::test {
namespace {

using lzh::Root;
using lzh::THuffTree;
using lzh::TreeSize;

// The current code of symbol v, as '0'/'1' characters from the root down.
std::string CodeOf(const THuffTree& tree, int v) {
    std::string code;
    for (int k = tree.Leaf(v); k != Root; k = tree.hufParent[k])
        code.insert(code.begin(), static_cast<char>('0' + (k & 1)));
    return code;
}

// Text-like data: words from a small vocabulary, so matches of every length
// and distance occur.
std::string Words(size_t Size, uint32_t Seed) {
    static const char* const vocabulary[] = {
        "the ",   "compression ", "of ",  "a ",     "ring ",   "buffer ",   "tree\n",
        "node, ", "Huffman ",     "and ", "match ", "length ", "is ",       "4096 ",
        "LZH ",   "symbol ",      "to ",  "x",      "\t",      "distance ", "(",
        ") ",     "0123456789",   "ABC",  "... ",   "z\n\n"};
    const std::string noise = RandomBytes(Size, Seed);
    std::string out;
    size_t i = 0;
    while (out.size() < Size) {
        const auto pick = static_cast<uint8_t>(noise[i++ % noise.size()]);
        out += vocabulary[pick % std::size(vocabulary)];
    }
    out.resize(Size);
    return out;
}

std::vector<std::string> GeneratedInputs() {
    std::vector<std::string> inputs;
    for (size_t size : {60, 4096, 7936, 7937, 8192, 8193, 16384}) {
        inputs.push_back(RandomBytes(size, static_cast<uint32_t>(size)));
        inputs.push_back(Words(size, static_cast<uint32_t>(size)));
        inputs.push_back(std::string(size, '\x94'));
    }
    for (size_t size : {1, 2, 3, 59, 61, 100, 4095, 4097, 4156})
        inputs.push_back(Words(size, 7));
    // Runs of every length up to 300.
    std::string runs;
    for (int n = 1; n <= 300; ++n)
        runs += std::string(static_cast<size_t>(n), static_cast<char>('a' + n % 26));
    inputs.push_back(runs);
    inputs.push_back(std::string(5000, ' ') + Words(3000, 1) + std::string(200, ' '));
    inputs.push_back(std::string(70000, '\0'));
    return inputs;
}

TEST(StartHuff, InitialCodeHas198EightBitAnd116NineBitSymbols) {
    auto tree = std::make_unique<THuffTree>();
    tree->StartHuff();
    std::map<size_t, int> lengths;
    for (int v = 0; v < lzh::NumSymbols; ++v)
        ++lengths[CodeOf(*tree, v).size()];
    EXPECT_EQ(lengths, (std::map<size_t, int>{{8, 198}, {9, 116}}));
    EXPECT_EQ(CodeOf(*tree, 0x41), "111001101");
    EXPECT_EQ(tree->hufFreq[Root], lzh::NumSymbols);
}

TEST(CompressLZH, SingleByteIsItsInitialCodePadded) {
    EXPECT_EQ(CompressLZH("A"), Bytes({0xE6, 0x80}));
    EXPECT_EQ(ExpandLZH(Bytes({0xE6, 0x80}), 1), "A");
}

TEST(CompressLZH, EmptySourceWritesNothing) {
    EXPECT_EQ(CompressLZH(""), "");
}

TEST(ExpandLZH, CountZeroReadsAndWritesNothing) {
    EngineRun run(CompressLZH("hello"));
    run.Engine.ExpandLZH(0);
    run.Flush();
    EXPECT_TRUE(run.Source.Reads.empty());
    EXPECT_EQ(run.Dest.Size(), 0);
}

TEST(CompressLZH, SpacesMatchTheInitialRingFromTheFirstToken) {
    const std::string spaces(130, ' ');
    const auto tokens = LzhTokens(CompressLZH(spaces), spaces.size());
    ASSERT_GE(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].Symbol, 60 + 253);
    EXPECT_EQ(ExpandLZH(CompressLZH(spaces), 130), spaces);
}

TEST(CompressLZH, LongRunIsMatchesOfSixtyAtDistanceOne) {
    const std::string run(1000, 'z');
    const auto tokens = LzhTokens(CompressLZH(run), run.size());
    ASSERT_EQ(tokens.size(), 18u); // 1 + 16 * 60 + 39
    EXPECT_EQ(tokens[0].Symbol, 'z');
    for (size_t i = 1; i <= 16; ++i) {
        EXPECT_EQ(tokens[i].Length(), 60) << i;
        EXPECT_EQ(tokens[i].Distance, 1) << i;
    }
    EXPECT_EQ(tokens[17].Length(), 39);
}

TEST(CompressLZH, MatchesNeverRunPastTheSource) {
    for (size_t size = 1; size < 130; ++size) {
        const std::string data = std::string(size / 2, 'q') + Words(size - size / 2, 3);
        const std::string packed = CompressLZH(data);
        size_t total = 0;
        for (const LzhToken& t : LzhTokens(packed, data.size()))
            total += static_cast<size_t>(t.Length());
        EXPECT_EQ(total, data.size());
        EXPECT_EQ(ExpandLZH(packed, static_cast<int32_t>(size)), data);
    }
}

// Where the whole look-ahead is data, the compressor takes the longest match
// in the window: the 4036 positions before the current one, of which only
// the last 60 of the initial spaces.
TEST(CompressLZH, ChoosesTheLongestMatchInTheWindow) {
    std::string data = Words(12000, 11) + RandomBytes(500, 2) + Words(6000, 12);
    for (const std::string& file : CorpusFiles())
        if (file.ends_with("/html"))
            data += ReadWholeFile(file).substr(0, 30000);
    const std::string stream = std::string(4036, ' ') + data;
    const auto tokens = LzhTokens(CompressLZH(data), data.size());
    size_t j = 0;
    for (const LzhToken& t : tokens) {
        if (j + 60 > data.size())
            break;
        const size_t at = 4036 + j;
        size_t longest = 0;
        for (size_t q = std::max<size_t>(4036 - 60, at - 4036); q < at; ++q) {
            size_t n = 0;
            while (n < 60 && stream[q + n] == stream[at + n])
                ++n;
            longest = std::max(longest, n);
        }
        if (longest < 3) {
            ASSERT_LT(t.Symbol, 256) << "at " << j;
        } else {
            ASSERT_EQ(t.Length(), static_cast<int>(longest)) << "at " << j;
            ASSERT_EQ(
                stream.compare(at - static_cast<size_t>(t.Distance), longest, stream, at, longest),
                0);
        }
        j += static_cast<size_t>(t.Length());
    }
}

TEST(LZH, RoundTripsGeneratedData) {
    for (const std::string& in : GeneratedInputs()) {
        const std::string packed = CompressLZH(in);
        ASSERT_EQ(ExpandLZH(packed, static_cast<int32_t>(in.size())), in)
            << "input of " << in.size() << " bytes";
    }
}

// The root count starts at 314 and grows by one per symbol; at 0x8000 the
// tree is rebuilt. Both sides must rebuild at the same symbol.
TEST(LZH, RebuildsTheTreeSeveralTimesOnLongInput) {
    const std::string data = Words(300000, 5) + RandomBytes(100000, 6) + Words(200000, 8);
    const std::string packed = CompressLZH(data);
    const auto tokens = LzhTokens(packed, data.size());
    EXPECT_GT(tokens.size(), 3u * (0x8000 - 314));
    EXPECT_EQ(ExpandLZH(packed, static_cast<int32_t>(data.size())), data);
}

// The decoder's two-level links must follow every swap and rebuild.
void ExpectGrandsonsFollowTheTree(const THuffTree& tree) {
    for (int n = 0; n < TreeSize; ++n) {
        const int s = tree.hufSon[n];
        for (int b = 0; b < 2; ++b) {
            const int want = s >= TreeSize ? s + THuffTree::OneLevel : tree.hufSon[s + b];
            ASSERT_EQ(tree.hufGrandson[2 * n + b], want) << n << " " << b;
        }
    }
}

TEST(Huffman, GrandsonLinksFollowSwapsAndRebuilds) {
    auto tree = std::make_unique<THuffTree>();
    tree->StartHuff();
    ExpectGrandsonsFollowTheTree(*tree);
    const std::string noise = RandomBytes(0x8000 + 5000, 22);
    int rebuilds = 0;
    for (size_t i = 0; i < noise.size(); ++i) {
        const auto c = static_cast<uint8_t>(noise[i]);
        // Skewed, so that counts overtake each other all the time.
        const int v = c < 128 ? c % 7 : c < 192 ? 256 + c % 58 : c;
        const bool rebuilding = tree->Rebuilding();
        rebuilds += rebuilding;
        tree->update(v);
        if (rebuilding || i % 997 == 0)
            ExpectGrandsonsFollowTheTree(*tree);
    }
    EXPECT_GE(rebuilds, 1);
    ExpectGrandsonsFollowTheTree(*tree);
}

TEST(Huffman, RebuildKeepsSiblingOrderAndHalvesCounts) {
    auto tree = std::make_unique<THuffTree>();
    tree->StartHuff();
    const std::string noise = RandomBytes(0x8000, 21);
    for (char c : noise)
        tree->update(static_cast<uint8_t>(c) % 40);
    ASSERT_LT(tree->hufFreq[Root], 20000); // a rebuild happened
    for (int k = 0; k + 1 < TreeSize; ++k)
        ASSERT_LE(tree->hufFreq[k], tree->hufFreq[k + 1]) << k;
    for (int k = lzh::NumSymbols; k < TreeSize; ++k) {
        const int son = tree->hufSon[k];
        if (son < TreeSize) {
            EXPECT_EQ(tree->hufFreq[k], tree->hufFreq[son] + tree->hufFreq[son + 1]);
            EXPECT_EQ(tree->hufParent[son], k);
            EXPECT_EQ(tree->hufParent[son + 1], k);
        }
    }
    for (int v = 0; v < lzh::NumSymbols; ++v)
        EXPECT_EQ(tree->hufSon[tree->Leaf(v)], v + TreeSize);
}

// Symbol counts growing like Fibonacci numbers (350, 350, 700, 1050, ...)
// above the 300-odd symbols seen once make the tree deeper than 16 levels;
// such codes go out as 16 bits and then the rest.
TEST(Huffman, CodesLongerThan16BitsRoundTrip) {
    std::vector<uint32_t> counts;
    uint32_t total = lzh::NumSymbols;
    for (uint32_t a = 350, b = 350; total + b < 0x8000 - 1; std::swap(a, b), b += a) {
        counts.push_back(b);
        total += b;
    }
    std::vector<int> symbols;
    for (int v = static_cast<int>(counts.size()) - 1; v >= 0; --v)
        symbols.insert(symbols.end(), counts[static_cast<size_t>(v)], v);
    auto probe = std::make_unique<THuffTree>();
    probe->StartHuff();
    for (int v : symbols)
        probe->update(v);
    std::vector<int> rare;
    for (int v = 0; v < lzh::NumSymbols; ++v)
        if (CodeOf(*probe, v).size() > 16)
            rare.push_back(v);
    ASSERT_FALSE(rare.empty());

    symbols.insert(symbols.end(), rare.begin(), rare.end());
    EngineRun writing("");
    auto encoder = std::make_unique<lzh::TLzhEncoder>(writing.Engine);
    encoder->Tree.StartHuff();
    for (int v : symbols)
        encoder->EncodeChar(v);
    encoder->Bits.EncodeEnd();
    writing.Flush();

    EngineRun reading(writing.Dest.DataString());
    auto decoder = std::make_unique<lzh::TDecoder>(reading.Engine);
    for (size_t i = 0; i < symbols.size(); ++i)
        ASSERT_EQ(decoder->DecodeChar(), symbols[i]) << i;
}

TEST(CompressLZH, IncompressibleInputExceedsTheBudget) {
    const std::string data = RandomBytes(20000, 13);
    EXPECT_THROW(CompressLZH(data, static_cast<int32_t>(data.size()) - 21), EUnableToCompress);
    const std::string packed = CompressLZH(Words(20000, 1));
    EXPECT_EQ(CompressLZH(Words(20000, 1), static_cast<int32_t>(packed.size())), packed);
    EXPECT_THROW(CompressLZH(Words(20000, 1), static_cast<int32_t>(packed.size()) - 1),
                 EUnableToCompress);
}

// A progress handler that cancels at a refill ends the input for good: the
// stream stands for exactly the bytes read before, nothing after.
TEST(LZH, CancelAtARefillEndsTheInput) {
    const std::string data = Words(20000, 2);
    EngineRun compressing(RunSetup{.Input = data, .CancelAt = 1});
    compressing.Engine.CompressLZH();
    compressing.Flush();
    EXPECT_EQ(compressing.Events.size(), 2u);
    const std::string packed = compressing.Dest.DataString();
    EXPECT_EQ(ExpandLZH(packed, 8192), data.substr(0, 8192));
    EXPECT_LT(ExpandLZH(packed, 0x7FFFFFFF).size(), 8192u + 60);

    const std::string whole = CompressLZH(RandomBytes(30000, 3));
    EngineRun expanding(RunSetup{.Input = whole, .CancelAt = 1});
    expanding.Engine.ExpandLZH(30000);
    expanding.Flush();
    EXPECT_EQ(expanding.Events.size(), 2u);
    EXPECT_LT(expanding.Dest.Size(), 30000);
}

TEST(ExpandLZH, TruncatedStreamGivesAPrefixAndStops) {
    const std::string data = Words(50000, 4);
    const std::string packed = CompressLZH(data);
    for (size_t keep : {size_t{0}, size_t{1}, size_t{2}, packed.size() / 3, packed.size() - 1}) {
        const std::string out = ExpandLZH(packed.substr(0, keep), 0x7FFFFFFF);
        EXPECT_LT(out.size(), data.size());
        EXPECT_EQ(out, data.substr(0, out.size())) << keep;
    }
    // The whole stream with a count far beyond the data.
    const std::string out = ExpandLZH(packed, 0x7FFFFFFF);
    EXPECT_GE(out.size(), data.size());
    EXPECT_LT(out.size(), data.size() + 8 * 60);
    EXPECT_EQ(out.substr(0, data.size()), data);
}

TEST(ExpandLZH, GarbageEndsWithinBoundsForAnyCount) {
    for (uint32_t seed = 0; seed < 40; ++seed) {
        const std::string garbage = RandomBytes(100 + seed * 37, seed);
        for (int32_t count : {1, 1000, 0x7FFFFFFF}) {
            const std::string out = ExpandLZH(garbage, count);
            EXPECT_LE(out.size(), garbage.size() * 8 * 60 + 60);
            EXPECT_LE(out.size(), static_cast<size_t>(count));
        }
    }
    // All-zero and all-one bits.
    EXPECT_LE(ExpandLZH(std::string(1000, '\0'), 0x7FFFFFFF).size(), 8000u * 60);
    EXPECT_LE(ExpandLZH(std::string(1000, '\xFF'), 0x7FFFFFFF).size(), 8000u * 60);
}

} // namespace
} // namespace zorp::test
