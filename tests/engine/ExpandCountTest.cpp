// The LZH and LZH5 expanders put out exactly the bytes their data hold, up to
// the count they are given: no byte past the count, and none decoded from
// bits past the end of the input.
#include "engine/EngineRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorp::test {
namespace {

// Each compressor with its expander.
const std::pair<Codec, Codec> Codecs[] = {{Codec::CompressLZH, Codec::ExpandLZH},
                                          {Codec::CompressLZH5, Codec::ExpandLZH5}};

// Text, then long runs, so that many counts fall inside a match.
std::string Sample() {
    std::string data = ReadWholeFile(CorpusFiles().at(0)).substr(0, 20000);
    for (int i = 0; i < 40; ++i)
        data += std::string(static_cast<size_t>(100 + 37 * i), static_cast<char>('a' + i % 5));
    return data;
}

TEST(ExpandCount, OutputIsTheDataCutAtTheCount) {
    const std::string data = Sample();
    const auto size = static_cast<int32_t>(data.size());
    for (const auto& [compress, expand] : Codecs) {
        const std::string packed = CodecOutput(compress, data);
        for (const int32_t count : {1, 2, 3, 4, 61, 255, 8191, 8192, 8193, 20001, 20050, 20103,
                                    size / 2 + 7, size - 200, size - 1, size}) {
            SCOPED_TRACE(testing::Message() << CodecName(expand) << " count " << count);
            const std::string out = CodecOutput(expand, packed, count);
            EXPECT_EQ(out.size(), static_cast<size_t>(count));
            EXPECT_TRUE(out == data.substr(0, out.size()));
        }
    }
}

TEST(ExpandCount, Lzh5StreamCutShortGivesAPrefixOfItsData) {
    const std::string data = Sample();
    const auto size = static_cast<int32_t>(data.size());
    const std::string packed = CompressLZH5(data);
    // A count past the data finds the end of the input, and nothing after it.
    EXPECT_TRUE(ExpandLZH5(packed, size + 1000) == data);
    for (size_t keep = 0; keep < packed.size();
         keep += keep < 64 || keep + 64 > packed.size() ? 1 : 61) {
        SCOPED_TRACE(keep);
        const std::string out = ExpandLZH5(packed.substr(0, keep), size + 1000);
        EXPECT_LT(out.size(), data.size());
        EXPECT_TRUE(out == data.substr(0, out.size()));
    }
}

} // namespace
} // namespace zorp::test
