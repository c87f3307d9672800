// The zorp tool reports what went wrong: damaged archives, names that are
// not there, paths that yield nothing, and it never rewrites an archive it
// could not read to its end. Names are compared exactly and shown safely.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class HonestStatus : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir.Path() / "src");
        WriteWholeFile(Dir / "src/a.txt", std::string(4000, 'a'));
        WriteWholeFile(Dir / "src/b.txt", "bee bee bee bee bee bee bee bee");
        WriteWholeFile(Dir / "src/c.txt", "sea");
    }
    std::string Arc() const { return Quote(Dir / "a.zrp"); }
    void Build() {
        fs::remove(Dir.Path() / "a.zrp");
        ASSERT_EQ(RunZorp("add -q -C " + Quote(Dir / "src") + " " + Arc() + " " +
                          Quote(Dir / "src/a.txt") + " " + Quote(Dir / "src/b.txt") + " " +
                          Quote(Dir / "src/c.txt"))
                      .Status,
                  0);
    }
    static ino_t Inode(const std::string& path) {
        struct stat st {};
        return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    TempDir Dir;
};

void PatchInt32(std::string& raw, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        raw[at + i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
}

TEST_F(HonestStatus, DamageIsReportedAndADamagedArchiveIsNeverRewritten) {
    Build();
    const std::string sound = ReadWholeFile(Dir / "a.zrp");
    struct Damage {
        const char* What;
        std::function<void(std::string&)> Apply;
        int SoundEntries;
    };
    const auto compressedSizeAt = [](const std::string& raw, size_t entry) {
        int32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<int32_t>(static_cast<uint8_t>(raw[entry + 12 + i])) << (8 * i);
        return v;
    };
    // The second entry's per-file header: behind the first's header, its
    // name "a.txt" and its data.
    const size_t second = 21 + 25 + 5 + static_cast<size_t>(compressedSizeAt(sound, 21));
    const Damage damages[] = {
        {"cut off in the last entry", [](std::string& raw) { raw.resize(raw.size() - 2); }, 2},
        {"a compressed size forged larger",
         [&](std::string& raw) { PatchInt32(raw, second + 12, 1 << 20); }, 1},
        {"a total too small", [](std::string& raw) { PatchInt32(raw, 8, 4000 + 10); }, 1},
        {"a total too large", [](std::string& raw) { PatchInt32(raw, 8, 999999); }, 3},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.What);
        std::string raw = sound;
        d.Apply(raw);
        WriteWholeFile(Dir / "a.zrp", raw);
        const std::string message =
            "zorp: " + (Dir / "a.zrp") + ": damaged after entry " + std::to_string(d.SoundEntries);
        for (const std::string& command :
             {"test -q " + Arc(), "list " + Arc(), "list --json " + Arc(),
              "extract -q -C " + Quote(Dir / "out") + " --mkdirs " + Arc(),
              "delete " + Arc() + " a.txt", "add -q " + Arc() + " " + Quote(Dir / "src/c.txt")}) {
            SCOPED_TRACE(command);
            const Outcome o = RunZorp(command);
            EXPECT_EQ(o.Status, 1);
            EXPECT_NE(o.Output.find(message), std::string::npos) << o.Output;
            EXPECT_EQ(ReadWholeFile(Dir / "a.zrp"), raw);
        }
        // The sound entries in front of the damage were extracted.
        EXPECT_EQ(fs::exists(Dir.Path() / "out/b.txt"), d.SoundEntries >= 2);
        fs::remove_all(Dir.Path() / "out");
    }
}

TEST_F(HonestStatus, MissingNamesAndUnmatchedPathsFailEachWithAMessage) {
    Build();
    const ino_t before = Inode(Dir / "a.zrp");
    Outcome o = RunZorp("delete " + Arc() + " nothing.txt A.TXT");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("zorp: nothing.txt: not found in"), std::string::npos) << o.Output;
    EXPECT_NE(o.Output.find("zorp: A.TXT: not found in"), std::string::npos) << o.Output;
    EXPECT_EQ(Inode(Dir / "a.zrp"), before); // not rewritten

    o = RunZorp("extract -q -C " + Quote(Dir / "out") + " --mkdirs " + Arc() + " b.txt gone.txt");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("zorp: gone.txt: not found in"), std::string::npos) << o.Output;
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/b.txt"));
    EXPECT_EQ(RunZorp("cat " + Arc() + " gone.txt").Status, 1);

    // add: every path that yields nothing is named; the others are added.
    fs::create_directories(Dir.Path() / "src/empty");
    fs::create_symlink("nowhere", Dir.Path() / "src/dangling");
    o = RunZorp("add -q -C " + Quote(Dir / "src") + " " + Quote(Dir / "b.zrp") + " " +
                Quote(Dir / "src") + " " + Quote(Dir / "src/missing.txt") + " " +
                Quote(Dir / "src/*.none") + " " + Quote(Dir / "src/empty"));
    EXPECT_EQ(o.Status, 1);
    for (const char* named : {"src/missing.txt: No such file or directory", "src/*.none: no files",
                              "src/empty: no files", "src/dangling: symbolic link, not added"})
        EXPECT_NE(o.Output.find(named), std::string::npos) << named << "\n" << o.Output;
    o = RunZorp("list " + Quote(Dir / "b.zrp"));
    EXPECT_NE(o.Output.find("3 entries"), std::string::npos) << o.Output;
    // Nothing at all to add: no archive is made.
    EXPECT_EQ(RunZorp("add -q " + Quote(Dir / "c.zrp") + " " + Quote(Dir / "src/none")).Status, 1);
    EXPECT_FALSE(fs::exists(Dir.Path() / "c.zrp"));

    // A subdirectory that cannot be read (refused here by fault injection,
    // since a test may run with every permission).
    if (CanInjectFaults()) {
        fs::create_directories(Dir.Path() / "src/locked");
        WriteWholeFile(Dir / "src/locked/x.txt", "x");
        o = RunZorpInjected("openat:error=EACCES",
                            "add -q -r " + Quote(Dir / "d.zrp") + " " + Quote(Dir / "src"),
                            "-P " + Quote(Dir / "src/locked"));
        EXPECT_EQ(o.Status, 1);
        EXPECT_NE(o.Output.find("src/locked: Permission denied"), std::string::npos) << o.Output;
        EXPECT_TRUE(fs::exists(Dir.Path() / "d.zrp"));
    }
}

TEST_F(HonestStatus, NamesDifferingInCaseAreDifferentEntries) {
    WriteWholeFile(Dir / "src/A.TXT", "upper");
    WriteWholeFile(Dir / "src/a.txt", "lower");
    const std::string c = "-C " + Quote(Dir / "src") + " " + Arc() + " ";
    ASSERT_EQ(RunZorp("add -q " + c + Quote(Dir / "src/A.TXT")).Status, 0);
    ASSERT_EQ(RunZorp("add -q " + c + Quote(Dir / "src/a.txt")).Status, 0);
    EXPECT_NE(RunZorp("list " + Arc()).Output.find("2 entries"), std::string::npos);
    EXPECT_EQ(RunZorp("cat -q " + Arc() + " a.txt").Output, "lower");
    ASSERT_EQ(RunZorp("delete " + Arc() + " a.txt").Status, 0);
    EXPECT_EQ(RunZorp("cat -q " + Arc() + " A.TXT").Output, "upper");
    EXPECT_EQ(RunZorp("cat -q --ignore-case " + Arc() + " a.txt").Output, "upper");
}

TEST_F(HonestStatus, ListingsShowControlCharactersEscaped) {
    TZorp zorp(nullptr);
    fw::TMemoryStream data;
    data.WriteBuffer("x", 1);
    data.SetPosition(0);
    const std::string name = "evil\x1b[2J\nfake line\t.txt";
    zorp.CompressStreamToArchive(Dir / "a.zrp", data, name, coNone);
    const Outcome o = RunZorp("list " + Arc());
    EXPECT_EQ(o.Status, 0) << o.Output;
    EXPECT_EQ(o.Output.find('\x1b'), std::string::npos);
    EXPECT_NE(o.Output.find("evil\\x1b[2J\\nfake line\\t.txt\n"), std::string::npos) << o.Output;
}

TEST_F(HonestStatus, AFailedExtractionKeepsTheUsersFile) {
    Build();
    std::string raw = ReadWholeFile(Dir / "a.zrp");
    raw[21 + 25 + 5 + 3] ^= 0x10; // inside a.txt's data
    WriteWholeFile(Dir / "a.zrp", raw);
    fs::create_directories(Dir.Path() / "out");
    WriteWholeFile(Dir / "out/a.txt", "mine");
    const Outcome o = RunZorp("extract -q -C " + Quote(Dir / "out") + " " + Arc() + " a.txt");
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(ReadWholeFile(Dir / "out/a.txt"), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path() / "out"), fs::directory_iterator()),
              1);
}

} // namespace
} // namespace zorp::test
