// zorp compress and zorp expand follow the conventions of gzip and zstd:
// FILE becomes FILE.zrp beside it and back, the input is kept, nothing is
// overwritten without -f, standard streams work as filters, the output keeps
// the input's permission bits and modification time, a file that is not a
// zorp stream is refused, and each of several files is handled on its own.
#include "component/Headers.h"
#include "component/Zorp.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class SingleFiles : public testing::Test {
protected:
    void SetUp() override {
        Data = ReadWholeFile(CorpusFiles().at(0));
        WriteWholeFile(Dir / "notes.txt", Data);
    }
    std::string Q(const std::string& Name) const { return Quote(Dir / Name); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool BeginsWithHeader(const std::string& Name) const {
        return ReadWholeFile(Dir / Name).starts_with(std::string(HeaderMagic.data(), 5));
    }
    TempDir Dir;
    std::string Data;
};

TEST_F(SingleFiles, FileBecomesFileZrpAndBackAndTheInputIsKept) {
    const Outcome c = RunZorp("compress " + Q("notes.txt"));
    ASSERT_EQ(c.Status, 0) << c.Output;
    EXPECT_EQ(c.Output, "");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"notes.txt", "notes.txt.zrp"}));
    EXPECT_EQ(ReadWholeFile(Dir / "notes.txt.zrp"), TZorp(nullptr).CompressString(Data, coLZH5));
    fs::rename(Dir.Path() / "notes.txt", Dir.Path() / "original");

    const Outcome e = RunZorp("expand " + Q("notes.txt.zrp"));
    ASSERT_EQ(e.Status, 0) << e.Output;
    EXPECT_EQ(Entries(), (std::vector<std::string>{"notes.txt", "notes.txt.zrp", "original"}));
    EXPECT_EQ(ReadWholeFile(Dir / "notes.txt"), Data);
}

// An existing output stays as it was without -f, and the input is kept;
// with -f it is replaced.
TEST_F(SingleFiles, AnExistingOutputIsOverwrittenOnlyWithForce) {
    const std::string packed = TZorp(nullptr).CompressString(Data, coLZH5);
    struct Case {
        std::string Args;
        std::string Input;
        std::string Output;
    };
    const Case cases[] = {
        {"compress " + Q("notes.txt"), "notes.txt", "notes.txt.zrp"},
        {"compress -o " + Q("out") + " " + Q("notes.txt"), "notes.txt", "out"},
        {"expand " + Q("notes.txt.zrp"), "notes.txt.zrp", "notes.txt"},
        {"expand -o " + Q("out") + " " + Q("notes.txt.zrp"), "notes.txt.zrp", "out"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args);
        WriteWholeFile(Dir / "notes.txt", Data);
        WriteWholeFile(Dir / "notes.txt.zrp", packed);
        const std::string input = ReadWholeFile(Dir / c.Input);
        WriteWholeFile(Dir / c.Output, "previous");
        const Outcome refused = RunZorp(c.Args);
        EXPECT_EQ(refused.Status, 1);
        EXPECT_EQ(refused.Output,
                  "zorp: " + (Dir / c.Output) + " already exists; use -f to overwrite\n");
        EXPECT_EQ(ReadWholeFile(Dir / c.Output), "previous");

        for (const char* force : {" -f", " --force"}) {
            WriteWholeFile(Dir / c.Output, "previous");
            const Outcome replaced = RunZorp(c.Args + force);
            ASSERT_EQ(replaced.Status, 0) << replaced.Output;
            EXPECT_TRUE(ReadWholeFile(Dir / c.Output) ==
                        (c.Args.starts_with("compress") ? packed : Data));
            EXPECT_TRUE(ReadWholeFile(Dir / c.Input) == input);
        }
        fs::remove(Dir.Path() / "out");
    }
}

// With no file, or "-", standard input goes to standard output; -c sends a
// file's result there and keeps the file; -o - is standard output too.
// Method names are taken in any case.
TEST_F(SingleFiles, StandardStreamsWorkAsFilters) {
    const std::string packed = TZorp(nullptr).CompressString(Data, coLZH5);
    WriteWholeFile(Dir / "packed.zrp", packed);
    struct Case {
        std::string Args;
        std::string Expected;
    };
    const Case cases[] = {
        {"compress < " + Q("notes.txt"), packed},
        {"compress - < " + Q("notes.txt"), packed},
        {"compress -c " + Q("notes.txt"), packed},
        {"compress -o - " + Q("notes.txt"), packed},
        {"compress -c -m LH5 " + Q("notes.txt"), packed}, // method names in any case
        {"compress -c -m Rle " + Q("notes.txt"), TZorp(nullptr).CompressString(Data, coRLE)},
        {"expand < " + Q("packed.zrp"), Data},
        {"expand - < " + Q("packed.zrp"), Data},
        {"expand -c " + Q("packed.zrp"), Data},
        {"expand --stdout " + Q("packed.zrp"), Data},
        {"compress < " + Q("notes.txt") + " | " ZORP_TOOL " expand", Data},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args);
        const Outcome o = RunZorp(c.Args + " 2>/dev/null");
        EXPECT_EQ(o.Status, 0);
        EXPECT_TRUE(o.Output == c.Expected) << o.Output.size() << " bytes";
        EXPECT_EQ(Entries(), (std::vector<std::string>{"notes.txt", "packed.zrp"}));
    }
    // A named output for standard input.
    const Outcome named = RunZorp("compress -o " + Q("named.zrp") + " < " + Q("notes.txt"));
    ASSERT_EQ(named.Status, 0) << named.Output;
    EXPECT_EQ(ReadWholeFile(Dir / "named.zrp"), packed);
}

// A pseudo-terminal: what the tool sees as a terminal when its output goes
// to Path().
class Terminal {
public:
    Terminal() : FMaster(posix_openpt(O_RDWR | O_NOCTTY)) {
        if (FMaster >= 0 && grantpt(FMaster) == 0 && unlockpt(FMaster) == 0)
            FPath = ptsname(FMaster);
    }
    ~Terminal() {
        if (FMaster >= 0)
            close(FMaster);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    const std::string& Path() const { return FPath; }

private:
    int FMaster;
    std::string FPath;
};

TEST_F(SingleFiles, CompressedDataAreNotWrittenToATerminalUnlessForced) {
    const Terminal terminal;
    if (terminal.Path().empty())
        GTEST_SKIP() << "no pseudo-terminal here";
    WriteWholeFile(Dir / "short.txt", "a few words for the terminal");
    const std::string tty = " > " + Quote(terminal.Path());
    for (const std::string& args : {"compress -c " + Q("short.txt"), "compress < " + Q("short.txt"),
                                    "compress -o - " + Q("short.txt")}) {
        SCOPED_TRACE(args);
        const Outcome refused = RunZorp(args + tty);
        EXPECT_EQ(refused.Status, 1);
        EXPECT_EQ(refused.Output, "zorp: compressed data not written to a terminal; use -f to "
                                  "force\n");
        EXPECT_EQ(RunZorp(args + " -f" + tty).Status, 0);
    }
    ASSERT_EQ(RunZorp("compress " + Q("short.txt")).Status, 0);
    EXPECT_EQ(RunZorp("expand -c " + Q("short.txt.zrp") + tty).Status, 0);
}

// The output gets the input's permission bits and modification time, also
// when it replaces a file that had others, and whichever way it is named.
TEST_F(SingleFiles, OutputKeepsTheInputsModeAndModificationTime) {
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    const auto setStamp = [&](const std::string& name, fs::perms mode) {
        fs::permissions(Dir / name, mode);
        fs::last_write_time(Dir / name, then);
    };
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    setStamp("notes.txt", mode);
    WriteWholeFile(Dir / "other.zrp", "an older file with other permissions");
    fs::permissions(Dir / "other.zrp", fs::perms::all);
    for (const std::string& args : {"compress " + Q("notes.txt"),
                                    "compress -f -o " + Q("other.zrp") + " " + Q("notes.txt")}) {
        SCOPED_TRACE(args);
        ASSERT_EQ(RunZorp(args).Status, 0);
    }
    for (const char* name : {"notes.txt.zrp", "other.zrp"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fs::status(Dir / name).permissions(), mode);
        EXPECT_EQ(fs::last_write_time(Dir / name), then);
    }
    const fs::perms executable = fs::perms::owner_all | fs::perms::group_exec;
    setStamp("notes.txt.zrp", executable);
    fs::remove(Dir.Path() / "notes.txt");
    ASSERT_EQ(RunZorp("expand " + Q("notes.txt.zrp")).Status, 0);
    EXPECT_EQ(fs::status(Dir / "notes.txt").permissions(), executable);
    EXPECT_EQ(fs::last_write_time(Dir / "notes.txt"), then);
}

// Data that do not shrink keep a header, so that expand can tell them from
// other files; a file without one is refused unless --raw takes it as
// stored data. --raw on compress writes what the library writes.
TEST_F(SingleFiles, ExpandRefusesFilesWithoutAHeaderUnlessRaw) {
    WriteWholeFile(Dir / "short.txt", "too short to shrink");
    WriteWholeFile(Dir / "empty", "");
    for (const std::string& args : {"compress -m none " + Q("notes.txt"),
                                    "compress " + Q("short.txt"), "compress " + Q("empty")}) {
        SCOPED_TRACE(args);
        ASSERT_EQ(RunZorp(args).Status, 0);
    }
    EXPECT_TRUE(BeginsWithHeader("notes.txt.zrp"));
    EXPECT_TRUE(BeginsWithHeader("short.txt.zrp"));
    EXPECT_EQ(ReadWholeFile(Dir / "empty.zrp"), "");
    EXPECT_TRUE(TZorp(nullptr).ExpandString(ReadWholeFile(Dir / "notes.txt.zrp")) == Data);
    for (const char* name : {"notes.txt", "short.txt", "empty"}) {
        SCOPED_TRACE(name);
        const Outcome o = RunZorp("expand -c " + Q(std::string(name) + ".zrp"));
        EXPECT_EQ(o.Status, 0);
        EXPECT_TRUE(o.Output == ReadWholeFile(Dir / name));
    }

    const Outcome suffix = RunZorp("expand " + Q("notes.txt"));
    EXPECT_EQ(suffix.Status, 1);
    EXPECT_EQ(suffix.Output, "zorp: " + (Dir / "notes.txt") +
                                 ": unknown suffix (.zrp expected); name the output with -o, or "
                                 "use -c\n");
    const Outcome plain = RunZorp("expand -o " + Q("out") + " " + Q("notes.txt"));
    EXPECT_EQ(plain.Status, 1);
    EXPECT_EQ(plain.Output, "zorp: " + (Dir / "notes.txt") +
                                ": not a zorp stream (--raw takes it as stored data)\n");
    EXPECT_FALSE(fs::exists(Dir / "out"));
    EXPECT_EQ(RunZorp("expand -c < " + Q("notes.txt")).Output,
              "zorp: standard input: not a zorp stream (--raw takes it as stored data)\n");

    ASSERT_EQ(RunZorp("expand --raw -o " + Q("out") + " " + Q("notes.txt")).Status, 0);
    EXPECT_EQ(ReadWholeFile(Dir / "out"), Data);
    ASSERT_EQ(RunZorp("compress --raw -m none -o " + Q("raw") + " " + Q("notes.txt")).Status, 0);
    EXPECT_EQ(ReadWholeFile(Dir / "raw"), Data);
}

// Each file is handled on its own: a failure names the file, the others are
// done, and the exit status is 1 at the end.
TEST_F(SingleFiles, SeveralFilesGoOnPastOneThatFails) {
    WriteWholeFile(Dir / "b.txt", "the second file, long enough to be compressed: b b b b b b b");
    const Outcome c = RunZorp("compress " + Q("notes.txt") + " " + Q("missing") + " " + Q("b.txt"));
    EXPECT_EQ(c.Status, 1);
    EXPECT_EQ(c.Output, "zorp: " + (Dir / "missing") + ": No such file or directory\n");
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"b.txt", "b.txt.zrp", "notes.txt", "notes.txt.zrp"}));

    std::string damaged = ReadWholeFile(Dir / "notes.txt.zrp");
    damaged[damaged.size() / 2] ^= 0x10;
    WriteWholeFile(Dir / "notes.txt.zrp", damaged);
    fs::remove(Dir.Path() / "notes.txt");
    fs::rename(Dir.Path() / "b.txt", Dir.Path() / "b.original");
    const Outcome e = RunZorp("expand " + Q("notes.txt.zrp") + " " + Q("b.txt.zrp"));
    EXPECT_EQ(e.Status, 1);
    EXPECT_NE(e.Output.find("zorp: " + (Dir / "notes.txt.zrp") + ": "), std::string::npos)
        << e.Output;
    EXPECT_EQ(std::count(e.Output.begin(), e.Output.end(), '\n'), 1) << e.Output;
    EXPECT_FALSE(fs::exists(Dir / "notes.txt"));
    EXPECT_TRUE(ReadWholeFile(Dir / "notes.txt.zrp") == damaged);
    EXPECT_EQ(ReadWholeFile(Dir / "b.txt"), ReadWholeFile(Dir / "b.original"));
}

} // namespace
} // namespace zorp::test
