// What archive operations report beside their work: entries asked for that
// the archive does not hold, and the progress of the whole operation.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class ArchiveReports : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir / "src");
        for (size_t i = 0; i < Sizes.size(); ++i)
            WriteWholeFile(Dir / ("src/" + Names[i]),
                           RandomBytes(Sizes[i], static_cast<uint32_t>(i)));
        Zorp.SetTargetPath(Dir / "src");
        fw::TStringList list;
        for (const std::string& name : Names)
            list.Add(Dir / ("src/" + name));
        Zorp.CompressFiles(Archive, list, coLZH5);
        Zorp.SetTargetPath(Dir / "out");
        Zorp.SetMakeDirectories(true);
    }

    TempDir Dir;
    const std::string Archive = Dir / "a.zrp";
    const std::vector<std::string> Names{"one", "two", "three"};
    const std::vector<int32_t> Sizes{30000, 0, 20000};
    TZorp Zorp{nullptr};
};

TEST_F(ArchiveReports, MissingEntriesAreNamedAfterTheOthersAreExpanded) {
    fw::TMemoryStream out;
    out.WriteBuffer("kept", 4);
    try {
        Zorp.ExpandStreamFromArchive(Archive, out, "nope");
        ADD_FAILURE() << "no exception";
    } catch (const EEntryNotFound& e) {
        EXPECT_STREQ(e.what(), "File not found in archive: nope");
    }
    EXPECT_EQ(out.DataString(), "kept");

    fw::TStringList wanted{"three", "gone", "one", "lost"};
    try {
        Zorp.ExpandFiles(Archive, &wanted);
        ADD_FAILURE() << "no exception";
    } catch (const EEntryNotFound& e) {
        EXPECT_STREQ(e.what(), "Files not found in archive: gone, lost");
        EXPECT_EQ(e.Names(), (std::vector<std::string>{"gone", "lost"}));
    }
    EXPECT_EQ(wanted.Count(), 2); // the paths written
    EXPECT_EQ(ReadWholeFile(Dir / "out/three"), ReadWholeFile(Dir / "src/three"));
    EXPECT_EQ(ReadWholeFile(Dir / "out/one"), ReadWholeFile(Dir / "src/one"));

    std::string one = "missing";
    EXPECT_THROW(Zorp.ExpandFile(one, Archive), EEntryNotFound);

    // Stopping with "*" leaves the rest unasked, not missing.
    Zorp.OnCheckFile = [](std::string& target, TCProcessMode) { target = "*"; };
    fw::TStringList stopped{"one", "gone"};
    EXPECT_NO_THROW(Zorp.ExpandFiles(Archive, &stopped));
    EXPECT_EQ(stopped.Count(), 0);
}

TEST_F(ArchiveReports, OperationProgressRunsInOrderOverTheWholeOperation) {
    struct Case {
        const char* Name;
        std::function<void()> Run;
        std::vector<std::string> Entries; // the entries handled, in order
        int Count;
        int64_t Total;
    };
    const Case cases[] = {
        {"CompressFiles, one file missing",
         [&] {
             Zorp.SetTargetPath(Dir / "src");
             fw::TStringList list{Dir / "src/one", Dir / "src/absent", Dir / "src/three"};
             Zorp.CompressFiles(Dir / "b.zrp", list, coLZH);
         },
         {"one", "three"},
         3,
         50000},
        {"ExpandFilesFromStream, two asked for",
         [&] {
             fw::TMemoryStream archive;
             archive.LoadFromFile(Archive);
             fw::TStringList wanted{"three", "two"};
             Zorp.ExpandFilesFromStream(archive, &wanted);
         },
         {"two", "three"},
         2,
         20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<TOperationProgress> events;
        Zorp.OnOperationProgress = [&](const TOperationProgress& p) { events.push_back(p); };
        c.Run();
        ASSERT_FALSE(events.empty());
        std::vector<std::string> begun;
        for (size_t i = 0; i < events.size(); ++i) {
            const TOperationProgress& p = events[i];
            EXPECT_EQ(p.Count, c.Count);
            EXPECT_EQ(p.Total, c.Total);
            EXPECT_LE(p.Done, p.Total);
            if (i > 0) {
                EXPECT_GE(p.Index, events[i - 1].Index);
                EXPECT_GE(p.Done, events[i - 1].Done);
            }
            if (i == 0 || p.Index != events[i - 1].Index)
                begun.push_back(p.Name);
        }
        EXPECT_EQ(begun, c.Entries);
        EXPECT_EQ(events.back().Done, c.Total);
        // Within an entry the driver's reading moves it on.
        EXPECT_GT(events.size(), 2 * c.Entries.size());
    }
}

} // namespace
} // namespace zorp::test
