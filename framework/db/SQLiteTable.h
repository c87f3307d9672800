#pragma once

#include "../base/Export.h"
#include "DataSet.h"
#include "Database.h"

#include <map>

namespace zorp::fw {

/// A data set over one table of a SQLite database. Records are
/// the table's rows in rowid order; the current row is read when it becomes
/// current, BLOB columns only when their value is asked for. With
/// CacheBlobs on, fetched BLOB values are kept until the table is closed;
/// with it off they are fetched again for each record visited.
///
/// Declared column types map to field types (case-insensitive):
/// @verbatim
///   INT, INTEGER, BIGINT, SMALLINT, TINYINT, BOOLEAN     integer
///   REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL                 float
///   CHAR(n), VARCHAR(n), NCHAR(n), NVARCHAR(n), STRING(n) string of size n (255 without n)
///   TEXT, MEMO, CLOB                                      memo
///   FMTMEMO, RICHTEXT                                     formatted memo
///   GRAPHIC, IMAGE, PICTURE, BITMAP                       graphic
///   BLOB, BINARY, no type, anything else                  blob
/// @endverbatim
class ZORP_API TSQLiteTable : public TDataSet {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TSQLiteTable";
    /// Creates a closed table with no database or table name and CacheBlobs on, owned by
    /// AOwner.
    explicit TSQLiteTable(TComponent* AOwner);
    /// Closes the table.
    ~TSQLiteTable() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The database holding the table, or nullptr. Changing it while the table is open raises
    /// EDatabaseError; a database that is freed closes the table and is forgotten.
    /// @{
    TDatabase* Database() const { return FDatabase; }
    void SetDatabase(TDatabase* Value);
    /// @}
    /// The name of the table; changing it while the table is open raises EDatabaseError.
    /// @{
    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& Value);
    /// @}
    /// Whether fetched BLOB values are kept until the table is closed (the default) rather
    /// than fetched again for each record visited.
    /// @{
    bool CacheBlobs() const { return FCacheBlobs; }
    void SetCacheBlobs(bool Value) { FCacheBlobs = Value; }
    /// @}
    /// Whether the table refuses changes; CanModify is then false.
    /// @{
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    /// @}
    /// True while the table is open and not read-only.
    bool CanModify() const override { return Active() && !FReadOnly; }
    /// The rowid of the current record, 0 when there is none.
    int64_t RowId() const { return FCurrentRowId; }
    /// Makes the record with that rowid current; false when there is none.
    bool Locate(int64_t RowId);

    /// The field type of a declared column type: the definition of column Name, with the
    /// field type (and a string's size) that DeclaredType maps to.
    static TFieldDef MapColumnType(const std::string& Name, const std::string& DeclaredType);

protected:
    /// Database, TableName, CacheBlobs, ReadOnly and Active.
    void DefineProperties(TPropertyList& Properties) override;
    /// Closes the table and forgets the database when the database is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Reads the table's columns from SQLite; raises EDatabaseError when there is no database
    /// or table name, or the table does not exist.
    void InternalInitFieldDefs() override;
    /// Reads the rowids of the table's rows, in order, and empties the BLOB cache.
    void InternalOpen() override;
    /// Forgets the rowids and the cached BLOB values.
    void InternalClose() override;
    /// Number of rowids read at open or after the last change.
    int InternalRecordCount() override;
    /// Reads the row's columns except the BLOB ones; raises EDatabaseError when the row is
    /// gone.
    void InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) override;
    /// Reads one BLOB column of the row, from the cache when CacheBlobs kept it.
    TVariant InternalFetchBlob(int Index, int FieldNo) override;
    /// Inserts the row with its changed and non-null values, or updates its changed columns,
    /// then reads the rowids again.
    int InternalPost(bool Inserting, int Index, const std::vector<std::optional<TVariant>>& Values,
                     const std::vector<bool>& Changed) override;
    /// Deletes the row and its cached BLOB values, then reads the rowids again.
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
