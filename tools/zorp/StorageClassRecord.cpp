#include "tools/zorp/StorageClassRecord.h"

namespace zorp::tool {

namespace {

// 64-bit FNV-1a.
int64_t Digest(const std::string& Bytes) {
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : Bytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<int64_t>(hash);
}

} // namespace

StorageClassRecord::StorageClassRecord(fw::TDatabase& Db, std::string Table, std::string Column)
    : FDb(Db), FTable(std::move(Table)), FColumn(std::move(Column)) {
    fw::TStatement table(FDb, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                              "name = 'zorp_packed'");
    FExists = table.Step();
}

fw::TStatement& StorageClassRecord::Prepared(std::unique_ptr<fw::TStatement>& Statement,
                                             const char* SQL) {
    if (!Statement)
        Statement = std::make_unique<fw::TStatement>(FDb, SQL);
    Statement->Reset();
    return *Statement;
}

void StorageClassRecord::Note(int64_t Row, const std::string& Class, const std::string& Packed) {
    if (!FExists) {
        FDb.ExecSQL("CREATE TABLE zorp_packed ("
                    "table_name TEXT NOT NULL COLLATE NOCASE, "
                    "column_name TEXT NOT NULL COLLATE NOCASE, "
                    "row_id INTEGER NOT NULL, "
                    "storage_class TEXT NOT NULL, "
                    "digest INTEGER NOT NULL, "
                    "PRIMARY KEY (table_name, column_name, row_id)) WITHOUT ROWID");
        FExists = true;
    }
    fw::TStatement& note =
        Prepared(FNote, "INSERT OR REPLACE INTO zorp_packed VALUES (?, ?, ?, ?, ?)");
    note.BindText(1, FTable);
    note.BindText(2, FColumn);
    note.Bind(3, Row);
    note.BindText(4, Class);
    note.Bind(5, Digest(Packed));
    note.Execute();
}

std::string StorageClassRecord::ClassBefore(int64_t Row, const std::string& Packed) {
    if (!FExists)
        return "";
    fw::TStatement& lookUp =
        Prepared(FLookUp, "SELECT storage_class FROM zorp_packed WHERE table_name = ? AND "
                          "column_name = ? AND row_id = ? AND digest = ?");
    lookUp.BindText(1, FTable);
    lookUp.BindText(2, FColumn);
    lookUp.Bind(3, Row);
    lookUp.Bind(4, Digest(Packed));
    std::string found = lookUp.Step() ? fw::VarToStr(lookUp.Column(0)) : "";
    lookUp.Reset(); // a statement left on a row keeps the table busy
    return found;
}

void StorageClassRecord::Forget(int64_t Row) {
    if (!FExists)
        return;
    fw::TStatement& forget = Prepared(
        FForget, "DELETE FROM zorp_packed WHERE table_name = ? AND column_name = ? AND row_id = ?");
    forget.BindText(1, FTable);
    forget.BindText(2, FColumn);
    forget.Bind(3, Row);
    forget.Execute();
}

void StorageClassRecord::ForgetColumn() {
    if (!FExists)
        return;
    FNote.reset();
    FLookUp.reset();
    FForget.reset();
    fw::TStatement forget(FDb, "DELETE FROM zorp_packed WHERE table_name = ? AND column_name = ?");
    forget.BindText(1, FTable);
    forget.BindText(2, FColumn);
    forget.Execute();
    if (!fw::TStatement(FDb, "SELECT 1 FROM zorp_packed LIMIT 1").Step()) {
        FDb.ExecSQL("DROP TABLE zorp_packed");
        FExists = false;
    }
}

} // namespace zorp::tool
