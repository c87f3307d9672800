// The archive commands follow the conventions tar and bsdtar users expect:
// defaults, links, names, standard streams, going on past failures, modes
// and listings.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class ArchiveConventions : public testing::Test {
protected:
    void SetUp() override {
        for (const char* dir : {"src/sub/deeper", "src/.git"})
            fs::create_directories(Dir.Path() / dir);
        for (const char* file : {"src/a.txt", "src/b.o", "src/sub/c.txt", "src/sub/deeper/d.txt",
                                 "src/.hidden", "src/.git/config"})
            WriteWholeFile(Dir / file, std::string("content of ") + file);
    }
    std::string Arc() const { return Quote(Dir / "a.zrp"); }
    // The entry names of the archive, from its JSON listing.
    std::set<std::string> Names(const std::string& archive) {
        const Outcome o = RunZorp("list --json " + archive);
        std::set<std::string> names;
        for (size_t at = 0; (at = o.Output.find("\"name\": \"", at)) != std::string::npos;) {
            at += 9;
            names.insert(o.Output.substr(at, o.Output.find('"', at) - at));
        }
        return names;
    }
    TempDir Dir;
};

TEST_F(ArchiveConventions, AddTakesWholeTreesAndTheOptionsNarrowThem) {
    const std::string all[] = {"src/a.txt",     "src/b.o",
                               "src/sub/c.txt", "src/sub/deeper/d.txt",
                               "src/.hidden",   "src/.git/config"};
    struct Case {
        const char* Options;
        std::set<std::string> Expected;
    };
    const Case cases[] = {
        {"", {std::begin(all), std::end(all)}},
        {"-r", {std::begin(all), std::end(all)}},
        {"--no-recursion", {"src/a.txt", "src/b.o", "src/.hidden"}},
        {"--exclude-hidden", {"src/a.txt", "src/b.o", "src/sub/c.txt", "src/sub/deeper/d.txt"}},
        {"--exclude '*.o' --exclude deeper",
         {"src/a.txt", "src/sub/c.txt", "src/.hidden", "src/.git/config"}},
        {"--exclude 'sub/*' --exclude .git", {"src/a.txt", "src/b.o", "src/.hidden"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Options);
        fs::remove(Dir.Path() / "a.zrp");
        const Outcome o = RunZorp(std::string("add -q ") + c.Options + " -C " + Quote(Dir.Path()) +
                                  " " + Arc() + " " + Quote(Dir / "src"));
        EXPECT_EQ(o.Status, 0) << o.Output;
        EXPECT_EQ(Names(Arc()), c.Expected);
    }
    // Extraction makes the directories entries need, unless told not to.
    fs::remove(Dir.Path() / "a.zrp");
    ASSERT_EQ(
        RunZorp("add -q -C " + Quote(Dir.Path()) + " " + Arc() + " " + Quote(Dir / "src")).Status,
        0);
    const Outcome x = RunZorp("extract -q -C " + Quote(Dir / "out") + " " + Arc());
    EXPECT_EQ(x.Status, 0) << x.Output;
    EXPECT_EQ(ReadWholeFile(Dir / "out/src/sub/c.txt"), "content of src/sub/c.txt");
    const Outcome y = RunZorp("extract -q --no-mkdirs -C " + Quote(Dir / "flat") + " " + Arc());
    EXPECT_EQ(y.Status, 1);
    EXPECT_FALSE(fs::exists(Dir.Path() / "flat"));
}

TEST_F(ArchiveConventions, LinksAreSkippedUnlessDereferenced) {
    fs::create_symlink("a.txt", Dir.Path() / "src/to-a");
    fs::create_symlink("..", Dir.Path() / "src/sub/up"); // a loop with -L
    fs::create_symlink("nowhere", Dir.Path() / "src/dangling");
    const std::string c = "-C " + Quote(Dir.Path()) + " ";
    Outcome o = RunZorp("add -q " + c + Arc() + " " + Quote(Dir / "src"));
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("src/to-a: symbolic link, not added"), std::string::npos) << o.Output;
    EXPECT_EQ(Names(Arc()).count("src/to-a"), 0u);
    EXPECT_EQ(Names(Arc()).size(), 6u);

    fs::remove(Dir.Path() / "a.zrp");
    o = RunZorp("add -q -L " + c + Arc() + " " + Quote(Dir / "src"));
    EXPECT_EQ(o.Status, 1); // the dangling one
    EXPECT_NE(o.Output.find("src/dangling: dangling symbolic link"), std::string::npos);
    EXPECT_EQ(RunZorp("cat -q " + Arc() + " src/to-a").Output, "content of src/a.txt");
    EXPECT_EQ(Names(Arc()).size(), 7u); // the loop is entered once
}

TEST_F(ArchiveConventions, StoredNamesAndTheArchiveItself) {
    // Absolute paths lose their leading "/", with one notice.
    Outcome o =
        RunZorp("add -q " + Arc() + " " + Quote(Dir / "src/a.txt") + " " + Quote(Dir / "src/b.o"));
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Output, "zorp: Removing leading '/' from member names\n");
    const std::string relative = (Dir.Path() / "src/a.txt").string().substr(1);
    EXPECT_EQ(Names(Arc()).count(relative), 1u);
    fs::remove(Dir.Path() / "a.zrp");
    ASSERT_EQ(RunZorp("add -q -P " + Arc() + " " + Quote(Dir / "src/a.txt")).Status, 0);
    EXPECT_EQ(Names(Arc()).count(Dir / "src/a.txt"), 1u);

    // An archive inside the tree it is made of is not added to itself.
    const std::string inside = Quote(Dir / "src/self.zrp");
    ASSERT_EQ(
        RunZorp("add -q -C " + Quote(Dir / "src") + " " + inside + " " + Quote(Dir / "src/a.txt"))
            .Status,
        0);
    o = RunZorp("add -q -C " + Quote(Dir / "src") + " " + inside + " " + Quote(Dir / "src"));
    EXPECT_EQ(o.Status, 0) << o.Output;
    EXPECT_NE(o.Output.find("self.zrp: file is the archive; not added"), std::string::npos)
        << o.Output;
    EXPECT_EQ(Names(inside).count("self.zrp"), 0u);

    // Names to extract and delete are patterns; one that selects nothing fails.
    fs::remove(Dir.Path() / "src/self.zrp");
    ASSERT_EQ(RunZorp("add -q -C " + Quote(Dir.Path()) + " " + Quote(Dir / "b.zrp") + " " +
                      Quote(Dir / "src"))
                  .Status,
              0);
    o = RunZorp("extract -q -C " + Quote(Dir / "out") + " " + Quote(Dir / "b.zrp") +
                " 'src/*.txt' src/sub 'nothing*'");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("nothing*: not found in"), std::string::npos) << o.Output;
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/src/sub/deeper/d.txt"));
    EXPECT_FALSE(fs::exists(Dir.Path() / "out/src/b.o"));
    ASSERT_EQ(RunZorp("delete " + Quote(Dir / "b.zrp") + " 'src/sub'").Status, 0);
    EXPECT_EQ(Names(Quote(Dir / "b.zrp")).count("src/sub/c.txt"), 0u);
    EXPECT_EQ(Names(Quote(Dir / "b.zrp")).size(), 4u);
}

TEST_F(ArchiveConventions, StandardStreamsCarryArchives) {
    const std::string add = "add -q -C " + Quote(Dir.Path()) + " - " + Quote(Dir / "src");
    ASSERT_EQ(RunCommand(std::string(ZORP_TOOL) + " " + add + " > " + Arc()).Status, 0);
    EXPECT_EQ(Names(Arc()).size(), 6u);
    EXPECT_EQ(RunZorp("list - < " + Arc()).Status, 0);
    EXPECT_EQ(RunZorp("cat -q - src/sub/c.txt < " + Arc()).Output, "content of src/sub/c.txt");
    EXPECT_EQ(RunZorp("test -q - < " + Arc()).Status, 0);
    const Outcome piped = RunCommand(std::string(ZORP_TOOL) + " " + add + " | " + ZORP_TOOL +
                                     " extract -q -C " + Quote(Dir / "piped") + " -");
    EXPECT_EQ(piped.Status, 0) << piped.Output;
    EXPECT_EQ(ReadWholeFile(Dir / "piped/src/.git/config"), "content of src/.git/config");
    EXPECT_FALSE(fs::exists(Dir.Path() / "-"));
}

TEST_F(ArchiveConventions, ExtractionGoesOnPastAFailedEntry) {
    ASSERT_EQ(RunZorp("add -q -m none -C " + Quote(Dir.Path()) + " " + Arc() + " " +
                      Quote(Dir / "src/a.txt") + " " + Quote(Dir / "src/b.o") + " " +
                      Quote(Dir / "src/sub/c.txt"))
                  .Status,
              0);
    std::string raw = ReadWholeFile(Dir / "a.zrp");
    const size_t at = raw.find("content of src/b.o");
    ASSERT_NE(at, std::string::npos);
    raw[at] ^= 0x20; // b.o's checksum fails
    WriteWholeFile(Dir / "a.zrp", raw);

    Outcome o = RunZorp("extract -q -C " + Quote(Dir / "out") + " " + Arc());
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("a.zrp: src/b.o: Bad checksum"), std::string::npos) << o.Output;
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/src/a.txt"));
    EXPECT_FALSE(fs::exists(Dir.Path() / "out/src/b.o"));
    EXPECT_TRUE(fs::exists(Dir.Path() / "out/src/sub/c.txt"));

    o = RunZorp("extract -q --stop-on-error -C " + Quote(Dir / "stop") + " " + Arc());
    EXPECT_EQ(o.Status, 1);
    EXPECT_TRUE(fs::exists(Dir.Path() / "stop/src/a.txt"));
    EXPECT_FALSE(fs::exists(Dir.Path() / "stop/src/sub/c.txt"));

    // test names every bad entry and ends with its summary on a line of its own.
    o = RunZorp("test " + Arc());
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("src/b.o: Bad checksum"), std::string::npos);
    EXPECT_NE(o.Output.find("\n1 of 3 entries failed\n"), std::string::npos) << o.Output;
}

TEST_F(ArchiveConventions, PermissionsDatesAndListings) {
    fs::permissions(Dir.Path() / "src/a.txt",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_EQ(
        RunZorp("add -q -C " + Quote(Dir.Path()) + " " + Arc() + " " + Quote(Dir / "src/a.txt"))
            .Status,
        0);
    const Outcome list = RunZorp("list " + Arc());
    EXPECT_NE(list.Output.find("rwxr-x---"), std::string::npos) << list.Output;
    EXPECT_NE(list.Output.find("1 entry\n"), std::string::npos) << list.Output;
    ASSERT_EQ(RunCommand("umask 027; " + std::string(ZORP_TOOL) + " extract -q -C " +
                         Quote(Dir / "out") + " " + Arc())
                  .Status,
              0);
    EXPECT_EQ(fs::status(Dir.Path() / "out/src/a.txt").permissions(),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);

    // An empty archive has no ratio; names are UTF-8 in JSON when they are.
    TZorp zorp(nullptr);
    fw::TMemoryStream data;
    data.WriteBuffer("x", 1);
    for (const std::string name : {"caf\xc3\xa9.txt", "latin\xe9.txt"}) {
        data.SetPosition(0);
        zorp.CompressStreamToArchive(Dir / "names.zrp", data, name, coNone);
    }
    const Outcome json = RunZorp("list --json " + Quote(Dir / "names.zrp"));
    EXPECT_NE(json.Output.find("\"caf\xc3\xa9.txt\""), std::string::npos) << json.Output;
    EXPECT_NE(json.Output.find("\"latin\\u00e9.txt\""), std::string::npos) << json.Output;
    fw::TStringList none;
    zorp.CompressFiles(Dir / "empty.zrp", none, coLZH5);
    const Outcome empty = RunZorp("list " + Quote(Dir / "empty.zrp"));
    EXPECT_NE(empty.Output.find("     -  0 entries"), std::string::npos) << empty.Output;
}

TEST_F(ArchiveConventions, InputsThatAreNoArchivesAreCalledWhatTheyAre) {
    TZorp zorp(nullptr);
    WriteWholeFile(Dir / "one.zrp", zorp.CompressString(std::string(3000, 'z'), coLZH5));
    WriteWholeFile(Dir / "notes.txt", "just some text, long enough to hold a header");
    for (const char* command : {"list", "extract -q", "cat -q", "delete"}) {
        SCOPED_TRACE(command);
        const std::string names =
            std::string(command).starts_with("cat") || std::string(command).starts_with("delete")
                ? " x"
                : "";
        Outcome o = RunZorp(std::string(command) + " " + Quote(Dir / "one.zrp") + names);
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.Output, "zorp: " + (Dir / "one.zrp") +
                                " holds a single stream, not an archive (use zorp expand)\n");
        o = RunZorp(std::string(command) + " " + Quote(Dir / "notes.txt") + names);
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.Output, "zorp: " + (Dir / "notes.txt") + ": not a zorp archive\n");
    }
    // test checks a single stream as gzip -t does.
    const Outcome t = RunZorp("test " + Quote(Dir / "one.zrp"));
    EXPECT_EQ(t.Status, 0) << t.Output;
    EXPECT_EQ(t.Output, (Dir / "one.zrp") + ": OK\n");
}

} // namespace
} // namespace zorp::test
