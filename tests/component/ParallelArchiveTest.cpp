// Archives written on several threads: the same bytes, the same questions to
// OnCheckFile in the same order, the same progress events in the same order,
// the same errors and the same list as on one thread.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

// What one run of CompressFilesToStream showed its caller.
struct Outcome {
    std::string Archive;
    std::vector<std::string> Checks; // OnCheckFile
    std::vector<std::string> Events; // OnShowProgress and OnOperationProgress
    std::vector<std::string> List;
    std::string Error;
    bool operator==(const Outcome&) const = default;
};

// How a run is set up: the files (name, bytes; an empty name a missing
// file), the method, the key and what OnCheckFile and OnShowProgress answer.
struct Case {
    const char* Title;
    std::vector<std::pair<std::string, std::string>> Files;
    TZorpMethod Method = coLZH5;
    int32_t Key = 0;
    std::string SkipName = {};   // OnCheckFile answers "" for it
    std::string StopName = {};   // OnCheckFile answers "*" for it
    std::string CancelName = {}; // OnShowProgress cancels in its entry
    bool CancelAtStart = true;   // at its first percentage, or within its run
    bool ExceptionOnFileError = true;
};

Outcome RunCase(const Case& c, const fs::path& Dir, int Threads) {
    TZorp zorp(nullptr);
    zorp.SetThreads(Threads);
    zorp.SetKey(c.Key);
    zorp.SetTargetPath(Dir.string() + "/");
    zorp.SetExceptionOnFileError(c.ExceptionOnFileError);
    Outcome out;
    std::string running; // the entry the operation is at
    zorp.OnCheckFile = [&](std::string& name, TCProcessMode) {
        out.Checks.push_back(name);
        if (name == c.SkipName)
            name.clear();
        else if (name == c.StopName)
            name = "*";
    };
    zorp.OnShowProgress = [&](int32_t& percent) {
        out.Events.push_back("percent " + std::to_string(percent));
        const bool within = percent > 0 && percent < 100;
        if (!c.CancelName.empty() && running == c.CancelName && within != c.CancelAtStart)
            percent = -1;
    };
    zorp.OnOperationProgress = [&](const TOperationProgress& p) {
        running = p.Name;
        out.Events.push_back("op " + p.Name + " " + std::to_string(p.Index) + " " +
                             std::to_string(p.Done) + "/" + std::to_string(p.Total));
    };
    fw::TStringList list;
    for (const auto& [name, data] : c.Files)
        list.Add((Dir / name).string());
    fw::TMemoryStream memory;
    try {
        zorp.CompressFilesToStream(memory, list, c.Method);
    } catch (const std::exception& e) {
        out.Error = e.what();
    }
    out.Archive = memory.DataString();
    for (int i = 0; i < list.Count(); ++i)
        out.List.push_back(list.Get(i));
    return out;
}

std::vector<std::pair<std::string, std::string>> Many(int Count) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < Count; ++i)
        files.emplace_back("many" + std::to_string(i) + ".txt", TextLines(100 + 53 * i, i));
    return files;
}

std::vector<std::pair<std::string, std::string>> Mixed() {
    return {{"empty", ""},
            {"small.txt", TextLines(700, 1)},
            {"large.txt", TextLines(900000, 2)},
            {"noise.bin", RandomBytes(200000, 3)},
            {"medium.txt", TextLines(70000, 4)}};
}

std::vector<std::pair<std::string, std::string>> WithMissing() {
    auto files = Many(6);
    files.insert(files.begin() + 3, {"missing.txt", std::string()}); // never written
    return files;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = [] {
        std::vector<Case> v;
        v.push_back({.Title = "mixed files, lh5", .Files = Mixed()});
        v.push_back({.Title = "mixed files, lzh, key",
                     .Files = Mixed(),
                     .Method = coLZH,
                     .Key = 0x1234567});
        v.push_back({.Title = "mixed files, rle", .Files = Mixed(), .Method = coRLE});
        v.push_back({.Title = "many files, stored", .Files = Many(40), .Method = coNone});
        v.push_back({.Title = "skip and stop",
                     .Files = Many(12),
                     .SkipName = "many2.txt",
                     .StopName = "many8.txt"});
        v.push_back({.Title = "missing file raises", .Files = WithMissing()});
        v.push_back({.Title = "missing file left out",
                     .Files = WithMissing(),
                     .ExceptionOnFileError = false});
        v.push_back(
            {.Title = "cancel at an entry's start", .Files = Many(10), .CancelName = "many5.txt"});
        v.push_back({.Title = "cancel within a run",
                     .Files = Mixed(),
                     .CancelName = "large.txt",
                     .CancelAtStart = false});
        return v;
    }();
    return cases;
}

TEST(ParallelArchive, EveryThreadCountShowsWhatOneThreadShows) {
    TempDir dir;
    for (const Case& c : Cases()) {
        for (const auto& [name, data] : c.Files)
            if (name != "missing.txt")
                WriteWholeFile(dir / name, data);
        const Outcome one = RunCase(c, dir.Path(), 1);
        EXPECT_FALSE(one.Archive.empty() && one.Error.empty()) << c.Title;
        for (const int threads : {2, 4}) {
            const Outcome many = RunCase(c, dir.Path(), threads);
            EXPECT_EQ(one.Archive, many.Archive) << c.Title << ", threads " << threads;
            // OnCheckFile is asked in the same order; when the operation ends
            // early, it may have been asked about up to threads times ParallelAhead more.
            const size_t extra =
                many.Checks.size() - std::min(many.Checks.size(), one.Checks.size());
            EXPECT_LE(extra,
                      one.Error.empty() ? 0U : static_cast<size_t>(threads * TZorp::ParallelAhead))
                << c.Title;
            const std::vector<std::string> asked(many.Checks.begin(),
                                                 many.Checks.end() - static_cast<ptrdiff_t>(extra));
            EXPECT_EQ(one.Checks, asked) << c.Title << ", threads " << threads;
            EXPECT_EQ(one.Events, many.Events) << c.Title << ", threads " << threads;
            EXPECT_EQ(one.List, many.List) << c.Title << ", threads " << threads;
            EXPECT_EQ(one.Error, many.Error) << c.Title << ", threads " << threads;
        }
    }
}

// The cases do what they are meant to: an error, a cancel, a stop, entries.
TEST(ParallelArchive, TheCasesReachTheirPaths) {
    TempDir dir;
    std::vector<Outcome> outcomes;
    for (const Case& c : Cases()) {
        for (const auto& [name, data] : c.Files)
            if (name != "missing.txt")
                WriteWholeFile(dir / name, data);
        outcomes.push_back(RunCase(c, dir.Path(), 3));
    }
    EXPECT_EQ(outcomes[0].List.size(), 5U);
    EXPECT_EQ(outcomes[3].List.size(), 40U);
    EXPECT_EQ(outcomes[4].List,
              (std::vector<std::string>{"many0.txt", "many1.txt", "many3.txt", "many4.txt",
                                        "many5.txt", "many6.txt", "many7.txt", dir / "many9.txt",
                                        dir / "many10.txt", dir / "many11.txt"}));
    EXPECT_NE(outcomes[5].Error.find("missing.txt"), std::string::npos);
    EXPECT_TRUE(outcomes[6].Error.empty());
    EXPECT_EQ(outcomes[6].List.size(), 6U);
    for (const size_t cancelled : {7U, 8U}) {
        EXPECT_EQ(outcomes[cancelled].Error, "Operation cancelled");
        EXPECT_TRUE(outcomes[cancelled].Archive.empty());
    }
}

// A file above the limit goes through the caller's thread between entries
// the workers compressed; the archive and its listing stay the same.
TEST(ParallelArchive, AFileAboveTheLimitKeepsItsPlace) {
    TempDir dir;
    const std::string big = TextLines(static_cast<size_t>(TZorp::ParallelEntryLimit) + 1000, 9);
    Case c{
        .Title = "above the limit",
        .Files = {{"a.txt", TextLines(5000, 1)}, {"big.txt", big}, {"c.txt", TextLines(9000, 3)}},
        .Method = coNone};
    for (const auto& [name, data] : c.Files)
        WriteWholeFile(dir / name, data);
    const Outcome one = RunCase(c, dir.Path(), 1);
    const Outcome two = RunCase(c, dir.Path(), 2);
    EXPECT_EQ(one, two);
    EXPECT_EQ(two.List.size(), 3U);
}

TEST(ParallelArchive, ArchiveFilesAreTheSameForEveryThreadCount) {
    TempDir dir;
    for (const auto& [name, data] : Mixed())
        WriteWholeFile(dir / name, data);
    std::vector<std::string> archives;
    for (const int threads : {1, 2, 4}) {
        TZorp zorp(nullptr);
        zorp.SetThreads(threads);
        fw::TStringList list;
        for (const auto& [name, data] : Mixed())
            list.Add(dir / name);
        const fs::path archive = dir / ("t" + std::to_string(threads) + ".zrp");
        zorp.CompressFiles(archive, list, coLZH5);
        archives.push_back(ReadWholeFile(archive));
    }
    EXPECT_GT(archives[0].size(), 1000U);
    EXPECT_EQ(archives[0], archives[1]);
    EXPECT_EQ(archives[0], archives[2]);
}

TEST(ParallelArchive, ThreadsBelowOneCountAsOne) {
    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.Threads(), 1);
    zorp.SetThreads(0);
    EXPECT_EQ(zorp.Threads(), 1);
    zorp.SetThreads(6);
    EXPECT_EQ(zorp.Threads(), 6);
}

} // namespace
} // namespace zorp::test
