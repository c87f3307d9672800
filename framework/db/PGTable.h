// A data set over one PostgreSQL table, beside TSQLiteTable.
#pragma once

#include "../base/Export.h"
#include "DataSet.h"
#include "PGDatabase.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zorp::fw {

/// A data set over one table of a PostgreSQL database, for several clients sharing it. The
/// table needs a primary key: records are its rows in key order, and a row is found again by
/// its key. The current row is read when it becomes current, BLOB columns only when their
/// value is asked for; with CacheBlobs on, a fetched BLOB value is used again while the row is
/// unchanged.
///
/// Changes are checked optimistically: posting or deleting a row that another client changed
/// or deleted since this table read it raises EDatabaseError ("Record changed by another
/// user" or "Record deleted by another user") and leaves the row as the other client left
/// it. The row's version is its system column xmin.
///
/// Column types (as the catalogue formats them, domains by their base type) map to fields:
/// @verbatim
///   smallint, integer, bigint, boolean           integer (a boolean reads 1 or 0)
///   real, double precision, numeric              float
///   character varying(n), character(n)           string of size n
///   character varying                            string without a size limit
///   text                                         memo
///   bytea                                        blob; graphic, memo or formatted memo
///                                                when the column's comment starts with
///                                                the word graphic, memo or fmtmemo
///   anything else (dates, uuid, json, ...)       string without a size limit, in the
///                                                server's text form
/// @endverbatim
/// bytea values travel as raw bytes, so any byte survives; compressed fields need a bytea
/// column, since a text column cannot hold every byte.
class ZORP_API TPGTable : public TDataSet {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TPGTable";
    /// Creates a closed table with no database or table name and CacheBlobs on, owned by
    /// AOwner.
    explicit TPGTable(TComponent* AOwner);
    /// Closes the table.
    ~TPGTable() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The connection to the database holding the table, or nullptr. Changing it while the
    /// table is open raises EDatabaseError; a database that is freed closes the table and is
    /// forgotten.
    /// @{
    TPGDatabase* Database() const { return FDatabase; }
    void SetDatabase(TPGDatabase* Value);
    /// @}
    /// The name of the table, found through the server's search path; changing it while the
    /// table is open raises EDatabaseError.
    /// @{
    const std::string& TableName() const { return FTableName; }
    void SetTableName(const std::string& Value);
    /// @}
    /// Whether fetched BLOB values are kept, for as long as their row is unchanged, until the
    /// table is closed (the default) rather than fetched again for each record visited.
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
    /// The names of the primary key's columns, in key order; read when the table opens.
    const std::vector<std::string>& KeyFields() const { return FKeyFields; }

    /// The field definition of column Name, of the type TypeName as the catalogue formats it
    /// ("character varying(10)") and with the column comment Comment, by the mapping above.
    static TFieldDef MapColumnType(const std::string& Name, const std::string& TypeName,
                                   const std::string& Comment);

protected:
    /// Database, TableName, CacheBlobs, ReadOnly and Active.
    void DefineProperties(TPropertyList& Properties) override;
    /// Closes the table and forgets the database when the database is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Reads the table's columns and primary key from the catalogue; raises EDatabaseError
    /// when there is no database or table name, the table does not exist or has no primary
    /// key.
    void InternalInitFieldDefs() override;
    /// Reads the keys of the table's rows, in order, and empties the BLOB cache.
    void InternalOpen() override;
    /// Forgets the keys and the cached BLOB values.
    void InternalClose() override;
    /// Number of keys read at open or after the last change.
    int InternalRecordCount() override;
    /// Reads the row's version and its columns except the BLOB ones; raises EDatabaseError
    /// when the row is gone.
    void InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) override;
    /// Reads one BLOB column of the row, from the cache while the row is unchanged.
    TVariant InternalFetchBlob(int Index, int FieldNo) override;
    /// Inserts the row with its changed values, or updates its changed columns if the row is
    /// still the version read, then reads the keys again.
    int InternalPost(bool Inserting, int Index, const std::vector<std::optional<TVariant>>& Values,
                     const std::vector<bool>& Changed) override;
    /// Deletes the row if it is still the version read, then reads the keys again.
    void InternalDelete(int Index) override;

private:
    using TKey = std::vector<std::string>;

    TPGDatabase& CheckDatabase() const;
    void ReadColumns(TPGDatabase& Db);
    void ReadKeyFields(TPGDatabase& Db);
    void LoadKeys();
    const TKey& KeyAt(int Index) const;
    std::string KeyCondition(size_t FirstParam) const;
    void AddKeyParams(const TKey& Key, std::vector<TPGParam>& Params) const;
    std::string ReturningKey() const;
    [[noreturn]] void ReportConflict(const TKey& Key);
    int IndexOfKey(const TKey& Key) const;
    TPGParam ParamFor(int FieldNo, const TVariant& Value) const;
    TVariant FromText(int FieldNo, const std::string& Text);

    TPGDatabase* FDatabase = nullptr;
    std::string FTableName;
    bool FCacheBlobs = true;
    bool FReadOnly = false;
    std::vector<std::string> FKeyFields;
    std::vector<std::string> FColumnTypes; // as the catalogue formats them, by column
    std::vector<TKey> FKeys;               // each row's key in text form, in key order
    std::string FCurrentVersion;           // xmin of the current row when it was read
    // Fetched BLOB values by row key and column, with the row version they belong to.
    std::map<std::pair<TKey, int>, std::pair<std::string, TVariant>> FBlobCache;
};

} // namespace zorp::fw
