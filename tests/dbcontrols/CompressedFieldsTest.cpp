// Compressed BLOB fields on a real SQLite table: what the table holds, what
// the fields hand out, and the edges of the blob stream.
#include "dbcontrols/CompressedFields.h"
#include "dbcontrols/CBlobStream.h"
#include "framework/base/Exceptions.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Picture.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

using fw::TVariant;

class CompressedColumn : public testing::Test {
protected:
    void SetUp() override {
        Db.SetDatabaseName(Dir / "c.db");
        Db.ExecSQL("CREATE TABLE t (id INTEGER, memo TEXT, pic GRAPHIC, raw BLOB)");
        Db.ExecSQL("INSERT INTO t (id, memo, raw) VALUES (1, 'plain text row', x'0102')");
        Table.SetDatabase(&Db);
        Table.SetTableName("t");
        Memo = new TCMemoField(&Form);
        Memo->SetFieldName("memo");
        Memo->SetCompressSource(&Zorp);
        Memo->SetCompressionMethod(coLZH5);
        Memo->SetDataSet(&Table);
        Pic = new TCGraphicField(&Form);
        Pic->SetFieldName("pic");
        Pic->SetCompressSource(&Zorp);
        Pic->SetCompressionMethod(coLZH);
        Pic->SetDataSet(&Table);
        Raw = new TCBlobField(&Form);
        Raw->SetFieldName("raw");
        Raw->SetCompressSource(&Zorp);
        Raw->SetCompressionMethod(coRLE);
        Raw->SetDataSet(&Table);
        Table.Open();
    }
    // The bytes the table holds for a column of the current row.
    std::string Stored(const std::string& column) {
        fw::TStatement s(Db, "SELECT " + column +
                                 " FROM t WHERE rowid = " + std::to_string(Table.RowId()));
        EXPECT_TRUE(s.Step());
        return fw::VarToStr(s.Column(0));
    }
    static std::string Text(size_t n) {
        std::string s;
        while (s.size() < n)
            s += "a line of memo text, compressed in the table\r\n";
        return s.substr(0, n);
    }

    TempDir Dir;
    TZorp Zorp{nullptr};
    fw::TComponent Form{nullptr};
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable Table{nullptr};
    TCMemoField* Memo = nullptr;
    TCGraphicField* Pic = nullptr;
    TCBlobField* Raw = nullptr;
};

TEST_F(CompressedColumn, TableHoldsCompressOutputAndFieldGivesTheValue) {
    const std::string value = Text(10000);
    Table.Edit();
    Memo->SetAsString(value);
    Table.Post();
    EXPECT_EQ(Memo->AsString(), value);
    EXPECT_EQ(Memo->BlobSize(), 10000); // the expanded length
    EXPECT_EQ(Stored("memo"), Zorp.CompressString(value, coLZH5));
    EXPECT_LT(Stored("memo").size(), value.size() / 4);
    EXPECT_EQ(Memo->DisplayText(), value);
    EXPECT_EQ(std::get<std::string>(Memo->Value()), value);
}

TEST_F(CompressedColumn, PlainRowsReadUnchangedBesideCompressedOnes) {
    EXPECT_EQ(Memo->AsString(), "plain text row");
    EXPECT_EQ(Raw->AsString(), std::string("\x01\x02", 2));
    Table.Append();
    Memo->SetAsString(Text(500));
    Table.Post();
    Table.First();
    EXPECT_EQ(Memo->AsString(), "plain text row");
    Table.Last();
    EXPECT_EQ(Memo->AsString(), Text(500));
}

TEST_F(CompressedColumn, UnwrittenStreamCompressesNothingAndTruncateCuts) {
    int runs = 0;
    Zorp.OnShowProgress = [&](int32_t&) { ++runs; };
    Table.Edit();
    Memo->SetAsString(Text(3000));
    EXPECT_GT(runs, 0);
    runs = 0;
    {
        TCBlobStream stream(*Memo, fw::bmRead);
        EXPECT_GT(runs, 0); // the expansion at opening
        runs = 0;
        stream.Close();
    }
    EXPECT_EQ(runs, 0); // only read: nothing compressed at closing
    {
        TCBlobStream stream(*Memo, fw::bmReadWrite);
        EXPECT_EQ(stream.Size(), 0); // read-write starts empty, as write does
        stream.WriteBuffer(Text(3000).data(), 3000);
        stream.SetPosition(100);
        stream.Truncate();
        stream.Close();
    }
    EXPECT_EQ(Memo->AsString(), Text(100));
    Table.Post();
    EXPECT_EQ(Memo->AsString(), Text(100));
}

TEST_F(CompressedColumn, BlobTypeAndText) {
    Raw->SetBlobType(fw::ftString); // not a BLOB type: ignored
    EXPECT_EQ(Raw->BlobType(), fw::ftBlob);
    Raw->SetBlobType(fw::ftFmtMemo);
    EXPECT_EQ(Raw->BlobType(), fw::ftFmtMemo);
    Raw->SetBlobType(fw::ftBlob);
    EXPECT_EQ(Raw->DisplayText(), "(BLOB)");
    EXPECT_EQ(Pic->DisplayText(), "(GRAPHIC)");
    Table.Edit();
    try {
        Memo->SetText("x");
        FAIL();
    } catch (const fw::EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot access field 'memo' as type Text");
    }
    EXPECT_EQ(Memo->AsString(), "plain text row");
}

TEST_F(CompressedColumn, StringListsGoInAndOut) {
    fw::TStringList lines{"first line", "", "third line"};
    Table.Edit();
    Memo->Assign(lines);
    Table.Post();
    EXPECT_EQ(Memo->AsString(), "first line\r\n\r\nthird line\r\n");
    fw::TStringList back;
    Memo->AssignTo(back);
    EXPECT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Get(2), "third line");
}

TEST_F(CompressedColumn, GraphicHeaderOnGraphicFieldsOnly) {
    fw::TBitmap bitmap;
    bitmap.SetSize(5, 3);
    bitmap.SetPixel(1, 1, 0x00FF0000);
    fw::TMemoryStream bmp;
    bitmap.SaveToStream(bmp);
    Table.Edit();
    Pic->Assign(bitmap);
    Raw->LoadFromBitmap(bitmap);
    Table.Post();
    const std::string withHeader = Pic->AsString();
    ASSERT_GE(withHeader.size(), 8u);
    EXPECT_EQ(withHeader.substr(0, 4), std::string("\x01\x00\x00\x01", 4));
    const auto length = static_cast<int64_t>(bmp.Size());
    EXPECT_EQ(withHeader.substr(4, 4),
              std::string({static_cast<char>(length), static_cast<char>(length >> 8), 0, 0}));
    EXPECT_EQ(withHeader.substr(8), bmp.DataString());
    EXPECT_EQ(Raw->AsString(), bmp.DataString()); // type 15: no header

    fw::TPicture picture;
    Pic->AssignTo(picture);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Bitmap().Width(), 5);
    EXPECT_EQ(picture.Bitmap().Pixel(1, 1), 0x00FF0000u);

    // A blob field's value that happens to start with a header is skipped past.
    Table.Edit();
    Raw->SetAsString(withHeader);
    fw::TBitmap fromRaw;
    Raw->AssignTo(fromRaw);
    EXPECT_EQ(fromRaw.Height(), 3);
    // Seven bytes are handed to the bitmap whole: not a bitmap.
    Raw->SetAsString(withHeader.substr(0, 7));
    EXPECT_THROW(Raw->SaveToBitmap(fromRaw), fw::EInvalidGraphic);
}

TEST_F(CompressedColumn, LockedValuesNeedTheKeyAndTransliterateComesBack) {
    Zorp.SetKey(1234);
    Table.Edit();
    Memo->SetAsString(Text(2000));
    Table.Post();
    Zorp.SetKey(99);
    EXPECT_TRUE(Memo->Transliterate());
    EXPECT_THROW(Memo->AsString(), EInvalidKey);
    EXPECT_TRUE(Memo->Transliterate()); // restored after the failed expansion
    Zorp.SetKey(1234);
    EXPECT_EQ(Memo->AsString(), Text(2000));
    EXPECT_TRUE(Memo->Transliterate());
}

TEST_F(CompressedColumn, WritingOutsideEditModeFailsAndChangesNothing) {
    EXPECT_THROW(Memo->SetAsString("nope"), fw::EDatabaseError);
    EXPECT_TRUE(Memo->Transliterate());
    EXPECT_EQ(Stored("memo"), "plain text row");
}

TEST_F(CompressedColumn, CopiesBetweenCompressedFieldsCarryTheValue) {
    Table.Edit();
    Memo->SetAsString(Text(4000));
    Raw->Assign(*Memo);
    Table.Post();
    EXPECT_EQ(Raw->AsString(), Text(4000));
    EXPECT_EQ(Stored("raw"), Zorp.CompressString(Text(4000), coRLE));
}

TEST_F(CompressedColumn, ValuesOfSeveralMegabytes) {
    std::string big = RandomBytes(1 << 20, 5) + std::string(3 << 20, 'z');
    Table.Edit();
    Raw->SetCompressionMethod(coLZH5);
    Raw->SetAsString(big);
    Table.Post();
    Table.Close();
    Table.Open();
    EXPECT_EQ(Raw->AsString(), big);
    EXPECT_LT(Stored("raw").size(), big.size() / 2);
}

TEST_F(CompressedColumn, WithoutCompressSourceValuesAreStoredAsTheyAre) {
    Table.Edit();
    Raw->SetCompressSource(nullptr);
    Raw->SetAsString(Text(1000));
    Table.Post();
    EXPECT_EQ(Stored("raw"), Text(1000));
    EXPECT_EQ(Raw->AsString(), Text(1000));
}

TEST(CompressedField, ForgetsItsComponentWhenItIsFreed) {
    fw::TComponent form(nullptr);
    auto* field = new TCBlobField(&form);
    {
        TZorp zorp(nullptr);
        field->SetCompressSource(&zorp);
        EXPECT_EQ(field->CompressSource(), &zorp);
    }
    EXPECT_EQ(field->CompressSource(), nullptr);
}

} // namespace
} // namespace zorp::test
