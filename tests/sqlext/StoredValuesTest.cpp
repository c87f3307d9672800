// Values the library stored read back through the SQL functions: values the
// compressed fields wrote through a TSQLiteTable (a picture of a graphic
// column among them), and a column that `zorp db pack` compressed.
#include "SqlSession.h"

#include "dbcontrols/CompressedFields.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

constexpr int64_t Key = 0x2468ACE0;

std::string Text(int Seed) {
    return TextLines(12000, Seed);
}

std::string BmpBytes(const fw::TBitmap& Bitmap) {
    fw::TMemoryStream bmp;
    Bitmap.SaveToStream(bmp);
    return bmp.DataString();
}

class SqlStoredValues : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(File());
        Db.ExecSQL("CREATE TABLE t (id INTEGER, memo TEXT, pic GRAPHIC, raw BLOB)");
        Db.ExecSQL("INSERT INTO t (id, memo, raw) VALUES (1, NULL, NULL), (2, 'plain', x'0102')");
        Zorp.SetKey(static_cast<int32_t>(Key));
        Table.SetDatabase(&Db);
        Table.SetTableName("t");
        Memo = AddField(new TCMemoField(&Form), "memo", coLZH5);
        Pic = AddField(new TCGraphicField(&Form), "pic", coLZH);
        Raw = AddField(new TCBlobField(&Form), "raw", coRLE);
        Table.Open();
    }
    template <class TFieldClass>
    TFieldClass* AddField(TFieldClass* Field, const char* Column, TZorpMethod Method) {
        Field->SetFieldName(Column);
        Field->SetCompressSource(&Zorp);
        Field->SetCompressionMethod(Method);
        Field->SetDataSet(&Table);
        return Field;
    }
    std::string File() const { return Dir / "t.db"; }

    TempDir Dir;
    TZorp Zorp{nullptr};
    fw::TComponent Form{nullptr};
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable Table{nullptr};
    TCMemoField* Memo = nullptr;
    TCGraphicField* Pic = nullptr;
    TCBlobField* Raw = nullptr;
};

TEST_F(SqlStoredValues, WrittenByTheCompressedFieldsReadBackAsTheFieldsReadThem) {
    fw::TBitmap picture;
    picture.SetSize(64, 32); // squares of colour, which LZH compresses
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.SetPixel(x, y,
                             static_cast<fw::TColor>(0x0A1B2C * (x / 8 + 1) + 0x030000 * (y / 8)));
    const std::string raw = RandomBytes(300, 4) + std::string(4000, '\x07');
    Table.Edit();
    Memo->SetAsString(Text(1));
    Pic->LoadFromBitmap(picture);
    Raw->SetAsString(raw);
    Table.Post();
    const std::string bmp = BmpBytes(picture);
    const auto header = GraphicHeader(static_cast<int32_t>(bmp.size()));
    const std::string graphic = std::string(header.begin(), header.end()) + bmp;
    ASSERT_EQ(Pic->AsString(), graphic); // the field's value holds the graphic header

    SqlSession sql(File());
    const struct {
        const char* Sql;
        std::string Expected;
    } cases[] = {
        {"SELECT zorp_expand_text(memo, ?1) FROM t WHERE id = 1", Text(1)},
        {"SELECT zorp_expand(pic, ?1) FROM t WHERE id = 1", graphic},
        {"SELECT zorp_expand(raw, ?1) FROM t WHERE id = 1", raw},
        {"SELECT zorp_method(memo) || zorp_method(pic) || zorp_method(raw) FROM t WHERE id = 1",
         "lh5lzhrle"},
        {"SELECT zorp_size(pic) FROM t WHERE id = 1", std::to_string(graphic.size())},
        // Rows the fields never compressed come back as they stand.
        {"SELECT zorp_expand_text(memo, ?1) FROM t WHERE id = 2", "plain"},
        {"SELECT zorp_expand(raw, ?1) FROM t WHERE id = 2", "\x01\x02"},
    };
    for (const auto& c : cases) {
        const SqlResult r = sql.Query(c.Sql, {Key});
        EXPECT_EQ(r.Code, SQLITE_OK) << c.Sql << ": " << r.Error;
        EXPECT_EQ(r.Bytes, c.Expected) << c.Sql;
    }
    // The fields read the rows they never wrote the same way, a graphic
    // header in front of compressed data included: no compressed header first.
    const std::string odd =
        std::string(header.begin(), header.end()) + Zorp.CompressString(bmp, coLZH);
    EXPECT_EQ(sql.Query("UPDATE t SET pic = ?1 WHERE id = 2", {odd}).Code, SQLITE_OK);
    EXPECT_EQ(sql.Query("SELECT zorp_expand(pic) FROM t WHERE id = 2").Bytes, odd);
    Table.Close();
    Table.Open();
    ASSERT_TRUE(Table.Locate(2));
    EXPECT_EQ(Memo->AsString(), "plain");
    EXPECT_EQ(Pic->AsString(), odd);
}

TEST_F(SqlStoredValues, PackedByTheToolReadBackAsText) {
    Table.Close(); // the tool writes the file
    Db.ExecSQL("CREATE TABLE docs (id INTEGER, body TEXT)");
    for (int i = 1; i <= 3; ++i)
        Db.ExecSQL("INSERT INTO docs VALUES (" + std::to_string(i) + ", '" + Text(i) + "')");
    const Outcome pack = RunZorp("db pack -q --no-vacuum -m lzh -k " + std::to_string(Key) + " " +
                                 Quote(File()) + " docs body");
    ASSERT_EQ(pack.Status, 0) << pack.Output;
    SqlSession sql(File());
    EXPECT_EQ(sql.Query("SELECT count(*) FROM docs WHERE zorp_method(body) = 'lzh'").Bytes, "3");
    for (int i = 1; i <= 3; ++i) {
        const SqlResult r = sql.Query("SELECT zorp_expand_text(body, ?1) FROM docs WHERE id = ?2",
                                      {Key, int64_t{i}});
        EXPECT_EQ(r.Type, SQLITE_TEXT) << r.Error;
        EXPECT_EQ(r.Bytes, Text(i));
    }
    // The key opens them; without it the library refuses.
    EXPECT_EQ(sql.Query("SELECT zorp_expand_text(body) FROM docs").Error,
              "File locked -- valid key required");
}

} // namespace
} // namespace zorp::test
