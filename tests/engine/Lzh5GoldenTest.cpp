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

} // namespace
} // namespace zorp::test
