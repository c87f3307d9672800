// TSQLiteTable: a data set over one table of a SQLite database. Records are
// the table's rows in rowid order; the current row is read when it becomes
// current, BLOB columns only when their value is asked for. With
// CacheBlobs on, fetched BLOB values are kept until the table is closed;
// with it off they are fetched again for each record visited.
//
// Declared column types map to field types (case-insensitive):
//   INT, INTEGER, BIGINT, SMALLINT, TINYINT, BOOLEAN     integer
//   REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL                 float
//   CHAR(n), VARCHAR(n), NCHAR(n), NVARCHAR(n), STRING(n) string of size n (255 without n)
//   TEXT, MEMO, CLOB                                      memo
//   FMTMEMO, RICHTEXT                                     formatted memo
//   GRAPHIC, IMAGE, PICTURE, BITMAP                       graphic
//   BLOB, BINARY, no type, anything else                  blob
#pragma once

#include "../base/Export.h"
#include "DataSet.h"
#include "Database.h"

#include <map>

namespace zorp::fw {

class ZORP_API TSQLiteTable : public TDataSet {
public:
    static constexpr const char* StaticClassName = "TSQLiteTable";
    explicit TSQLiteTable(TComponent* AOwner);
    ~TSQLiteTable() override;
    std::string ClassName() const override { return StaticClassName; }

    TDatabase* Database() const { return FDatabase; }
    void SetDatabase(TDatabase* Value);
    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& Value);
    bool CacheBlobs() const { return FCacheBlobs; }
    void SetCacheBlobs(bool Value) { FCacheBlobs = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool CanModify() const override { return Active() && !FReadOnly; }
    // The rowid of the current record, 0 when there is none.
    int64_t RowId() const { return FCurrentRowId; }
    // Makes the record with that rowid current; false when there is none.
    bool Locate(int64_t RowId);

    // The field type of a declared column type.
    static TFieldDef MapColumnType(const std::string& Name, const std::string& DeclaredType);

protected:
    // Database, TableName, CacheBlobs, ReadOnly and Active.
    void DefineProperties(TPropertyList& Properties) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void InternalInitFieldDefs() override;
    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() override;
    void InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) override;
    TVariant InternalFetchBlob(int Index, int FieldNo) override;
    int InternalPost(bool Inserting, int Index, const std::vector<std::optional<TVariant>>& Values,
                     const std::vector<bool>& Changed) override;
    void InternalDelete(int Index) override;

private:
    TDatabase& CheckDatabase() const;
    void LoadRowIds();

    TDatabase* FDatabase = nullptr;
    std::string FTableName;
    bool FCacheBlobs = true;
    bool FReadOnly = false;
    std::vector<int64_t> FRowIds;
    int64_t FCurrentRowId = 0;
    std::map<std::pair<int64_t, int>, TVariant> FBlobCache;
};

} // namespace zorp::fw
