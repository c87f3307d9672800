// LZH5 streams are the method data of the LHA method -lh5-. Our output,
// wrapped in an LHA archive, must extract byte-identical with independent
// implementations (lhasa, bsdtar), and the -lh5- data written by another
// compressor (jlha) must expand with ExpandLZH5.
#include "engine/EngineRun.h"

#include "support/ExternalTool.h"
#include "support/LhaArchive.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorp::test {
namespace {

std::string BaseName(const std::string& Path) {
    return std::filesystem::path(Path).filename().string();
}

// Writes Archive into Dir, extracts it with Command (run inside a fresh
// output directory, "%a" standing for the archive) and returns the member
// Name, or "" with a failure recorded.
std::string Extract(const TempDir& Dir, const std::string& Archive, const std::string& Name,
                    const std::string& Command) {
    const std::string archive = Dir / "test.lzh";
    const std::string log = Dir / "tool.log";
    const std::string out = Dir / "out";
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    std::filesystem::remove(log);
    WriteWholeFile(archive, Archive);
    std::string command = Command;
    command.replace(command.find("%a"), 2, "'" + archive + "'");
    EXPECT_EQ(RunTool("cd '" + out + "' && " + command, log), 0) << Name << ":\n"
                                                                 << ReadWholeFile(log);
    const std::string extracted = out + "/" + Name;
    if (!std::filesystem::exists(extracted)) {
        ADD_FAILURE() << Name << " was not extracted:\n" << ReadWholeFile(log);
        return "";
    }
    return ReadWholeFile(extracted);
}

std::string ExtractWithLhasa(const TempDir& Dir, const std::string& Archive,
                             const std::string& Name) {
    const std::string log = Dir / "test.log";
    WriteWholeFile(Dir / "test.lzh", Archive);
    EXPECT_EQ(RunTool("lhasa t '" + Dir / "test.lzh" + "'", log), 0) << Name << ":\n"
                                                                     << ReadWholeFile(log);
    return Extract(Dir, Archive, Name, "lhasa xf %a");
}

TEST(Lzh5Interop, LhasaExtractsEveryCorpusFile) {
    ZORP_REQUIRE_TOOL("lhasa");
    const auto files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    TempDir dir;
    for (const std::string& file : files) {
        const std::string data = ReadWholeFile(file);
        const std::string name = BaseName(file);
        const std::string archive = WrapLha("-lh5-", name, CompressLZH5(data), data);
        EXPECT_TRUE(ExtractWithLhasa(dir, archive, name) == data) << name;
    }
}

TEST(Lzh5Interop, BsdtarExtractsEveryCorpusFile) {
    ZORP_REQUIRE_TOOL("bsdtar");
    const auto files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    TempDir dir;
    for (const std::string& file : files) {
        const std::string data = ReadWholeFile(file);
        const std::string name = BaseName(file);
        const std::string archive = WrapLha("-lh5-", name, CompressLZH5(data), data, 0);
        EXPECT_TRUE(Extract(dir, archive, name, "bsdtar -xf %a") == data) << name;
    }
}

// Tiny and boundary inputs, including the single-symbol forms of every code
// (bsdtar rejects a code-length code sent in its single-symbol form, so
// these go to lhasa only).
TEST(Lzh5Interop, LhasaExtractsSmallAndBoundaryInputs) {
    ZORP_REQUIRE_TOOL("lhasa");
    const std::vector<std::string> inputs = {"A",
                                             "AA",
                                             "abc",
                                             std::string(1000, 'x'),
                                             std::string(9000, '\x94'),
                                             std::string(300, ' '),
                                             RandomBytes(60, 1),
                                             RandomBytes(7937, 2),
                                             RandomBytes(8193, 3) + RandomBytes(8193, 3),
                                             std::string(20000, 'q') + RandomBytes(16384, 4)};
    TempDir dir;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string name = "input" + std::to_string(i) + ".bin";
        const std::string archive =
            WrapLha("-lh5-", name, CompressLZH5(inputs[i]), inputs[i], static_cast<int>(i % 2));
        EXPECT_TRUE(ExtractWithLhasa(dir, archive, name) == inputs[i]) << name;
    }
}

TEST(Lzh5Interop, JlhaArchivesExpand) {
    ZORP_REQUIRE_TOOL("jlha");
    const auto files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    TempDir dir;
    const std::string log = dir / "jlha.log";
    std::string names;
    for (const std::string& file : files) {
        std::filesystem::copy_file(file, dir / BaseName(file));
        names += " '" + BaseName(file) + "'";
    }
    // Extra members: a run and a single byte.
    WriteWholeFile(dir / "run.bin", std::string(70000, 'r'));
    WriteWholeFile(dir / "one.bin", "A");
    names += " run.bin one.bin";
    ASSERT_EQ(RunTool("cd '" + dir.Path().string() + "' && jlha cqo5 made.lzh" + names, log), 0)
        << ReadWholeFile(log);
    const std::vector<LhaEntry> entries = ReadLhaArchive(ReadWholeFile(dir / "made.lzh"));
    ASSERT_EQ(entries.size(), files.size() + 2);
    int lh5 = 0;
    for (const LhaEntry& entry : entries) {
        const std::string original = ReadWholeFile(dir / BaseName(entry.Name));
        ASSERT_EQ(entry.OriginalSize, original.size()) << entry.Name;
        if (entry.Method != "-lh5-")
            continue; // stored because compression did not pay
        ++lh5;
        EXPECT_TRUE(ExpandLZH5(entry.Data, static_cast<int32_t>(entry.OriginalSize)) == original)
            << entry.Name;
        EXPECT_EQ(LhaCrc16(original), entry.Crc) << entry.Name;
    }
    EXPECT_GE(lh5, static_cast<int>(files.size()));
}

} // namespace
} // namespace zorp::test
