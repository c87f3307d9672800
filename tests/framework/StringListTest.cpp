// String lists: attached objects, case-insensitive search, assignment and
// text round trips through streams.
#include "framework/base/StringList.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

TEST(TStringList, LinesCarryObjectsThroughEdits) {
    TObject one, two;
    TStringList list;
    list.Add("first");
    list.AddObject("second", &one);
    list.InsertObject(0, "zeroth", &two);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), "zeroth");
    EXPECT_EQ(list.Objects(0), &two);
    EXPECT_EQ(list.Objects(1), nullptr);
    EXPECT_EQ(list.Objects(2), &one);
    list.Put(2, "renamed"); // keeps its object
    EXPECT_EQ(list.Objects(2), &one);
    list.Delete(0);
    EXPECT_EQ(list.Strings(0), "first");
    EXPECT_THROW(list.Get(5), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
}

TEST(TStringList, IndexOfIgnoresAsciiCase) {
    TStringList list{"Alpha", "DIR/File.TXT", "beta"};
    EXPECT_EQ(list.IndexOf("dir/file.txt"), 1);
    EXPECT_EQ(list.IndexOf("BETA"), 2);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
}

TEST(TStringList, AssignCopiesLinesAndObjects) {
    TObject marker;
    TStringList source{"a", "b"};
    source.PutObject(1, &marker);
    TStringList dest{"old"};
    dest.Assign(source);
    ASSERT_EQ(dest.Count(), 2);
    EXPECT_EQ(dest.Strings(1), "b");
    EXPECT_EQ(dest.Objects(1), &marker);
    dest.Assign(dest);
    EXPECT_EQ(dest.Count(), 2);
}

TEST(TStringList, TextRoundTripsThroughAStream) {
    TStringList list{"one", "", "three"};
    TMemoryStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.DataString(), "one\r\n\r\nthree\r\n");
    stream.SetPosition(0);
    TStringList back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Text(), list.Text());
    back.SetText("a\nb\rc\r\nd");
    EXPECT_EQ(back.Count(), 4);
    EXPECT_EQ(back.Strings(3), "d");
}

} // namespace
} // namespace zorp::fw
