// The LZH compressor reads bytes already in the input buffer straight from
// it, and goes through GetChar at refills and for keyed input. Both paths
// must give the same bytes, sums, reads and progress events: here keyed
// input with the all-zero key (the same bytes, byte by byte) is compared
// with plain input, for several read sizes, inputs and cancellations.
#include "engine/EngineRun.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

struct Outcome {
    std::string Packed;
    uint32_t InSum;
    bool EndOfInput;
    std::vector<int32_t> Reads;
    std::vector<int32_t> Events;
};

Outcome Compress(const std::string& Data, int32_t ReadChunk, bool ByteByByte, int CancelAt) {
    // Descrambling with a zero key leaves every byte as it is but sends the
    // compressor through GetChar for each one.
    EngineRun run(Data, 0x7FFFFFFF, 0, false, ByteByByte);
    run.Settings.ReadChunk = ReadChunk;
    run.Begin();
    run.RecordProgress(CancelAt);
    run.Engine.CompressLZH();
    run.Flush();
    return {run.Dest.DataString(), run.Engine.InSum(), run.Engine.EndOfInput(), run.Source.Reads,
            run.Events};
}

// Text with matches of all lengths: the start of the first corpus file.
std::string Text(size_t Size) {
    return ReadWholeFile(CorpusFiles().front()).substr(0, Size);
}

std::map<std::string, std::string> Inputs() {
    std::map<std::string, std::string> inputs;
    inputs["empty"] = "";
    inputs["one byte"] = "q";
    inputs["random 59"] = RandomBytes(59, 11);
    inputs["random 61"] = RandomBytes(61, 12);
    inputs["run of 9000"] = std::string(9000, 'z');
    inputs["random 20000"] = RandomBytes(20000, 13);
    inputs["text 30000"] = Text(30000);
    // Matches that end at the end of the input.
    std::string tail = Text(5000);
    tail += tail.substr(1000, 200);
    inputs["repeat at the end"] = tail;
    return inputs;
}

TEST(LzhInputPath, BufferedAndByteByByteReadsAgree) {
    for (const auto& [name, data] : Inputs()) {
        for (const int32_t chunk : {1, 7, 61, 4099, 8192}) {
            for (const int cancelAt : {-1, 0, 2}) {
                const Outcome fast = Compress(data, chunk, false, cancelAt);
                const Outcome slow = Compress(data, chunk, true, cancelAt);
                const std::string where = name + ", chunk " + std::to_string(chunk) +
                                          ", cancel at " + std::to_string(cancelAt);
                EXPECT_EQ(fast.Packed, slow.Packed) << where;
                EXPECT_EQ(fast.InSum, slow.InSum) << where;
                EXPECT_EQ(fast.EndOfInput, slow.EndOfInput) << where;
                EXPECT_EQ(fast.Reads, slow.Reads) << where;
                EXPECT_EQ(fast.Events, slow.Events) << where;
            }
        }
    }
}

// The sum of the input bytes comes out whole however the reads split it.
TEST(LzhInputPath, InputSumCountsEveryByteOnce) {
    const std::string data = Text(30000);
    uint32_t expected = 0;
    for (const char c : data)
        expected += static_cast<uint8_t>(c);
    for (const int32_t chunk : {1, 61, 8192})
        EXPECT_EQ(Compress(data, chunk, false, -1).InSum, expected) << chunk;
}

} // namespace
} // namespace zorp::test
