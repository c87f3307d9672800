// Golden digests of LZH5 runs that the stream driver shapes: input cut off by
// a cancel, read in small pieces or under a key. (The corpus and generated
// inputs are in GoldenDigestTest.cpp.)
#include "engine/EngineRun.h"

#include "support/Sha256.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

// Runs whose input ends early, in small reads or under a key: the match
// finder reads a window at a time, and what it reads after a cancelled refill
// (bytes GetChar still hands out with EndOfInput set) decides the output.
// The figures were taken with the byte-at-a-time reader.
TEST(Lzh5Golden, CancelledSmallReadAndKeyedRuns) {
    struct Case {
        int32_t ReadChunk;
        int CancelAt;
        uint32_t Key;
        size_t Size;
        uint32_t InSum;
        std::string Digest;
    };
    const Case cases[] = {
        {3000, 0, 0, 1179, 706101,
         "c51103b2b67911c827882a62fa4a2438ee55282e7a20c40ac10f4d2859c99368"},
        {3000, 1, 0, 1495, 706101,
         "cc333b503c696729f10ddc7883207cead2a69f6f79944c6b710b7b6d1dd4c784"},
        {3000, 2, 0, 2809, 706101,
         "263d5014d511aced26a460d79b316204908a8584461de956abda281ba50e8456"},
        {3000, 4, 0, 5205, 1029358,
         "532f3f75ef9ecb4aa62ebf0d7dd20ade3a63641a678c0bceb0d7e6562a93248e"},
        {8192, 3, 0, 10272, 2092835,
         "109abb64062e0bf32b5c34e06a744c1d497af60de3b1acdd9a1021bea8cda50c"},
        {5, 7, 0, 12442, 2557908,
         "3ecdd7bcd0f0eebba9db8fd93f7f2c41171a9da821e98bf36c1fc6f5fffcaabf"},
        {1000, -1, 0x12345678, 16562, 2557908,
         "e4ae0a7845ac95e2c74371e4ea47820f65fbd8087cb7394b6d567bd34a069e32"},
    };
    const std::string text = ReadWholeFile(CorpusFiles().front()).substr(0, 30000);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "chunk " << c.ReadChunk << " cancel " << c.CancelAt);
        EngineRun run(RunSetup{.Input = text,
                               .Key = c.Key,
                               .Descramble = c.Key != 0,
                               .ReadChunk = c.ReadChunk,
                               .CancelAt = c.CancelAt});
        run.Engine.CompressLZH5();
        run.Flush();
        const std::string packed = run.Dest.DataString();
        EXPECT_EQ(packed.size(), c.Size);
        EXPECT_EQ(run.Engine.InSum(), c.InSum);
        EXPECT_EQ(Sha256Hex(packed), c.Digest);
    }
}

} // namespace
} // namespace zorp::test
