// File lists from directories and masks, target paths, free space and
// directory creation, on a real directory tree.
#include "component/FileMasks.h"
#include "component/PathRules.h"
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileUtils.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

TEST(MatchFileMask, WildcardRules) {
    struct Case {
        const char* Name;
        const char* Mask;
        bool Matches;
    };
    const Case cases[] = {
        {"abc.txt", "a?c.txt", true},   {"ac.txt", "a?c.txt", false},
        {"abcd.txt", "a?c.txt", false}, {"ab.txt", "ab*.txt", true},
        {"abxyz.txt", "ab*.txt", true}, {"abq.txt", "ab*z.txt", true},
        {"b.txt", "*b.txt", false},     {"ab.txt", "*b.txt", false},
        {"*b.txt", "*b.txt", true},     {"readme", "readme", true},
        {"readme.txt", "readme", true}, {"README.DOC", "readme", true},
        {"readme", "*.", true},         {"readme.txt", "*.", false},
        {"anything.x", "*.*", true},    {"noext", "*.*", true},
        {"File.TXT", "*.txt", true},    {"file.txt.gz", "*.txt", false},
        {"a.txt", "", false},           {"x.tx", "*.t?", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFileMask(c.Name, c.Mask), c.Matches) << c.Name << " / " << c.Mask;
    EXPECT_FALSE(MatchPattern("ABC", "abc")); // the pattern step itself is case-sensitive
    EXPECT_TRUE(MatchPattern("", ""));
    EXPECT_TRUE(MatchPattern("", "*"));
}

int IndexIn(const fw::TStrings& list, const std::string& line) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Get(i) == line)
            return i;
    return -100;
}

class FileTree : public testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        WriteWholeFile(Dir / "a.txt", "a");
        WriteWholeFile(Dir / "B.TXT", "b");
        WriteWholeFile(Dir / "c.doc", "c");
        WriteWholeFile(Dir / ".hidden.txt", "h");
        fs::create_directories(Dir.Path() / "sub" / "deeper");
        WriteWholeFile(Dir / "sub/d.txt", "d");
        WriteWholeFile(Dir / "sub/deeper/e.txt", "e");
        fs::create_directories(Dir.Path() / ".git");
        WriteWholeFile(Dir / ".git/f.txt", "f");
    }
    std::vector<std::string> Relative(const fw::TStrings& list) {
        std::vector<std::string> names;
        for (int i = 0; i < list.Count(); ++i)
            names.push_back(list.Get(i).substr(Dir.Path().string().size() + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir Dir;
    TZorp Zorp{nullptr};
};

TEST_F(FileTree, MatchingFilesOfOneDirectory) {
    fw::TStringList list{"stale line"};
    Zorp.GetMatchingFiles(&list, Dir / "*.txt");
    EXPECT_EQ(Relative(list), (std::vector<std::string>{"B.TXT", "a.txt"}));
    Zorp.GetMatchingFiles(&list, "");
    EXPECT_EQ(list.Count(), 2); // an empty path leaves the list alone
}

TEST_F(FileTree, RecursionListsSubdirectoryContentsWhereTheyAreMet) {
    fw::TStringList list;
    Zorp.GetMatchingFiles(&list, Dir / "*.TXT/s");
    EXPECT_EQ(Relative(list),
              (std::vector<std::string>{"B.TXT", "a.txt", "sub/d.txt", "sub/deeper/e.txt"}));
    // A subdirectory's files come together, at the place it was met.
    const auto at = [&](const std::string& rel) { return IndexIn(list, Dir / rel); };
    EXPECT_EQ(std::abs(at("sub/d.txt") - at("sub/deeper/e.txt")), 1);
}

TEST_F(FileTree, TakeEveryListsDirectoriesAfterTheirContents) {
    fw::TStringList list;
    Zorp.GetAllFilesInDir(&list, Dir.Path().string(), "*.*/S", true);
    const auto all = Relative(list);
    EXPECT_EQ(all, (std::vector<std::string>{"B.TXT", "a.txt", "c.doc", "sub", "sub/d.txt",
                                             "sub/deeper", "sub/deeper/e.txt"}));
    // Each directory's line follows its contents directly.
    const auto at = [&](const std::string& rel) { return IndexIn(list, Dir / rel); };
    EXPECT_EQ(at("sub/deeper"), at("sub/deeper/e.txt") + 1);
    EXPECT_EQ(at("sub"), std::max(at("sub/deeper"), at("sub/d.txt")) + 1);
    Zorp.GetAllFilesInDir(&list, Dir / "missing", "*.*", true);
    EXPECT_EQ(list.Count(), 0);
    Zorp.GetAllFilesInDir(nullptr, Dir.Path().string(), "*.*", true); // no list: nothing
}

TEST_F(FileTree, MakeDirectoryPathCreatesEveryMissingParent) {
    MakeDirectoryPath(Dir / "x/y/z/");
    EXPECT_TRUE(IsDirectory(Dir / "x/y/z"));
    EXPECT_NO_THROW(MakeDirectoryPath(Dir / "x/y/z"));
    WriteWholeFile(Dir / "plain", "");
    EXPECT_THROW(MakeDirectoryPath(Dir / "plain/sub/"), fw::EInOutError);
    EXPECT_FALSE(IsDirectory(Dir / "a.txt"));
    EXPECT_NO_THROW(MakeDirectoryPath(""));
}

TEST_F(FileTree, CheckDiskSpaceCountsAFileThatWillBeReplaced) {
    EXPECT_EQ(Zorp.CheckDiskSpace(Dir / "a.txt"), 2147483647); // checking is off
    Zorp.SetCheckSpaceBeforeExpand(true);
    const int32_t free = Zorp.CheckDiskSpace(Dir / "new/deeper/file");
    EXPECT_GT(free, 0);
    WriteWholeFile(Dir / "big", std::string(100000, 'x'));
    const int32_t withFile = Zorp.CheckDiskSpace(Dir / "big");
    if (free < 2147483647 - 200000) {
        EXPECT_NEAR(withFile - free, 100000, 65536); // free space may move meanwhile
    } else {
        EXPECT_EQ(withFile, 2147483647);
    }
    EXPECT_GT(Zorp.DiskFree(0), 0.0f);
    EXPECT_EQ(Zorp.DiskFree(3), -1.0f);
}

TEST(PathRules, DrivesNamesAndEscapes) {
    EXPECT_EQ(StripDrive("C:\\data\\a.txt"), "\\data\\a.txt");
    EXPECT_EQ(StripDrive("C:"), "C:");
    EXPECT_EQ(StripDrive("/data/a.txt"), "/data/a.txt");
    fw::TStringList list{"Sub\\File.TXT"};
    EXPECT_TRUE(NameInList(list, "Sub/File.TXT", false));
    EXPECT_FALSE(NameInList(list, "sub/file.txt", false)); // different files here
    EXPECT_TRUE(NameInList(list, "sub/file.txt", true));
    EXPECT_FALSE(NameInList(list, "sub/file.txt2", true));
    EXPECT_TRUE(LeavesTarget("../etc/passwd"));
    EXPECT_TRUE(LeavesTarget("a\\..\\..\\b"));
    EXPECT_TRUE(LeavesTarget(".."));
    EXPECT_FALSE(LeavesTarget("a/..b/c"));
    EXPECT_FALSE(LeavesTarget("...."));
}

} // namespace
} // namespace zorp::test
