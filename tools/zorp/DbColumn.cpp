#include "tools/zorp/DbColumn.h"

#include "framework/base/TextUtils.h"
#include "framework/db/SQLiteTable.h"

namespace zorp::tool {

namespace {

// Every statement names only the checked table and column, so none meets a
// name SQLite cannot resolve, which it would take for a string literal when
// double-quoted.
std::string Quoted(const std::string& Name) {
    return fw::QuoteIdentifier(Name);
}

} // namespace

bool OpenColumn(fw::TDatabase& Db, const ColumnName& Name) {
    Db.SetCreateIfMissing(false);
    Db.SetDatabaseName(Name.Database);
    try {
        Db.Open();
    } catch (const fw::EDatabaseError& e) {
        throw std::runtime_error(Name.Database + ": " + e.Message());
    }
    fw::TStatement columns(Db, "PRAGMA table_info(" + Quoted(Name.Table) + ")");
    bool table = false;
    while (columns.Step()) {
        table = true;
        const std::string column = fw::VarToStr(columns.Column(1));
        if (fw::SameText(column, Name.Column))
            return fw::TSQLiteTable::MapColumnType(column, fw::VarToStr(columns.Column(2)))
                       .DataType == fw::ftGraphic;
    }
    throw std::runtime_error(table ? "no such column: " + Name.Column + " in " + Name.Table
                                   : "no such table: " + Name.Table);
}

std::runtime_error ValueError(const ColumnName& Name, const std::string& Row,
                              const std::string& Message) {
    return std::runtime_error(Name.Database + ": table " + Name.Table + ", column " + Name.Column +
                              ", " + Row + ": " + Message);
}

std::string RowIdName(int64_t Row) {
    return "rowid " + std::to_string(Row);
}

ColumnRows::ColumnRows(fw::TDatabase& Db, const ColumnName& Name)
    : FRows(Db, "SELECT rowid, " + Quoted(Name.Column) + ", typeof(" + Quoted(Name.Column) +
                    ") FROM " + Quoted(Name.Table) + " ORDER BY rowid") {}

int64_t ColumnRows::Row() const {
    return std::get<int64_t>(FRows.Column(0));
}

std::string ColumnRows::Value() const {
    return fw::VarToStr(FRows.Column(1));
}

std::string ColumnRows::Class() const {
    return fw::VarToStr(FRows.Column(2));
}

ColumnWriter::ColumnWriter(fw::TDatabase& Db, const ColumnName& Name)
    : FBlob(Db, "UPDATE " + Quoted(Name.Table) + " SET " + Quoted(Name.Column) +
                    " = ?1 WHERE rowid = ?2"),
      FText(Db, "UPDATE " + Quoted(Name.Table) + " SET " + Quoted(Name.Column) +
                    " = CAST(?1 AS TEXT) WHERE rowid = ?2") {}

void ColumnWriter::Write(int64_t Row, const std::string& Value, bool AsText) {
    fw::TStatement& update = AsText ? FText : FBlob;
    update.Reset();
    update.Bind(1, Value);
    update.Bind(2, Row);
    update.Execute();
}

} // namespace zorp::tool
