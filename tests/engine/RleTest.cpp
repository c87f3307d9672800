// The run-length codec: the exact bytes of runs, escapes and caps, expansion
// of items the compressor never writes, round trips and the output budget.
#include "engine/BitStrings.h"
#include "engine/EngineRun.h"

#include "common/Errors.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

std::string Repeat(size_t n, char c) {
    return std::string(n, c);
}

TEST(CompressRLE, WritesTheDocumentedBytes) {
    struct Case {
        std::string In;
        std::string Out;
    } cases[] = {
        {"", ""},
        {"A", "A"},
        {Bytes({0x94}), Bytes({0x94, 0x00})},
        {"AA", "AA"},
        {"AAA", Bytes({0x41, 0x94, 0x03})},
        {Repeat(255, 'A'), Bytes({0x41, 0x94, 0xFF})},
        {Repeat(256, 'A'), Bytes({0x41, 0x94, 0xFF, 0x41})},
        {Repeat(257, 'A'), Bytes({0x41, 0x94, 0xFF, 0x41, 0x41})},
        {Repeat(258, 'A'), Bytes({0x41, 0x94, 0xFF, 0x41, 0x94, 0x03})},
        {Bytes({0x94, 0x94, 0x94}), Bytes({0x94, 0, 0x94, 0, 0x94, 0})},
        {Bytes({0x41, 0x94, 0x41, 0x41}), Bytes({0x41, 0x94, 0x00, 0x41, 0x41})},
        {Bytes({0x42, 0x41, 0x41, 0x41}), Bytes({0x42, 0x41, 0x94, 0x03})},
        {Bytes({0, 0, 0}), Bytes({0x00, 0x94, 0x03})},
        {Bytes({0, 0}), Bytes({0, 0})},
        // A run broken by another byte, and by the marker.
        {"AAAAB", Bytes({0x41, 0x94, 0x04, 0x42})},
        {Bytes({0x41, 0x41, 0x41, 0x94}), Bytes({0x41, 0x94, 0x03, 0x94, 0x00})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompressRLE(c.In), c.Out) << "input of " << c.In.size() << " bytes";
}

TEST(ExpandRLE, ReadsItemsTheCompressorNeverWrites) {
    // A run as the first item repeats the initial byte 0.
    EXPECT_EQ(ExpandRLE(Bytes({0x94, 0x05})), Repeat(4, '\0'));
    // A lone marker at the end stands for itself.
    EXPECT_EQ(ExpandRLE(Bytes({0x41, 0x94})), Bytes({0x41, 0x94}));
    // After an escaped marker or a run item the repeat byte is the marker.
    EXPECT_EQ(ExpandRLE(Bytes({0x94, 0x00, 0x94, 0x03})), Bytes({0x94, 0x94, 0x94}));
    EXPECT_EQ(ExpandRLE(Bytes({0x41, 0x94, 0x03, 0x94, 0x02})), Bytes({0x41, 0x41, 0x41, 0x94}));
    EXPECT_EQ(ExpandRLE(Bytes({0x41, 0x94, 0x01})), "A");
    EXPECT_EQ(ExpandRLE(""), "");
}

TEST(RLE, RoundTripsGeneratedData) {
    std::vector<std::string> inputs = {Repeat(60, 'x'), Repeat(100000, '\x94'), Repeat(70000, '\0'),
                                       RandomBytes(16384, 3)};
    for (size_t size : {60, 4096, 7936, 7937, 8192, 8193, 16384})
        inputs.push_back(RandomBytes(size, static_cast<uint32_t>(size)));
    // Runs of every length up to 600 of varying bytes, the marker included.
    std::string runs;
    for (int n = 1; n <= 600; ++n)
        runs += Repeat(static_cast<size_t>(n), static_cast<char>(0x90 + n % 8));
    inputs.push_back(runs);
    // Random bytes from a small alphabet, so short runs abound.
    std::string small = RandomBytes(50000, 9);
    for (char& c : small)
        c = static_cast<char>(0x93 + (static_cast<uint8_t>(c) & 3));
    inputs.push_back(small);
    for (const std::string& in : inputs) {
        const std::string packed = CompressRLE(in);
        ASSERT_EQ(ExpandRLE(packed), in) << "input of " << in.size() << " bytes";
    }
}

// A progress handler that cancels at a refill ends the codec's input: the
// output stands for exactly the bytes read before.
TEST(RLE, CancelAtARefillEndsTheInput) {
    const std::string data = RandomBytes(20000, 5);
    EngineRun compressing(RunSetup{.Input = data, .CancelAt = 1});
    compressing.Engine.CompressRLE();
    compressing.Flush();
    EXPECT_EQ(compressing.Events.size(), 2u);
    EXPECT_EQ(ExpandRLE(compressing.Dest.DataString()), data.substr(0, 8192));

    // Cancelled while reading the count after a marker: a lone marker.
    const std::string packed =
        std::string(8191, 'a') + Bytes({0x94, 0x05}) + std::string(9000, 'b');
    EngineRun expanding(RunSetup{.Input = packed, .CancelAt = 1});
    expanding.Engine.ExpandRLE();
    expanding.Flush();
    EXPECT_EQ(expanding.Events.size(), 2u);
    EXPECT_EQ(expanding.Dest.DataString(), std::string(8191, 'a') + Bytes({0x94}));
}

TEST(CompressRLE, MostlyMarkersExceedTheBudget) {
    const std::string data = Repeat(1000, '\x94');
    EXPECT_THROW(CompressRLE(data, 1000), EUnableToCompress);
    // The budget admits exactly what fits.
    EXPECT_EQ(CompressRLE("AAAAB", 4), Bytes({0x41, 0x94, 0x04, 0x42}));
    EXPECT_THROW(CompressRLE("AAAAB", 3), EUnableToCompress);
}

} // namespace
} // namespace zorp::test
