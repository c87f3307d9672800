// The zorp tool never loses an archive or a file: killed at each step of a
// rewrite, stopped by a signal, out of disk space or failing to read its
// input, it leaves the old archive (or the complete new one) and no
// temporary file. Faults are injected with strace into the real tool.
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class AtomicRewrite : public testing::Test {
protected:
    void SetUp() override {
        if (!CanInjectFaults())
            GTEST_SKIP() << "strace cannot trace here (not installed, or ptrace is not allowed)";
        fs::create_directories(Dir.Path() / "src");
        for (const std::string& file : CorpusFiles())
            fs::copy_file(file, Dir.Path() / "src" / fs::path(file).filename());
        WriteWholeFile(Dir / "new.txt", "a new entry");
        // Stored, so that the archive is large and written in many blocks.
        ASSERT_EQ(RunZorp("add -q -m none -C " + Quote(Dir / "src") + " " + Arc() + " " +
                          Quote(Dir / "src"))
                      .Status,
                  0);
        Old = ReadWholeFile(Dir / "a.zrp");
    }
    std::string Arc() const { return Quote(Dir / "a.zrp"); }
    // The names in the directory other than the inputs.
    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir.Path()))
            if (e.path().filename() != "src" && e.path().filename() != "new.txt")
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir Dir;
    std::string Old;
};

// A rewrite killed at each of its steps: before the rename the old archive
// stays, after it the new one is complete; only a kill in the instant
// between naming the new file and renaming it leaves that file (complete)
// under its temporary name.
TEST_F(AtomicRewrite, AKilledRewriteLeavesTheOldArchiveOrTheNewOne) {
    const std::string commands[] = {"delete " + Arc() + " alice29.txt",
                                    "add -q -m lh5 " + Arc() + " " + Quote(Dir / "new.txt")};
    struct Step {
        const char* Inject;
        bool NewInPlace;
        bool TempLeft;
    };
    const Step steps[] = {
        {"write:signal=KILL:when=1", false, false},
        {"write:signal=KILL:when=20", false, false},
        {"fsync:signal=KILL:when=1", false, false}, // the file, before its name
        {"linkat:signal=KILL:when=1", false, false},
        {"rename,renameat,renameat2:signal=KILL", false, true},
        {"fsync:signal=KILL:when=2", true, false}, // the directory, after the rename
    };
    for (const std::string& command : commands) {
        // The archive the command writes when nothing stops it.
        ASSERT_EQ(RunZorp(command).Status, 0);
        const std::string expected = ReadWholeFile(Dir / "a.zrp");
        ASSERT_NE(expected, Old);
        for (const Step& step : steps) {
            SCOPED_TRACE(command + " killed at " + step.Inject);
            WriteWholeFile(Dir / "a.zrp", Old);
            const Outcome o = RunZorpInjected(step.Inject, command);
            EXPECT_NE(o.Status, 0) << o.Output;
            // (compared as a whole: the archives are too large for a diff)
            EXPECT_TRUE(ReadWholeFile(Dir / "a.zrp") == (step.NewInPlace ? expected : Old));
            const std::vector<std::string> left = Left();
            ASSERT_EQ(left.size(), step.TempLeft ? 2u : 1u);
            if (step.TempLeft) {
                EXPECT_EQ(left[1].rfind("a.zrp.zorp-", 0), 0u) << left[1];
                EXPECT_TRUE(ReadWholeFile(Dir / left[1]) == expected);
                fs::remove(Dir.Path() / left[1]);
            }
        }
        WriteWholeFile(Dir / "a.zrp", Old);
    }
    // A new archive appears only complete.
    fs::remove(Dir.Path() / "a.zrp");
    for (const char* inject : {"write:signal=KILL:when=10", "linkat:signal=KILL"}) {
        SCOPED_TRACE(inject);
        RunZorpInjected(inject, "add -q " + Arc() + " " + Quote(Dir / "src"));
        EXPECT_TRUE(Left().empty());
    }
}

// SIGINT, SIGTERM and SIGHUP while the new archive has a temporary name:
// the name is removed before the program ends.
TEST_F(AtomicRewrite, SignalsRemoveTheTemporaryName) {
    for (const char* signal : {"INT", "TERM", "HUP"}) {
        SCOPED_TRACE(signal);
        const std::string inject =
            std::string("rename,renameat,renameat2:error=EIO:signal=") + signal;
        const Outcome o = RunZorpInjected(inject, "add -q " + Arc() + " " + Quote(Dir / "new.txt"));
        EXPECT_NE(o.Status, 0) << o.Output;
        EXPECT_TRUE(ReadWholeFile(Dir / "a.zrp") == Old);
        EXPECT_EQ(Left(), (std::vector<std::string>{"a.zrp"}));
        WriteWholeFile(Dir / "out", "previous");
        RunZorpInjected(inject,
                        "compress -q -f -o " + Quote(Dir / "out") + " " + Quote(Dir / "new.txt"));
        EXPECT_EQ(ReadWholeFile(Dir / "out"), "previous");
        EXPECT_EQ(Left(), (std::vector<std::string>{"a.zrp", "out"}));
        fs::remove(Dir.Path() / "out");
    }
}

// Disk full (a file-size limit here) and read errors: the message names the
// user's file and the system's reason; nothing changes.
TEST_F(AtomicRewrite, WriteAndReadErrorsChangeNothingAndSayWhy) {
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "existing archive" : "new archive");
        if (!existing)
            fs::remove(Dir.Path() / "a.zrp");
        const std::string archive = existing ? "a.zrp" : "b.zrp";
        const Outcome full =
            RunCommand("cd " + Quote(Dir.Path().string()) + " && " + ZORP_TOOL +
                       " --version >/dev/null; trap '' XFSZ; ulimit -f 1024; " + ZORP_TOOL +
                       " add -q -m none " + archive + " src/plrabn12.txt src/urls.10K");
        EXPECT_EQ(full.Status, 1);
        EXPECT_EQ(full.Output, "zorp: " + archive + ": File too large\n");

        const std::string input = Dir / "src/lcet10.txt";
        const Outcome eio =
            RunZorpInjected("read:error=EIO:when=2", "add -q -P " + Arc() + " " + Quote(input),
                            "-P " + Quote(input));
        EXPECT_EQ(eio.Status, 1);
        EXPECT_EQ(eio.Output, "zorp: " + input + ": Input/output error\n");

        // The file seems to end early, as one cut short while it is read.
        const Outcome cut =
            RunZorpInjected("read:retval=0:when=2+", "add -q -P " + Arc() + " " + Quote(input),
                            "-P " + Quote(input));
        EXPECT_EQ(cut.Status, 1);
        EXPECT_EQ(cut.Output.rfind("zorp: " + input + ": ", 0), 0u) << cut.Output;

        EXPECT_EQ(Left(),
                  existing ? std::vector<std::string>{"a.zrp"} : std::vector<std::string>{});
        if (existing) {
            EXPECT_TRUE(ReadWholeFile(Dir / "a.zrp") == Old);
        }
    }
}

} // namespace
} // namespace zorp::test
