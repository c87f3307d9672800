// LZH streams carry the parameters of the LHA method -lh1- (4096-byte ring
// filled with spaces, 314-symbol adaptive code, the same distance code):
// wrapped in an LHA archive they must extract byte-identical with lhasa,
// an independent implementation. Also checks the archive helper itself.
#include "engine/EngineRun.h"

#include "support/ExternalTool.h"
#include "support/LhaArchive.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorp::test {
namespace {

// Writes Archive into Dir, has lhasa test and extract it, and returns the
// extracted member Name ("" with a failure recorded when lhasa fails).
std::string ExtractWithLhasa(const TempDir& Dir, const std::string& Archive,
                             const std::string& Name) {
    const std::string archive = Dir / "test.lzh";
    const std::string log = Dir / "lhasa.log";
    const std::string out = Dir / "out";
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    WriteWholeFile(archive, Archive);
    EXPECT_EQ(RunTool("lhasa t '" + archive + "'", log), 0) << Name << ":\n" << ReadWholeFile(log);
    EXPECT_EQ(RunTool("cd '" + out + "' && lhasa xf '" + archive + "'", log), 0)
        << Name << ":\n"
        << ReadWholeFile(log);
    const std::string extracted = out + "/" + Name;
    if (!std::filesystem::exists(extracted)) {
        ADD_FAILURE() << Name << " was not extracted:\n" << ReadWholeFile(log);
        return "";
    }
    return ReadWholeFile(extracted);
}

TEST(LzhInterop, LhasaExtractsEveryCorpusFileAsLh1) {
    ZORP_REQUIRE_TOOL("lhasa");
    const auto files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    TempDir dir;
    for (const std::string& file : files) {
        const std::string data = ReadWholeFile(file);
        const std::string name = std::filesystem::path(file).filename().string();
        const std::string archive = WrapLha("-lh1-", name, CompressLZH(data), data);
        EXPECT_TRUE(ExtractWithLhasa(dir, archive, name) == data) << name;
    }
}

TEST(LzhInterop, LhasaExtractsSmallAndGeneratedInputsAsLh1) {
    ZORP_REQUIRE_TOOL("lhasa");
    std::vector<std::string> inputs = {"A", std::string(200, ' '), std::string(1000, 'z'),
                                       std::string(9000, '\x94'), RandomBytes(8193, 5)};
    // Several rebuilds of the adaptive tree on mixed data.
    std::string mixed;
    for (uint32_t seed = 0; mixed.size() < 600000; ++seed)
        mixed += RandomBytes(300, seed) + std::string(seed % 90, static_cast<char>(seed));
    inputs.push_back(mixed);
    TempDir dir;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string name = "input" + std::to_string(i) + ".bin";
        const int level = static_cast<int>(i % 2);
        const std::string archive =
            WrapLha("-lh1-", name, CompressLZH(inputs[i]), inputs[i], level);
        EXPECT_TRUE(ExtractWithLhasa(dir, archive, name) == inputs[i]) << name;
    }
}

// The helper's own format, with stored (-lh0-) members that need no codec.
TEST(LhaArchive, LhasaReadsStoredMembersAtBothLevels) {
    ZORP_REQUIRE_TOOL("lhasa");
    TempDir dir;
    const std::string data = RandomBytes(5000, 77);
    for (int level : {0, 1})
        EXPECT_TRUE(ExtractWithLhasa(dir, WrapLha("-lh0-", "stored.bin", data, data, level),
                                     "stored.bin") == data);
}

TEST(LhaArchive, WrittenArchivesReadBack) {
    const std::string data = "hello, hello";
    for (int level : {0, 1}) {
        const auto entries = ReadLhaArchive(WrapLha("-lh1-", "dir/a.txt", "PACKED", data, level));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].Method, "-lh1-");
        EXPECT_EQ(entries[0].Name, "dir/a.txt");
        EXPECT_EQ(entries[0].OriginalSize, data.size());
        EXPECT_EQ(entries[0].Crc, LhaCrc16(data));
        EXPECT_EQ(entries[0].Level, level);
        EXPECT_EQ(entries[0].Data, "PACKED");
    }
    EXPECT_EQ(LhaCrc16("123456789"), 0xBB3D); // the CRC-16/ARC check value
    EXPECT_THROW(ReadLhaArchive(WrapLha("-lh1-", "a", "PACKED", data).substr(0, 30)),
                 std::runtime_error);
}

TEST(LhaArchive, ReadsArchivesMadeByJlha) {
    ZORP_REQUIRE_TOOL("jlha");
    TempDir dir;
    const std::string first = ReadWholeFile(CorpusFiles().at(0));
    const std::string second = RandomBytes(3000, 8) + std::string(3000, 'r');
    WriteWholeFile(dir / "first.txt", first);
    WriteWholeFile(dir / "second.bin", second);
    const std::string log = dir / "jlha.log";
    ASSERT_EQ(
        RunTool("cd '" + dir.Path().string() + "' && jlha a made.lzh first.txt second.bin", log), 0)
        << ReadWholeFile(log);
    const auto entries = ReadLhaArchive(ReadWholeFile(dir / "made.lzh"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "first.txt");
    EXPECT_EQ(entries[0].Method, "-lh5-");
    EXPECT_EQ(entries[0].OriginalSize, first.size());
    EXPECT_EQ(entries[0].Crc, LhaCrc16(first));
    EXPECT_LT(entries[0].Data.size(), first.size());
    EXPECT_EQ(entries[1].Name, "second.bin");
    EXPECT_EQ(entries[1].OriginalSize, second.size());
    EXPECT_EQ(entries[1].Crc, LhaCrc16(second));
}

} // namespace
} // namespace zorp::test
