// File functions on a real directory tree: searching with attribute masks
// and wildcards, names, dates, attributes, renaming and directories.
#include "framework/base/FileUtils.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zorp::fw {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

// Name -> attributes of everything FindFirst/FindNext report.
std::map<std::string, int32_t> Search(const std::string& path, int32_t attr) {
    std::map<std::string, int32_t> found;
    TSearchRec rec;
    for (int r = FindFirst(path, attr, rec); r == 0; r = FindNext(rec))
        found[rec.Name] = rec.Attr;
    FindClose(rec);
    return found;
}

class FileUtilsTree : public testing::Test {
protected:
    void SetUp() override {
        WriteWholeFile(Dir / "a.txt", "alpha");
        WriteWholeFile(Dir / "B.TXT", "bravo!");
        WriteWholeFile(Dir / "readme", "r");
        WriteWholeFile(Dir / ".hidden", "h");
        std::filesystem::create_directory(Dir.Path() / "sub");
        std::filesystem::create_symlink(Dir.Path() / "sub", Dir.Path() / "link");
    }
    TempDir Dir;
};

TEST_F(FileUtilsTree, MaskOf63FindsEveryEntryWithItsAttributes) {
    const auto all = Search(Dir / "*.*", faAnyFile);
    EXPECT_EQ(all.size(), 8u); // . .. a.txt B.TXT readme .hidden sub link
    EXPECT_EQ(all.at("a.txt"), faArchive);
    EXPECT_EQ(all.at(".hidden"), faArchive | faHidden);
    EXPECT_EQ(all.at("sub"), faDirectory);
    EXPECT_EQ(all.at("."), faDirectory | faHidden);
    // A link to a directory is not a directory a walk would enter.
    EXPECT_EQ(all.at("link"), faSysFile);
}

TEST_F(FileUtilsTree, EntriesWithBitsOutsideTheMaskAreLeftOut) {
    const auto plain = Search(Dir / "*.*", 0);
    std::vector<std::string> names;
    for (const auto& [name, attr] : plain)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"B.TXT", "a.txt", "readme"}));
    EXPECT_EQ(Search(Dir / "*", faDirectory).count("sub"), 1u);
    EXPECT_EQ(Search(Dir / "*", faDirectory).count(".hidden"), 0u);
}

TEST_F(FileUtilsTree, WildcardsIgnoreCase) {
    const auto txt = Search(Dir / "*.txt", faAnyFile);
    EXPECT_EQ(txt.size(), 2u);
    EXPECT_EQ(Search(Dir / "?.TxT", 0).size(), 2u);
    EXPECT_EQ(Search(Dir / "read*", 0).size(), 1u);
    TSearchRec rec;
    EXPECT_EQ(FindFirst(Dir / "*.none", faAnyFile, rec), ENOENT);
    EXPECT_NE(FindFirst(Dir / "nodir/*.*", faAnyFile, rec), 0);
}

TEST_F(FileUtilsTree, SearchReportsSizeAndDate) {
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Dir / "B.TXT", 0, rec), 0);
    EXPECT_EQ(rec.Size, 6);
    TFileStream f(Dir / "B.TXT", fmOpenRead);
    EXPECT_EQ(rec.Time, FileGetDate(f.Handle()));
    FindClose(rec);
}

TEST_F(FileUtilsTree, ExistsDeleteAndRename) {
    EXPECT_TRUE(FileExists(Dir / "a.txt"));
    EXPECT_FALSE(FileExists(Dir / "sub")); // directories are not files
    EXPECT_TRUE(DirectoryExists(Dir / "sub"));
    // Renaming never replaces an existing file.
    EXPECT_FALSE(RenameFile(Dir / "a.txt", Dir / "B.TXT"));
    EXPECT_EQ(ReadWholeFile(Dir / "B.TXT"), "bravo!");
    EXPECT_TRUE(RenameFile(Dir / "a.txt", Dir / "c.txt"));
    EXPECT_EQ(ReadWholeFile(Dir / "c.txt"), "alpha");
    EXPECT_TRUE(DeleteFile(Dir / "c.txt"));
    EXPECT_FALSE(DeleteFile(Dir / "c.txt"));
    EXPECT_FALSE(DeleteFile(Dir / "sub"));
}

TEST_F(FileUtilsTree, ReadOnlyAttributeMapsToWriteBits) {
    const std::string name = Dir / "a.txt";
    EXPECT_EQ(FileSetAttr(name, faReadOnly | faArchive), 0);
    EXPECT_EQ(FileGetAttr(name), faReadOnly | faArchive);
    const auto perms = std::filesystem::status(name).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
    EXPECT_EQ(FileSetAttr(name, faArchive), 0);
    EXPECT_EQ(FileGetAttr(name), faArchive);
    EXPECT_EQ(FileGetAttr(Dir / "nothing"), -1);
    EXPECT_NE(FileSetAttr(Dir / "nothing", 0), 0);
}

TEST_F(FileUtilsTree, MkDirRaisesOnFailure) {
    EXPECT_NO_THROW(MkDir(Dir / "new"));
    EXPECT_TRUE(DirectoryExists(Dir / "new"));
    EXPECT_THROW(MkDir(Dir / "new"), EInOutError);
    EXPECT_THROW(MkDir(Dir / "x/y"), EInOutError);
}

TEST(FileDates, PackDosDateAndTimeInLocalTime) {
    struct tm when {};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 2; // March
    when.tm_mday = 15;
    when.tm_hour = 13;
    when.tm_min = 45;
    when.tm_sec = 31;
    when.tm_isdst = -1;
    const int64_t unix = mktime(&when);
    const int32_t packed = DateTimeToFileDate(unix);
    EXPECT_EQ(static_cast<uint32_t>(packed) >> 16, (44u << 9) | (3u << 5) | 15u);
    EXPECT_EQ(static_cast<uint32_t>(packed) & 0xFFFF, (13u << 11) | (45u << 5) | 15u);
    EXPECT_EQ(FileDateToUnixTime(packed), unix - 1);      // two-second resolution
    EXPECT_EQ(FileDateToUnixTime(0), -1);                 // month 0 is no date
    EXPECT_EQ(DateTimeToFileDate(0), (1 << 5 | 1) << 16); // before 1980: clamped
}

TEST(FileDates, SetAndGetOnAnOpenFile) {
    TempDir dir;
    TFileStream f(dir / "dated", fmCreate);
    const int32_t age =
        static_cast<int32_t>((41u << 9 | 7u << 5 | 4u) << 16 | (9u << 11 | 30u << 5));
    EXPECT_EQ(FileSetDate(f.Handle(), age), 0);
    EXPECT_EQ(FileGetDate(f.Handle()), age);
    EXPECT_NE(FileSetDate(f.Handle(), 0), 0);
}

TEST(FileNames, SplitAndChangeExtensions) {
    EXPECT_EQ(ExtractFilePath("/a/b/c.tar.gz"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.txt"), "");
    EXPECT_EQ(ExtractFileName("/a/b/c.tar.gz"), "c.tar.gz");
    EXPECT_EQ(ExtractFileExt("/a/b/c.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.dir/readme"), "");
    EXPECT_EQ(ExtractFileExt("name."), ".");
    EXPECT_EQ(ChangeFileExt("/a.dir/arc.zrp", ".$$$"), "/a.dir/arc.$$$");
    EXPECT_EQ(ChangeFileExt("/a.dir/arc", ".$$$"), "/a.dir/arc.$$$");
}

} // namespace
} // namespace zorp::fw
