// Golden digests of the LZH5 output for the corpus: the bytes depend on tie
// rules, tree order, block flushing and lazy matching, and any change to the
// codec (optimisations included) must reproduce them exactly.
#include "engine/Lzh5Run.h"

#include "support/Sha256.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace zorp::test {
namespace {

TEST(Lzh5Golden, CorpusOutputDigests) {
    // File name -> size and SHA-256 of the compressed stream.
    const std::map<std::string, std::pair<size_t, std::string>> golden = {
        {"alice29.txt",
         {59102, "b431c0066bad12822ff5e805b90f7df881e5e542abbea43c4a3039738960d206"}},
        {"asyoulik.txt",
         {52318, "faa8b8dda19dcd5558ff01adb9e9c1232b03dd21202841d9f71994aa8aae9f92"}},
        {"fireworks.jpeg",
         {122952, "e3fd17f94997134b012fc2ba606009f9dab2986c91d41fb780961b1d5d70b253"}},
        {"geo.protodata",
         {19612, "6dffbd4e2f71953142ac712c6c1cb5e966f7e71df8a8621d8ee42454d5a1a845"}},
        {"html", {15108, "fe97589c971e0f46ae078105310d41dbdc455dd85080842a1dd23ac9bb36b445"}},
        {"html_x_4", {60009, "bf378ded4d15b26b5b6cbb239add2482172d43402eb5cbbb31406d13ba212978"}},
        {"kppkn.gtb", {38716, "267ab7fb0b0ac58cce26b16c91da8c1ec7f045871281a63cd6bf4a200af933a6"}},
        {"lcet10.txt",
         {159632, "5ab4d3fdff02a3caf4af5ee52d23064e63968ebd34e29a366596d9743f020b9d"}},
        {"paper-100k.pdf",
         {81508, "97783bc0c40f5511176d3b283b46e6797cdb80a11be05aba87a7b46fe6abd1cc"}},
        {"plrabn12.txt",
         {210073, "2e1d97dc1324c09c31bbba6334024589adfbcc86ea51b16914523aa71652f00f"}},
        {"urls.10K", {255390, "8e4e7e251c48521fad53e62c282deda9f93e4b5b6eff62b4df7fee099ab934c5"}},
    };
    const auto files = CorpusFiles();
    ASSERT_EQ(files.size(), golden.size());
    for (const std::string& file : files) {
        const std::string name = std::filesystem::path(file).filename().string();
        const std::string packed = CompressLzh5(ReadWholeFile(file));
        const auto it = golden.find(name);
        ASSERT_NE(it, golden.end()) << name;
        EXPECT_EQ(packed.size(), it->second.first) << name;
        EXPECT_EQ(Sha256Hex(packed), it->second.second) << name;
    }
}

// Runs whose input ends early, in small reads or under a key: the match
// finder reads a window at a time, and what it reads after a cancelled refill
// (bytes GetChar still hands out with EndOfInput set) decides the output.
// The figures were taken with the byte-at-a-time reader.
TEST(Lzh5Golden, CancelledSmallReadAndKeyedRuns) {
    struct Case {
        int32_t ReadChunk;
        int CancelAt;
        int32_t Key;
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
        EngineRun run(text, 0x7FFFFFFF, c.Key, false, c.Key != 0);
        run.Settings.ReadChunk = c.ReadChunk;
        run.Begin();
        run.RecordProgress(c.CancelAt);
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
