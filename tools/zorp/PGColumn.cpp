#include "tools/zorp/PGColumn.h"

#include "framework/base/TextUtils.h"
#include "framework/db/Database.h"
#include "framework/db/PGTable.h"

#include <stdexcept>

namespace zorp::tool {

namespace {

fw::TPGParam Text(const std::string& Value) {
    return fw::TPGParam{fw::TVariant(Value), false};
}

} // namespace

PGColumn::PGColumn(const ColumnName& Name) : FName(Name) {
    FDb.SetConnectionString(Name.Database);
    try {
        FDb.Open();
        CheckColumn();
        ReadKey();
    } catch (const fw::EDatabaseError& e) {
        throw std::runtime_error(Name.Database + ": " + e.Message());
    }
}

// The table is looked up as SQL reads its name (to_regclass), so "Docs"
// finds docs; the column as the SQLite path matches it, in any case.
void PGColumn::CheckColumn() {
    const fw::TPGResult table = FDb.Execute("SELECT to_regclass($1)::oid", {Text(FName.Table)});
    if (table.IsNull(0, 0))
        throw std::runtime_error("no such table: " + FName.Table);
    const fw::TPGResult columns =
        FDb.Execute("SELECT quote_ident(n.nspname) || '.' || quote_ident(c.relname), a.attname, "
                    "format_type(a.atttypid, a.atttypmod), "
                    "coalesce(col_description(a.attrelid, a.attnum), '') "
                    "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                    "JOIN pg_attribute a ON a.attrelid = c.oid "
                    "WHERE c.oid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped",
                    {Text(table.Value(0, 0))});
    for (int i = 0; i < columns.RowCount(); ++i) {
        if (!fw::SameText(columns.Value(i, 1), FName.Column))
            continue;
        FTable = columns.Value(i, 0);
        FColumn = fw::QuoteIdentifier(columns.Value(i, 1));
        const std::string type = columns.Value(i, 2);
        if (type != "bytea")
            throw std::runtime_error("column " + FName.Column + " of " + FName.Table + " is " +
                                     type + ": it must be bytea to hold compressed values");
        FGraphic =
            fw::TPGTable::MapColumnType(columns.Value(i, 1), type, columns.Value(i, 3)).DataType ==
            fw::ftGraphic;
        return;
    }
    throw std::runtime_error("no such column: " + FName.Column + " in " + FName.Table);
}

void PGColumn::ReadKey() {
    const fw::TPGResult key = FDb.Execute("SELECT a.attname FROM pg_index i JOIN pg_attribute a "
                                          "ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) "
                                          "WHERE i.indrelid = to_regclass($1) AND i.indisprimary",
                                          {Text(FName.Table)});
    if (key.RowCount() == 0)
        throw std::runtime_error("table " + FName.Table +
                                 " has no primary key: its rows are addressed by one");
    if (key.RowCount() > 1)
        throw std::runtime_error("table " + FName.Table +
                                 " has a primary key of several columns: its rows are "
                                 "addressed by a key of one column");
    FKey = fw::QuoteIdentifier(key.Value(0, 0));
}

std::string PGColumn::NoRow(const std::string& Key) const {
    return "no row " + Key + " in " + FName.Table;
}

fw::TPGResult PGColumn::Rows(bool Lock) {
    return FDb.Execute("SELECT " + FKey + "::text, " + FColumn + " FROM " + FTable + " ORDER BY " +
                           FKey + (Lock ? " FOR UPDATE" : ""),
                       {}, true);
}

std::string PGColumn::Value(const std::string& Key) {
    const fw::TPGResult row = FDb.Execute(
        "SELECT " + FColumn + " FROM " + FTable + " WHERE " + FKey + " = $1", {Text(Key)}, true);
    if (row.RowCount() == 0)
        throw std::runtime_error(NoRow(Key));
    return row.Value(0, 0);
}

void PGColumn::Write(const std::string& Key, const std::string& Value) {
    const fw::TPGResult done =
        FDb.Execute("UPDATE " + FTable + " SET " + FColumn + " = $1 WHERE " + FKey + " = $2",
                    {fw::TPGParam{fw::TVariant(Value), true}, Text(Key)});
    if (done.RowsAffected() == 0)
        throw std::runtime_error(NoRow(Key));
}

PGTransaction::~PGTransaction() {
    if (FDone)
        return;
    try {
        FDb.Rollback();
    } catch (...) { // NOLINT(bugprone-empty-catch): the error that got us here is the one to report
    }
}

void PGTransaction::Commit() {
    FDb.Commit();
    FDone = true;
}

} // namespace zorp::tool
