#include "framework/db/SQLiteTable.h"

#include "framework/base/TextUtils.h"

#include <algorithm>
#include <cstdlib>

namespace zorp::fw {

namespace {

bool StartsWithAny(const std::string& upper, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (upper.rfind(p, 0) == 0)
            return true;
    return false;
}

} // namespace

TSQLiteTable::TSQLiteTable(TComponent* AOwner) : TDataSet(AOwner) {}

TSQLiteTable::~TSQLiteTable() {
    Close();
}

void TSQLiteTable::SetDatabase(TDatabase* Value) {
    CheckInactive();
    if (FDatabase != nullptr)
        RemoveFreeNotification(FDatabase);
    FDatabase = Value;
    if (FDatabase != nullptr)
        FreeNotification(FDatabase);
}

void TSQLiteTable::SetTableName(const std::string& Value) {
    CheckInactive();
    FTableName = Value;
}

void TSQLiteTable::DefineProperties(TPropertyList& Properties) {
    TDataSet::DefineProperties(Properties);
    Properties.AddComponent<TDatabase>(
        "Database", [this] { return FDatabase; }, [this](TDatabase* Value) { SetDatabase(Value); });
    Properties.AddString(
        "TableName", [this] { return FTableName; },
        [this](const std::string& Value) { SetTableName(Value); });
    Properties.AddBoolean(
        "CacheBlobs", [this] { return FCacheBlobs; }, [this](bool Value) { FCacheBlobs = Value; },
        true);
    Properties.AddBoolean(
        "ReadOnly", [this] { return FReadOnly; }, [this](bool Value) { FReadOnly = Value; }, false);
    Properties.AddBoolean(
        "Active", [this] { return Active(); }, [this](bool Value) { SetActive(Value); }, false);
}

void TSQLiteTable::Notification(TComponent* AComponent, TOperation Operation) {
    TDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDatabase) {
        Close();
        FDatabase = nullptr;
    }
}

TDatabase& TSQLiteTable::CheckDatabase() const {
    if (FDatabase == nullptr)
        throw EDatabaseError("No database for table " + FTableName);
    if (FTableName.empty())
        throw EDatabaseError("Table name missing");
    return *FDatabase;
}

TFieldDef TSQLiteTable::MapColumnType(const std::string& Name, const std::string& DeclaredType) {
    TFieldDef def;
    def.Name = Name;
    const std::string type = UpperCase(DeclaredType);
    if (StartsWithAny(type, {"INT", "BIGINT", "SMALLINT", "TINYINT", "BOOLEAN"})) {
        def.DataType = ftInteger;
    } else if (StartsWithAny(type, {"REAL", "FLOAT", "DOUBLE", "NUMERIC", "DECIMAL"})) {
        def.DataType = ftFloat;
    } else if (StartsWithAny(type, {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "STRING"})) {
        def.DataType = ftString;
        const size_t open = type.find('(');
        def.Size = open != std::string::npos ? std::atoi(type.c_str() + open + 1) : 255;
        if (def.Size <= 0)
            def.Size = 255;
    } else if (StartsWithAny(type, {"TEXT", "MEMO", "CLOB"})) {
        def.DataType = ftMemo;
    } else if (StartsWithAny(type, {"FMTMEMO", "RICHTEXT"})) {
        def.DataType = ftFmtMemo;
    } else if (StartsWithAny(type, {"GRAPHIC", "IMAGE", "PICTURE", "BITMAP"})) {
        def.DataType = ftGraphic;
    } else {
        def.DataType = ftBlob;
    }
    return def;
}

void TSQLiteTable::InternalInitFieldDefs() {
    TDatabase& db = CheckDatabase();
    TStatement info(db, "PRAGMA table_info(" + QuoteIdentifier(FTableName) + ")");
    while (info.Step()) {
        TFieldDef def = MapColumnType(VarToStr(info.Column(1)), VarToStr(info.Column(2)));
        def.Required = VarToStr(info.Column(3)) == "1";
        FieldDefs().Add(def);
    }
    if (FieldDefs().Count() == 0)
        throw EDatabaseError("Table " + FTableName + " does not exist");
}

void TSQLiteTable::LoadRowIds() {
    FRowIds.clear();
    TStatement rows(CheckDatabase(),
                    "SELECT rowid FROM " + QuoteIdentifier(FTableName) + " ORDER BY rowid");
    while (rows.Step())
        FRowIds.push_back(std::get<int64_t>(rows.Column(0)));
}

void TSQLiteTable::InternalOpen() {
    LoadRowIds();
    FBlobCache.clear();
}

void TSQLiteTable::InternalClose() {
    FRowIds.clear();
    FBlobCache.clear();
    FCurrentRowId = 0;
}

int TSQLiteTable::InternalRecordCount() {
    return static_cast<int>(FRowIds.size());
}

void TSQLiteTable::InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) {
    FCurrentRowId = FRowIds.at(static_cast<size_t>(Index));
    std::string columns;
    std::vector<int> plain;
    for (int i = 0; i < FieldDefs().Count(); ++i) {
        if (IsBlobType(FieldDefs().Items(i).DataType))
            continue;
        columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(FieldDefs().Items(i).Name);
        plain.push_back(i);
    }
    if (plain.empty())
        return;
    TStatement row(CheckDatabase(), "SELECT " + columns + " FROM " + QuoteIdentifier(FTableName) +
                                        " WHERE rowid = ?");
    row.Bind(1, FCurrentRowId);
    if (!row.Step())
        throw EDatabaseError("Record not found: it was deleted by another user");
    for (size_t c = 0; c < plain.size(); ++c)
        Values[static_cast<size_t>(plain[c])] = row.Column(static_cast<int>(c));
}

TVariant TSQLiteTable::InternalFetchBlob(int Index, int FieldNo) {
    const int64_t rowId = FRowIds.at(static_cast<size_t>(Index));
    const auto key = std::make_pair(rowId, FieldNo);
    if (FCacheBlobs) {
        const auto hit = FBlobCache.find(key);
        if (hit != FBlobCache.end())
            return hit->second;
    }
    TStatement value(CheckDatabase(), "SELECT " + QuoteIdentifier(FieldDefs().Items(FieldNo).Name) +
                                          " FROM " + QuoteIdentifier(FTableName) +
                                          " WHERE rowid = ?");
    value.Bind(1, rowId);
    if (!value.Step())
        throw EDatabaseError("Record not found: it was deleted by another user");
    TVariant result = value.Column(0);
    if (FCacheBlobs)
        FBlobCache[key] = result;
    return result;
}

int TSQLiteTable::InternalPost(bool Inserting, int Index,
                               const std::vector<std::optional<TVariant>>& Values,
                               const std::vector<bool>& Changed) {
    TDatabase& db = CheckDatabase();
    std::vector<int> columns;
    for (size_t i = 0; i < Values.size(); ++i)
        if (Changed[i] || (Inserting && Values[i] && !VarIsNull(*Values[i])))
            columns.push_back(static_cast<int>(i));
    const std::string table = QuoteIdentifier(FTableName);
    std::string sql;
    if (Inserting) {
        std::string names;
        std::string marks;
        for (const int c : columns) {
            names += (names.empty() ? "" : ", ") + QuoteIdentifier(FieldDefs().Items(c).Name);
            marks += marks.empty() ? "?" : ", ?";
        }
        sql = columns.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                              : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    } else {
        if (columns.empty())
            return Index;
        std::string sets;
        for (const int c : columns)
            sets +=
                (sets.empty() ? "" : ", ") + QuoteIdentifier(FieldDefs().Items(c).Name) + " = ?";
        sql = "UPDATE " + table + " SET " + sets + " WHERE rowid = ?";
    }
    TStatement post(db, sql);
    int param = 1;
    for (const int c : columns)
        post.Bind(param++, Values[static_cast<size_t>(c)].value_or(TVariant{}));
    const int64_t rowId = Inserting ? 0 : FRowIds.at(static_cast<size_t>(Index));
    if (!Inserting)
        post.Bind(param, rowId);
    post.Execute();
    const int64_t written = Inserting ? db.LastInsertRowId() : rowId;
    for (const int c : columns)
        FBlobCache.erase({written, c});
    LoadRowIds();
    const auto at = std::lower_bound(FRowIds.begin(), FRowIds.end(), written);
    return static_cast<int>(at - FRowIds.begin());
}

void TSQLiteTable::InternalDelete(int Index) {
    const int64_t rowId = FRowIds.at(static_cast<size_t>(Index));
    TStatement del(CheckDatabase(),
                   "DELETE FROM " + QuoteIdentifier(FTableName) + " WHERE rowid = ?");
    del.Bind(1, rowId);
    del.Execute();
    std::erase_if(FBlobCache, [&](const auto& e) { return e.first.first == rowId; });
    LoadRowIds();
}

bool TSQLiteTable::Locate(int64_t RowId) {
    const auto at = std::find(FRowIds.begin(), FRowIds.end(), RowId);
    if (at == FRowIds.end())
        return false;
    GotoRecord(static_cast<int>(at - FRowIds.begin()));
    return true;
}

} // namespace zorp::fw
