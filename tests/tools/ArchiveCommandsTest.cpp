// The zorp archive commands as a user runs them.
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class ArchiveCommands : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir.Path() / "src/sub");
        WriteWholeFile(Dir / "src/a.txt", std::string(5000, 'a') + "end");
        WriteWholeFile(Dir / "src/b.doc", ReadWholeFile(CorpusFiles().at(0)));
        WriteWholeFile(Dir / "src/sub/c.txt", "little c");
    }
    std::string Arc() const { return Quote(Dir / "a.zrp"); }
    TempDir Dir;
};

TEST_F(ArchiveCommands, AddListTestExtractRoundTrip) {
    const Outcome add = RunZorp("add -q -r -k 0x55 -C " + Quote(Dir / "src") + " " + Arc() + " " +
                                Quote(Dir / "src"));
    ASSERT_EQ(add.Status, 0) << add.Output;
    const Outcome list = RunZorp("list " + Arc());
    ASSERT_EQ(list.Status, 0) << list.Output;
    for (const char* name : {"a.txt", "b.doc", "sub/c.txt", "3 entries", "yes"})
        EXPECT_NE(list.Output.find(name), std::string::npos) << name << "\n" << list.Output;
    EXPECT_EQ(RunZorp("test -q -k 0x55 " + Arc()).Status, 0);
    const Outcome noKey = RunZorp("test -q " + Arc());
    EXPECT_EQ(noKey.Status, 1);
    EXPECT_NE(noKey.Output.find("File locked -- valid key required"), std::string::npos);

    const Outcome extract =
        RunZorp("extract -q --mkdirs -k 0x55 -C " + Quote(Dir / "out") + " " + Arc());
    ASSERT_EQ(extract.Status, 0) << extract.Output;
    for (const char* rel : {"a.txt", "b.doc", "sub/c.txt"})
        EXPECT_EQ(ReadWholeFile(Dir / (std::string("out/") + rel)),
                  ReadWholeFile(Dir / (std::string("src/") + rel)));
    const Outcome cat = RunZorp("cat -q -k 0x55 " + Arc() + " sub/c.txt");
    EXPECT_EQ(cat.Output, "little c");
    EXPECT_EQ(RunZorp("cat -q -k 0x55 --ignore-case " + Arc() + " SUB/C.TXT").Output, "little c");
}

TEST_F(ArchiveCommands, MasksSelectAndDeleteRemoves) {
    ASSERT_EQ(
        RunZorp("add -q -C " + Quote(Dir / "src") + " " + Arc() + " " + Quote(Dir / "src/*.txt/S"))
            .Status,
        0);
    Outcome list = RunZorp("list " + Arc());
    EXPECT_EQ(list.Output.find("b.doc"), std::string::npos);
    EXPECT_NE(list.Output.find("sub/c.txt"), std::string::npos);
    ASSERT_EQ(RunZorp("delete " + Arc() + " a.txt").Status, 0);
    list = RunZorp("list " + Arc());
    EXPECT_EQ(list.Output.find("a.txt"), std::string::npos);
    EXPECT_NE(list.Output.find("1 entry\n"), std::string::npos);
}

TEST_F(ArchiveCommands, AbsoluteNamesAreRefusedUnlessAsked) {
    ASSERT_EQ(RunZorp("add -q -P " + Arc() + " " + Quote(Dir / "src/a.txt")).Status, 0);
    fs::create_directories(Dir.Path() / "elsewhere");
    const Outcome refused = RunZorp("extract -q -C " + Quote(Dir / "elsewhere") + " " + Arc());
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Output.find("absolute name"), std::string::npos);
    fs::remove(Dir / "src/a.txt");
    const Outcome allowed = RunZorp("extract -q --absolute-names " + Arc());
    EXPECT_EQ(allowed.Status, 0) << allowed.Output;
    EXPECT_TRUE(fs::exists(Dir / "src/a.txt"));
}

TEST_F(ArchiveCommands, DamagedEntryFailsTestAndLeavesNoFile) {
    ASSERT_EQ(RunZorp("add -q -m rle -C " + Quote(Dir / "src") + " " + Arc() + " " +
                      Quote(Dir / "src/a.txt"))
                  .Status,
              0);
    std::string raw = ReadWholeFile(Dir / "a.zrp");
    raw[raw.size() - 3] ^= 0x04; // inside the literal tail "end"
    WriteWholeFile(Dir / "a.zrp", raw);
    const Outcome test = RunZorp("test -q " + Arc());
    EXPECT_EQ(test.Status, 1);
    EXPECT_EQ(test.Output, "zorp: " + (Dir / "a.zrp") +
                               ": a.txt: Bad checksum during expansion -- data may be invalid\n");
    fs::create_directories(Dir.Path() / "out");
    EXPECT_EQ(RunZorp("extract -q -C " + Quote(Dir / "out") + " " + Arc()).Status, 1);
    EXPECT_FALSE(fs::exists(Dir / "out/a.txt"));
    EXPECT_EQ(RunZorp("list " + Quote(Dir / "missing.zrp")).Status, 1);
    EXPECT_EQ(RunZorp("cat " + Arc() + " nothing").Status, 1);
}

TEST_F(ArchiveCommands, JsonListingAndVersion) {
    ASSERT_EQ(RunZorp("add -q -k 3 -C " + Quote(Dir / "src") + " " + Arc() + " " +
                      Quote(Dir / "src/a.txt") + " " + Quote(Dir / "src/sub/c.txt"))
                  .Status,
              0);
    const Outcome json = RunZorp("list --json " + Arc());
    ASSERT_EQ(json.Status, 0) << json.Output;
    EXPECT_EQ(json.Output.front(), '[');
    EXPECT_NE(json.Output.find("{\"name\": \"a.txt\", \"size\": 5003,"), std::string::npos)
        << json.Output;
    EXPECT_NE(json.Output.find("\"name\": \"sub/c.txt\""), std::string::npos);
    EXPECT_NE(json.Output.find("\"locked\": true}"), std::string::npos);
    EXPECT_EQ(json.Output.substr(json.Output.size() - 2), "]\n");
    const Outcome version = RunZorp("--version");
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Output.rfind("zorp ", 0), 0u) << version.Output;
}

} // namespace
} // namespace zorp::test
