// Data sources and field data links: what a data-aware control hears.
#include "framework/db/DataLink.h"
#include "framework/db/DataSource.h"
#include "framework/db/Field.h"
#include "tests/db/DbFixture.h"

namespace zorp::test {
namespace {

using namespace zorp::fw;

struct LinkLog {
    explicit LinkLog(TFieldDataLink& link) {
        link.OnActiveChange = [this] { Events.push_back("active"); };
        link.OnDataChange = [this] { Events.push_back("data"); };
        link.OnEditingChange = [this] { Events.push_back("editing"); };
        link.OnUpdateData = [this] { Events.push_back("update"); };
    }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(Events);
        return out;
    }
    std::vector<std::string> Events;
};

TEST_F(NotesDatabase, FieldDataLinkFollowsItsField) {
    TDataSource source(nullptr);
    source.SetDataSet(&Table);
    TFieldDataLink link;
    LinkLog log(link);
    link.SetDataSource(&source);
    link.SetFieldName("body");
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);

    Table.Open();
    EXPECT_TRUE(link.Active());
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(link.Field()->AsString(), "one");
    EXPECT_FALSE(log.Take().empty());

    Table.Next();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"data"}));
    // A change of another field is not this link's business.
    Table.Edit();
    log.Take();
    Table.FieldByName("title").SetAsString("t");
    EXPECT_TRUE(log.Take().empty());
    Table.FieldByName("body").SetAsString("b");
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"data"}));
    Table.Cancel();

    Table.Close();
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
}

TEST_F(NotesDatabase, EditingAndWritingBack) {
    TDataSource source(nullptr);
    source.SetDataSet(&Table);
    TFieldDataLink link;
    LinkLog log(link);
    link.SetDataSource(&source);
    link.SetFieldName("body");
    Table.Open();
    EXPECT_TRUE(link.CanModify());
    EXPECT_TRUE(link.Edit());
    EXPECT_TRUE(link.Editing());
    EXPECT_EQ(Table.State(), dsEdit);
    log.Take();

    // Only a link whose control changed the value writes it back on Post.
    link.OnUpdateData = [&] { link.Field()->SetAsString("from control"); };
    Table.Post();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "one");
    link.Edit();
    link.Modified();
    Table.Post();
    EXPECT_EQ(Table.FieldByName("body").AsString(), "from control");
    EXPECT_FALSE(link.Editing());

    link.SetReadOnly(true);
    EXPECT_FALSE(link.CanModify());
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(Table.State(), dsBrowse);
}

TEST_F(NotesDatabase, FreedDataSetIsForgotten) {
    TDataSource source(nullptr);
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName("id");
    {
        TSQLiteTable temporary(nullptr);
        temporary.SetDatabase(&Db);
        temporary.SetTableName("notes");
        source.SetDataSet(&temporary);
        temporary.Open();
        EXPECT_TRUE(link.Active());
    }
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
}

} // namespace
} // namespace zorp::test
