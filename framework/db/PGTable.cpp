#include "framework/db/PGTable.h"

#include "framework/base/TextUtils.h"
#include "framework/db/Database.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zorp::fw {

namespace {

// The columns, with domains by their base type, in table order.
constexpr const char* ColumnsQuery =
    "SELECT a.attname, "
    "format_type(CASE WHEN t.typtype = 'd' THEN t.typbasetype ELSE a.atttypid END, "
    "CASE WHEN t.typtype = 'd' THEN t.typtypmod ELSE a.atttypmod END), "
    "a.attnotnull, coalesce(col_description(a.attrelid, a.attnum), '') "
    "FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
    "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped "
    "ORDER BY a.attnum";

// The primary key's columns in key order.
constexpr const char* KeyQuery =
    "SELECT a.attname FROM pg_index i "
    "CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, n) "
    "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
    "WHERE i.indrelid = to_regclass($1) AND i.indisprimary ORDER BY k.n";

bool StartsWith(const std::string& Text, const std::string& Prefix) {
    return Text.rfind(Prefix, 0) == 0;
}

// The n of "name(n)", 0 when there is none or it is not a positive number.
int32_t SizeIn(const std::string& Type) {
    const size_t open = Type.find('(');
    if (open == std::string::npos)
        return 0;
    int32_t size = 0;
    const char* first = Type.c_str() + open + 1;
    const auto [end, error] = std::from_chars(first, Type.c_str() + Type.size(), size);
    return error == std::errc() && *end == ')' && size > 0 ? size : 0;
}

// The first word of a comment, in lower case.
std::string FirstWord(const std::string& Comment) {
    std::string word;
    size_t i = 0;
    while (i < Comment.size() && std::isspace(static_cast<unsigned char>(Comment[i])))
        ++i;
    for (; i < Comment.size() && std::isalpha(static_cast<unsigned char>(Comment[i])); ++i)
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(Comment[i])));
    return word;
}

TFieldType ByteaType(const std::string& Comment) {
    const std::string word = FirstWord(Comment);
    if (word == "graphic")
        return ftGraphic;
    if (word == "memo")
        return ftMemo;
    if (word == "fmtmemo")
        return ftFmtMemo;
    return ftBlob;
}

void CheckColumns(const TPGResult& Result, size_t Expected) {
    if (Result.ColumnCount() != static_cast<int>(Expected))
        throw EDatabaseError("The server returned " + std::to_string(Result.ColumnCount()) +
                             " columns where " + std::to_string(Expected) + " were asked for");
}

} // namespace

TPGTable::TPGTable(TComponent* AOwner) : TDataSet(AOwner) {}

TPGTable::~TPGTable() {
    Close();
}

void TPGTable::SetDatabase(TPGDatabase* Value) {
    CheckInactive();
    if (FDatabase != nullptr)
        RemoveFreeNotification(FDatabase);
    FDatabase = Value;
    if (FDatabase != nullptr)
        FreeNotification(FDatabase);
}

void TPGTable::SetTableName(const std::string& Value) {
    CheckInactive();
    FTableName = Value;
}

void TPGTable::DefineProperties(TPropertyList& Properties) {
    TDataSet::DefineProperties(Properties);
    Properties.AddComponent<TPGDatabase>(
        "Database", [this] { return FDatabase; },
        [this](TPGDatabase* Value) { SetDatabase(Value); });
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

void TPGTable::Notification(TComponent* AComponent, TOperation Operation) {
    TDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDatabase) {
        Close();
        FDatabase = nullptr;
    }
}

TPGDatabase& TPGTable::CheckDatabase() const {
    if (FDatabase == nullptr)
        throw EDatabaseError("No database for table " + FTableName);
    if (FTableName.empty())
        throw EDatabaseError("Table name missing");
    return *FDatabase;
}

TFieldDef TPGTable::MapColumnType(const std::string& Name, const std::string& TypeName,
                                  const std::string& Comment) {
    TFieldDef def;
    def.Name = Name;
    const std::string type = LowerCase(TypeName);
    if (type == "smallint" || type == "integer" || type == "bigint" || type == "boolean") {
        def.DataType = ftInteger;
    } else if (type == "real" || type == "double precision" || type == "numeric" ||
               StartsWith(type, "numeric(")) {
        def.DataType = ftFloat;
    } else if (type == "text") {
        def.DataType = ftMemo;
    } else if (type == "bytea") {
        def.DataType = ByteaType(Comment);
    } else {
        // character varying(n) and character(n) have a size; other types read as text.
        def.DataType = ftString;
        if (StartsWith(type, "character varying(") || StartsWith(type, "character("))
            def.Size = SizeIn(type);
    }
    return def;
}

void TPGTable::ReadColumns(TPGDatabase& Db) {
    const TPGResult columns = Db.Execute(ColumnsQuery, {{QuoteIdentifier(FTableName)}});
    CheckColumns(columns, 4);
    for (int row = 0; row < columns.RowCount(); ++row) {
        const std::string type = columns.Value(row, 1);
        TFieldDef def = MapColumnType(columns.Value(row, 0), type, columns.Value(row, 3));
        def.Required = columns.Value(row, 2) == "t";
        FieldDefs().Add(def);
        FColumnTypes.push_back(LowerCase(type));
    }
    if (FieldDefs().Count() == 0)
        throw EDatabaseError("Table " + FTableName + " does not exist");
}

void TPGTable::ReadKeyFields(TPGDatabase& Db) {
    const TPGResult keys = Db.Execute(KeyQuery, {{QuoteIdentifier(FTableName)}});
    CheckColumns(keys, 1);
    for (int row = 0; row < keys.RowCount(); ++row) {
        FKeyFields.push_back(keys.Value(row, 0));
        if (FieldDefs().IndexOf(FKeyFields.back()) < 0)
            throw EDatabaseError("Key column " + FKeyFields.back() + " of table " + FTableName +
                                 " is not among its columns");
    }
    if (FKeyFields.empty())
        throw EDatabaseError("Table " + FTableName +
                             " has no primary key: its rows cannot be told apart");
}

void TPGTable::InternalInitFieldDefs() {
    TPGDatabase& db = CheckDatabase();
    FColumnTypes.clear();
    FKeyFields.clear();
    ReadColumns(db);
    ReadKeyFields(db);
}

std::string TPGTable::ReturningKey() const {
    std::string names;
    for (const std::string& name : FKeyFields)
        names += (names.empty() ? "" : ", ") + QuoteIdentifier(name);
    return names;
}

void TPGTable::LoadKeys() {
    FKeys.clear();
    const std::string names = ReturningKey();
    const TPGResult rows = CheckDatabase().Execute(
        "SELECT " + names + " FROM " + QuoteIdentifier(FTableName) + " ORDER BY " + names);
    CheckColumns(rows, FKeyFields.size());
    FKeys.reserve(static_cast<size_t>(rows.RowCount()));
    for (int row = 0; row < rows.RowCount(); ++row) {
        TKey key;
        for (int c = 0; c < rows.ColumnCount(); ++c) {
            if (rows.IsNull(row, c))
                throw EDatabaseError("The server returned a null key in table " + FTableName);
            key.push_back(rows.Value(row, c));
        }
        FKeys.push_back(std::move(key));
    }
}

const TPGTable::TKey& TPGTable::KeyAt(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FKeys.size()))
        throw EDatabaseError("Record " + std::to_string(Index + 1) + " does not exist");
    return FKeys[static_cast<size_t>(Index)];
}

int TPGTable::IndexOfKey(const TKey& Key) const {
    const auto at = std::find(FKeys.begin(), FKeys.end(), Key);
    return at == FKeys.end() ? -1 : static_cast<int>(at - FKeys.begin());
}

std::string TPGTable::KeyCondition(size_t FirstParam) const {
    std::string condition;
    for (size_t k = 0; k < FKeyFields.size(); ++k)
        condition += (condition.empty() ? "" : " AND ") + QuoteIdentifier(FKeyFields[k]) + " = $" +
                     std::to_string(FirstParam + k);
    return condition;
}

void TPGTable::AddKeyParams(const TKey& Key, std::vector<TPGParam>& Params) const {
    for (const std::string& part : Key)
        Params.push_back({part});
}

TPGParam TPGTable::ParamFor(int FieldNo, const TVariant& Value) const {
    return {Value, FColumnTypes.at(static_cast<size_t>(FieldNo)) == "bytea"};
}

TVariant TPGTable::FromText(int FieldNo, const std::string& Text) {
    const TFieldDef& def = FieldDefs().Items(FieldNo);
    const char* first = Text.data();
    const char* last = Text.data() + Text.size();
    if (def.DataType == ftInteger && FColumnTypes.at(static_cast<size_t>(FieldNo)) == "boolean") {
        if (Text == "t" || Text == "f")
            return int64_t{Text == "t" ? 1 : 0};
    } else if (def.DataType == ftInteger) {
        int64_t value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc() && end == last)
            return value;
    } else if (def.DataType == ftFloat) {
        double value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc() && end == last)
            return value;
    } else {
        return Text;
    }
    throw EDatabaseError("The server sent '" + Text.substr(0, 40) + "' for column " + def.Name +
                         ", which is not a valid " +
                         (def.DataType == ftFloat ? "float" : "integer"));
}

void TPGTable::InternalOpen() {
    LoadKeys();
    FBlobCache.clear();
}

void TPGTable::InternalClose() {
    FKeys.clear();
    FBlobCache.clear();
    FCurrentVersion.clear();
}

int TPGTable::InternalRecordCount() {
    return static_cast<int>(FKeys.size());
}

void TPGTable::InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) {
    const TKey& key = KeyAt(Index);
    std::string columns = "xmin";
    std::vector<int> plain;
    for (int i = 0; i < FieldDefs().Count(); ++i) {
        if (IsBlobType(FieldDefs().Items(i).DataType))
            continue;
        columns += ", " + QuoteIdentifier(FieldDefs().Items(i).Name);
        plain.push_back(i);
    }
    std::vector<TPGParam> params;
    AddKeyParams(key, params);
    const TPGResult row = CheckDatabase().Execute(
        "SELECT " + columns + " FROM " + QuoteIdentifier(FTableName) + " WHERE " + KeyCondition(1),
        params);
    if (row.RowCount() == 0)
        throw EDatabaseError("Record not found: it was deleted by another user");
    CheckColumns(row, plain.size() + 1);
    FCurrentVersion = row.Value(0, 0);
    for (size_t c = 0; c < plain.size(); ++c) {
        const int column = static_cast<int>(c) + 1;
        Values[static_cast<size_t>(plain[c])] =
            row.IsNull(0, column) ? TVariant{} : FromText(plain[c], row.Value(0, column));
    }
}

TVariant TPGTable::InternalFetchBlob(int Index, int FieldNo) {
    const TKey& key = KeyAt(Index);
    const auto cacheKey = std::make_pair(key, FieldNo);
    if (FCacheBlobs) {
        const auto hit = FBlobCache.find(cacheKey);
        if (hit != FBlobCache.end() && hit->second.first == FCurrentVersion)
            return hit->second.second;
    }
    // Binary results give a bytea value's raw bytes and a text value's own bytes; the version
    // is cast to text to read the same either way.
    std::vector<TPGParam> params;
    AddKeyParams(key, params);
    const TPGResult value = CheckDatabase().Execute(
        "SELECT " + QuoteIdentifier(FieldDefs().Items(FieldNo).Name) + ", xmin::text FROM " +
            QuoteIdentifier(FTableName) + " WHERE " + KeyCondition(1),
        params, true);
    if (value.RowCount() == 0)
        throw EDatabaseError("Record not found: it was deleted by another user");
    CheckColumns(value, 2);
    TVariant result = value.IsNull(0, 0) ? TVariant{} : TVariant{value.Value(0, 0)};
    if (FCacheBlobs)
        FBlobCache[cacheKey] = {value.Value(0, 1), result};
    return result;
}

void TPGTable::ReportConflict(const TKey& Key) {
    std::vector<TPGParam> params;
    AddKeyParams(Key, params);
    const TPGResult still = CheckDatabase().Execute(
        "SELECT 1 FROM " + QuoteIdentifier(FTableName) + " WHERE " + KeyCondition(1), params);
    throw EDatabaseError(still.RowCount() > 0 ? "Record changed by another user"
                                              : "Record deleted by another user");
}

int TPGTable::InternalPost(bool Inserting, int Index,
                           const std::vector<std::optional<TVariant>>& Values,
                           const std::vector<bool>& Changed) {
    TPGDatabase& db = CheckDatabase();
    // An INSERT's column list and parameters, or an UPDATE's assignments.
    std::vector<TPGParam> params;
    std::string names;
    std::string marks;
    for (size_t i = 0; i < Values.size(); ++i) {
        if (!Changed[i] && !(Inserting && Values[i] && !VarIsNull(*Values[i])))
            continue;
        const std::string name = QuoteIdentifier(FieldDefs().Items(static_cast<int>(i)).Name);
        const std::string mark = "$" + std::to_string(params.size() + 1);
        names += names.empty() ? "" : ", ";
        names += name;
        if (!Inserting)
            names.append(" = ").append(mark);
        marks += (marks.empty() ? "" : ", ") + mark;
        params.push_back(ParamFor(static_cast<int>(i), Values[i].value_or(TVariant{})));
    }
    const std::string table = QuoteIdentifier(FTableName);
    std::string sql;
    if (Inserting) {
        sql = params.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                             : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    } else {
        if (params.empty())
            return Index;
        // Only the version read may be overwritten.
        sql = "UPDATE " + table + " SET " + names + " WHERE " + KeyCondition(params.size() + 1) +
              " AND xmin = $" + std::to_string(params.size() + FKeyFields.size() + 1);
        AddKeyParams(KeyAt(Index), params);
        params.push_back({FCurrentVersion});
    }
    const TPGResult written = db.Execute(sql + " RETURNING " + ReturningKey(), params);
    if (written.RowCount() == 0) {
        if (Inserting)
            throw EDatabaseError("The server inserted no row into " + FTableName);
        ReportConflict(KeyAt(Index));
    }
    CheckColumns(written, FKeyFields.size());
    TKey key;
    for (int c = 0; c < written.ColumnCount(); ++c)
        key.push_back(written.Value(0, c));
    LoadKeys();
    const int at = IndexOfKey(key);
    return at >= 0 ? at : std::clamp(Index, 0, std::max(static_cast<int>(FKeys.size()) - 1, 0));
}

void TPGTable::InternalDelete(int Index) {
    const TKey key = KeyAt(Index);
    std::vector<TPGParam> params;
    AddKeyParams(key, params);
    params.push_back({FCurrentVersion});
    const TPGResult deleted = CheckDatabase().Execute(
        "DELETE FROM " + QuoteIdentifier(FTableName) + " WHERE " + KeyCondition(1) +
            " AND xmin = $" + std::to_string(FKeyFields.size() + 1),
        params);
    if (deleted.RowsAffected() == 0)
        ReportConflict(key);
    std::erase_if(FBlobCache, [&](const auto& e) { return e.first.first == key; });
    LoadKeys();
}

} // namespace zorp::fw
