// Multi-file archives on a real file system: names, merging, deleting,
// OnCheckFile answers, listing, expansion with dates and attributes, keys.
#include "component/FileInfo.h"
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

struct Entry {
    std::string Name;
    int32_t Size, Packed, Method, Offset;
    bool Locked;
};

class Archives : public testing::Test {
protected:
    // Writes a file under the temporary directory and returns its path.
    std::string File(const std::string& rel, const std::string& data) {
        fs::create_directories(fs::path(Dir / rel).parent_path());
        WriteWholeFile(Dir / rel, data);
        return Dir / rel;
    }
    std::vector<Entry> List(const std::string& archive) {
        fw::TStringList list;
        Zorp.ScanCompressedFile(archive, list);
        std::vector<Entry> entries;
        for (int i = 0; i < list.Count(); ++i) {
            const auto* info = dynamic_cast<TZorpFileInfo*>(list.GetObject(i));
            entries.push_back({list.Get(i), info->UncompressedSize, info->CompressedSize,
                               info->Method, info->HeaderOffset, info->Locked});
        }
        Zorp.FreeFileList(&list);
        EXPECT_EQ(list.Count(), 0);
        return entries;
    }
    std::vector<std::string> Names(const std::string& archive) {
        std::vector<std::string> names;
        for (const Entry& e : List(archive))
            names.push_back(e.Name);
        return names;
    }
    int32_t TotalSize(const std::string& archive) {
        const std::string raw = ReadWholeFile(archive);
        return TZorpHeader::Decode(reinterpret_cast<const uint8_t*>(raw.data())).Size;
    }
    static std::vector<std::string> Lines(const fw::TStrings& list) {
        std::vector<std::string> lines;
        for (int i = 0; i < list.Count(); ++i)
            lines.push_back(list.Get(i));
        return lines;
    }

    TempDir Dir;
    TZorp Zorp{nullptr};
};

std::string Text(size_t n, char seed) {
    std::string s;
    while (s.size() < n)
        s += std::string("line of text number ") + seed + std::to_string(s.size()) + "\n";
    return s.substr(0, n);
}

TEST_F(Archives, NamesAreStoredRelativeToTargetPath) {
    const std::string a = File("data/a.txt", Text(500, 'a'));
    const std::string b = File("data/sub/b.txt", Text(700, 'b'));
    Zorp.SetTargetPath(Dir / "data");
    fw::TStringList list{a, b};
    Zorp.CompressFiles(Dir / "rel.zrp", list, coLZH5);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(Names(Dir / "rel.zrp"), (std::vector<std::string>{"a.txt", "sub/b.txt"}));

    Zorp.SetTargetPath("");
    fw::TStringList full{a};
    Zorp.CompressFiles(Dir / "abs.zrp", full, coLZH5);
    EXPECT_EQ(Names(Dir / "abs.zrp"), (std::vector<std::string>{a}));
}

TEST_F(Archives, MergePutsNewEntriesFirstAndReplacesSameNames) {
    // Names differing in case are different files, unless IgnoreCase is set.
    for (const bool ignoreCase : {false, true}) {
        SCOPED_TRACE(ignoreCase);
        Zorp.SetIgnoreCase(ignoreCase);
        Zorp.SetTargetPath(Dir.Path().string());
        fs::remove(Dir / "m.zrp");
        fw::TStringList old{File("a.txt", Text(300, 'x')), File("c.txt", Text(400, 'c'))};
        Zorp.CompressFiles(Dir / "m.zrp", old, coLZH);
        fs::remove(Dir / "a.txt");
        fw::TStringList update{File("A.TXT", Text(350, 'A')), File("b.txt", Text(450, 'b'))};
        Zorp.CompressFiles(Dir / "m.zrp", update, coLZH);
        fw::TMemoryStream out;
        Zorp.ExpandStreamFromArchive(Dir / "m.zrp", out, "a.txt");
        if (ignoreCase) {
            EXPECT_EQ(Names(Dir / "m.zrp"), (std::vector<std::string>{"A.TXT", "b.txt", "c.txt"}));
            EXPECT_EQ(TotalSize(Dir / "m.zrp"), 350 + 450 + 400);
            EXPECT_EQ(out.DataString(), Text(350, 'A'));
        } else {
            EXPECT_EQ(Names(Dir / "m.zrp"),
                      (std::vector<std::string>{"A.TXT", "b.txt", "a.txt", "c.txt"}));
            EXPECT_EQ(TotalSize(Dir / "m.zrp"), 350 + 450 + 300 + 400);
            EXPECT_EQ(out.DataString(), Text(300, 'x'));
        }
        fs::remove(Dir / "A.TXT");
    }
    // Nothing is left beside the archive.
    for (const auto& e : fs::directory_iterator(Dir.Path()))
        EXPECT_EQ(e.path().string().find(".zorp-"), std::string::npos) << e.path();
}

TEST_F(Archives, IncompressibleFileIsStoredWithProgress) {
    Zorp.SetTargetPath(Dir.Path().string());
    const std::string noise = RandomBytes(20000, 8);
    fw::TStringList list{File("noise.bin", noise)};
    int events = 0;
    Zorp.OnShowProgress = [&](int32_t&) { ++events; };
    Zorp.CompressFiles(Dir / "n.zrp", list, coLZH5);
    const auto entries = List(Dir / "n.zrp");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Method, coNone);
    EXPECT_EQ(entries[0].Packed, 20000);
    EXPECT_GT(events, 4); // both runs report
    EXPECT_EQ(Zorp.LastRatio(), 100);
    fw::TMemoryStream out;
    Zorp.ExpandStreamFromArchive(Dir / "n.zrp", out, "noise.bin");
    EXPECT_EQ(out.DataString(), noise);
}

TEST_F(Archives, CheckFileAnswersSkipStopAndRename) {
    Zorp.SetTargetPath(Dir.Path().string());
    fw::TStringList list{File("1.txt", "one one one one one one one one one one"),
                         File("2.txt", "two"), File("3.txt", "three"), File("4.txt", "four")};
    std::vector<std::string> asked;
    Zorp.OnCheckFile = [&](std::string& name, TCProcessMode mode) {
        EXPECT_EQ(mode, cmCompress);
        asked.push_back(name);
        if (name == "2.txt")
            name = "*";
        else if (name == "1.txt")
            name = "renamed/one.txt";
    };
    Zorp.CompressFiles(Dir / "c.zrp", list, coRLE);
    EXPECT_EQ(asked, (std::vector<std::string>{"1.txt", "2.txt"}));
    EXPECT_EQ(Lines(list),
              (std::vector<std::string>{"renamed/one.txt", Dir / "3.txt", Dir / "4.txt"}));
    EXPECT_EQ(Names(Dir / "c.zrp"), (std::vector<std::string>{"renamed/one.txt"}));

    Zorp.OnCheckFile = [](std::string& name, TCProcessMode) { name.clear(); };
    fw::TStringList skipped{Dir / "3.txt", Dir / "4.txt"};
    Zorp.CompressFiles(Dir / "empty.zrp", skipped, coLZH);
    EXPECT_EQ(skipped.Count(), 0);
    EXPECT_EQ(fs::file_size(Dir / "empty.zrp"), 21u);
    EXPECT_TRUE(Names(Dir / "empty.zrp").empty());

    std::string one = Dir / "3.txt";
    Zorp.CompressFile(Dir / "veto.zrp", one, coLZH);
    EXPECT_EQ(one, "");
    EXPECT_TRUE(Names(Dir / "veto.zrp").empty());
}

TEST_F(Archives, UnreadableFilesAreSkippedOrRaised) {
    Zorp.SetTargetPath(Dir.Path().string());
    fw::TStringList list{Dir / "missing.txt", File("ok.txt", "fine")};
    Zorp.CompressFiles(Dir / "s.zrp", list, coLZH);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"ok.txt"}));
    Zorp.SetExceptionOnFileError(true);
    fw::TStringList again{Dir / "missing.txt"};
    EXPECT_THROW(Zorp.CompressFiles(Dir / "t.zrp", again, coLZH), fw::EFOpenError);
}

TEST_F(Archives, DeleteFilesHonoursStopAndListedNames) {
    Zorp.SetTargetPath(Dir.Path().string());
    fw::TStringList list{File("a", "aaa"), File("b", "bbb"), File("c", "ccc"), File("d", "ddd")};
    Zorp.CompressFiles(Dir / "d.zrp", list, coNone);
    fw::TStringList doomed{"a", "b", "c", "d"};
    Zorp.OnCheckFile = [](std::string& name, TCProcessMode mode) {
        EXPECT_EQ(mode, cmDelete);
        if (name == "b")
            name = "*";
        else
            name = "ignored";
    };
    Zorp.DeleteFiles(Dir / "d.zrp", doomed);
    EXPECT_EQ(Lines(doomed), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Names(Dir / "d.zrp"), (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_EQ(TotalSize(Dir / "d.zrp"), 9);
    Zorp.OnCheckFile = nullptr;
    // Names that are not in the archive: the file is not rewritten.
    struct stat before {};
    ASSERT_EQ(stat((Dir / "d.zrp").c_str(), &before), 0);
    fw::TStringList none{"nothing", "B"};
    Zorp.DeleteFiles(Dir / "d.zrp", none);
    EXPECT_EQ(Names(Dir / "d.zrp").size(), 3u);
    struct stat after {};
    ASSERT_EQ(stat((Dir / "d.zrp").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    fw::TStringList any{"x"};
    EXPECT_THROW(Zorp.DeleteFiles(Dir / "absent.zrp", any), fw::EFOpenError);
}

TEST_F(Archives, StreamEntriesAndHeaderOffsets) {
    fw::TMemoryStream first, second;
    const std::string one = Text(3000, '1');
    first.WriteBuffer(one.data(), 3000);
    first.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "s.zrp", first, "same", coLZH5);
    const std::string two = Text(100, '2');
    second.WriteBuffer(two.data(), 100);
    second.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "s.zrp", second, "SAME", coRLE);
    Zorp.SetIgnoreCase(true);
    const auto entries = List(Dir / "s.zrp");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Offset, 21);
    EXPECT_EQ(entries[1].Offset, 21 + 25 + 4 + entries[0].Packed);
    EXPECT_EQ(TotalSize(Dir / "s.zrp"), 3100);
    // Every entry of that name, in archive order.
    fw::TMemoryStream out;
    Zorp.ExpandStreamFromArchive(Dir / "s.zrp", out, "Same");
    EXPECT_EQ(out.DataString(), one + two);

    // A file that is not an archive is refused, however short, and kept; an
    // empty one is started anew.
    for (const std::string& other : {std::string("tiny"), std::string(100, 'o')}) {
        WriteWholeFile(Dir / "other.bin", other);
        first.SetPosition(0);
        EXPECT_THROW(Zorp.CompressStreamToArchive(Dir / "other.bin", first, "x", coLZH),
                     EInvalidHeader);
        EXPECT_EQ(ReadWholeFile(Dir / "other.bin"), other);
    }
    WriteWholeFile(Dir / "empty.zrp", "");
    first.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "empty.zrp", first, "x", coLZH);
    EXPECT_EQ(Names(Dir / "empty.zrp"), (std::vector<std::string>{"x"}));
}

TEST_F(Archives, CompressFilesToStreamLeavesThePositionBehindTheHeader) {
    fw::TMemoryStream dest;
    dest.WriteBuffer("prefix", 6);
    fw::TStringList list{File("f.txt", Text(1000, 'f'))};
    Zorp.CompressFilesToStream(dest, list, coLZH);
    EXPECT_EQ(dest.Position(), 6 + 21);
    EXPECT_GT(dest.Size(), 6 + 21 + 25);
}

TEST_F(Archives, ExpansionSelectsByListAndRestoresDatesAndAttributes) {
    const std::string a = File("src/a.txt", Text(900, 'a'));
    const std::string b = File("src/sub/b.txt", Text(800, 'b'));
    fw::FileSetAttr(b, fw::faReadOnly | fw::faArchive);
    {
        fw::TFileStream f(a, fw::fmOpenReadWrite);
        fw::FileSetDate(f.Handle(), static_cast<int32_t>((40u << 25 | 5u << 21 | 6u << 16) |
                                                         (7u << 11 | 8u << 5 | 9u)));
    }
    Zorp.SetTargetPath(Dir / "src");
    fw::TStringList list{a, b};
    Zorp.CompressFiles(Dir / "e.zrp", list, coLZH5);

    Zorp.SetTargetPath(Dir / "out");
    Zorp.SetMakeDirectories(true);
    fw::TStringList pick{"a.txt"};
    Zorp.ExpandFiles(Dir / "e.zrp", &pick);
    EXPECT_EQ(Lines(pick), (std::vector<std::string>{Dir / "out/a.txt"}));
    EXPECT_EQ(ReadWholeFile(Dir / "out/a.txt"), Text(900, 'a'));
    fw::TFileStream restored(Dir / "out/a.txt", fw::fmOpenRead);
    EXPECT_EQ(fw::FileGetDate(restored.Handle()),
              static_cast<int32_t>((40u << 25 | 5u << 21 | 6u << 16) | (7u << 11 | 8u << 5 | 9u)));
    EXPECT_FALSE(fs::exists(Dir / "out/sub"));

    fw::TStringList nothing;
    Zorp.ExpandFiles(Dir / "e.zrp", &nothing);
    EXPECT_EQ(nothing.Count(), 0);

    Zorp.ExpandFiles(Dir / "e.zrp", nullptr);
    EXPECT_EQ(ReadWholeFile(Dir / "out/sub/b.txt"), Text(800, 'b'));
    EXPECT_EQ(fw::FileGetAttr(Dir / "out/sub/b.txt"), fw::faReadOnly | fw::faArchive);

    std::string one = "sub/b.txt";
    Zorp.SetTargetPath(Dir / "again");
    Zorp.ExpandFile(one, Dir / "e.zrp");
    EXPECT_EQ(one, Dir / "again/sub/b.txt");
}

TEST_F(Archives, EmptyFilesAfterTheLastDataAreListedAndExpanded) {
    Zorp.SetTargetPath(Dir / "in");
    fw::TStringList list{File("in/full", "data data"), File("in/empty1", ""),
                         File("in/empty2", "")};
    Zorp.CompressFiles(Dir / "z.zrp", list, coLZH);
    EXPECT_EQ(Names(Dir / "z.zrp").size(), 3u);
    Zorp.SetTargetPath(Dir / "out");
    Zorp.SetMakeDirectories(true);
    fw::TStringList* all = nullptr;
    Zorp.ExpandFiles(Dir / "z.zrp", all);
    EXPECT_EQ(ReadWholeFile(Dir / "out/full"), "data data");
    EXPECT_TRUE(fs::exists(Dir / "out/empty1"));
    EXPECT_TRUE(fs::exists(Dir / "out/empty2"));
}

TEST_F(Archives, LockedEntriesNeedTheKeyAndLeaveNoFileWithoutIt) {
    Zorp.SetTargetPath(Dir.Path().string());
    Zorp.SetKey(-77);
    fw::TStringList list{File("secret.txt", Text(5000, 's'))};
    Zorp.CompressFiles(Dir / "k.zrp", list, coLZH5);
    EXPECT_TRUE(List(Dir / "k.zrp")[0].Locked);
    Zorp.SetTargetPath(Dir / "out");
    Zorp.SetMakeDirectories(true);
    for (const int32_t key : {0, 77}) {
        Zorp.SetKey(key);
        fw::TStringList names{"secret.txt"};
        EXPECT_THROW(Zorp.ExpandFiles(Dir / "k.zrp", &names), EInvalidKey) << key;
        EXPECT_FALSE(fs::exists(Dir / "out/secret.txt"));
        EXPECT_EQ(Lines(names), (std::vector<std::string>{"secret.txt"}));
    }
    Zorp.SetKey(-77);
    Zorp.ExpandFiles(Dir / "k.zrp", nullptr);
    EXPECT_EQ(ReadWholeFile(Dir / "out/secret.txt"), Text(5000, 's'));
}

TEST_F(Archives, NamesLeadingOutOfTheTargetAreNeverWritten) {
    fw::TMemoryStream data;
    data.WriteBuffer("evil", 4);
    data.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "x.zrp", data, "../escaped.txt", coNone);
    data.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "x.zrp", data, "ok.txt", coNone);
    fs::create_directories(Dir / "out/inner");
    Zorp.SetTargetPath(Dir / "out/inner");
    Zorp.ExpandFiles(Dir / "x.zrp", nullptr);
    EXPECT_FALSE(fs::exists(Dir / "out/escaped.txt"));
    EXPECT_TRUE(fs::exists(Dir / "out/inner/ok.txt"));
    Zorp.SetExceptionOnFileError(true);
    EXPECT_THROW(Zorp.ExpandFiles(Dir / "x.zrp", nullptr), fw::EFCreateError);
    EXPECT_FALSE(fs::exists(Dir / "out/escaped.txt"));
}

TEST_F(Archives, NotEnoughSpaceStopsBeforeWriting) {
    Zorp.SetTargetPath(Dir.Path().string());
    fw::TStringList list{File("f", "x")};
    Zorp.CompressFiles(Dir / "f.zrp", list, coNone);
    // Forge an entry size larger than any free space.
    std::string raw = ReadWholeFile(Dir / "f.zrp");
    raw[21 + 8] = '\xFF';
    raw[21 + 9] = '\xFF';
    raw[21 + 10] = '\xFF';
    raw[21 + 11] = '\x7F';
    raw[8] = raw[9] = raw[10] = '\xFF';
    raw[11] = '\x7F';
    WriteWholeFile(Dir / "f.zrp", raw);
    Zorp.SetCheckSpaceBeforeExpand(true);
    Zorp.SetTargetPath(Dir / "out/");
    if (Zorp.CheckDiskSpace(Dir / "out/f") == 2147483647)
        GTEST_SKIP() << "the file system has 2 GiB or more free: no entry can be too large";
    try {
        Zorp.ExpandFiles(Dir / "f.zrp", nullptr);
        FAIL();
    } catch (const EInsufficientDiskSpace& e) {
        EXPECT_EQ(std::string(e.what()), "Not enough disk space to expand " + (Dir / "out/f"));
    }
}

TEST_F(Archives, ScanningOtherStreams) {
    fw::TMemoryStream small;
    small.WriteBuffer(std::string(45, 'x').data(), 45);
    small.SetPosition(0);
    fw::TStringList list;
    Zorp.ScanCompressedStream(small, list); // too short to hold an entry: nothing
    EXPECT_EQ(list.Count(), 0);
    const std::string single = Zorp.CompressString(Text(2000, 's'), coLZH);
    fw::TMemoryStream s;
    s.WriteBuffer(single.data(), static_cast<int32_t>(single.size()));
    s.SetPosition(0);
    EXPECT_THROW(Zorp.ScanCompressedStream(s, list), EInvalidHeaderArchiveType);
}

} // namespace
} // namespace zorp::test
