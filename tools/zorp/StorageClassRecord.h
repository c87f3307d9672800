// The storage class each value had before "zorp db pack" compressed it, so
// that "zorp db unpack" gives it back: a TEXT value comes back as TEXT, and
// LIKE and = on the column match it again. A packed value is a BLOB holding
// exactly what "zorp compress" writes, so the class is kept beside it, in a
// table of the same database that only the tool uses:
//
//   zorp_packed(table_name, column_name, row_id, storage_class, digest)
//
// one row per value that pack compressed: its table, column (compared as
// SQL compares names) and rowid, its class before ('text' or 'blob'), and a
// 64-bit digest (FNV-1a) of the bytes pack stored. A record holds only while
// the row still has those bytes: when a row was deleted or rewritten since,
// and when its rowid went to a new row, the digest tells, and the value
// counts as having no record. The table is made by the pack that first
// compresses a value and dropped by the unpack that leaves it empty, each
// inside that command's transaction.
#pragma once

#include "framework/db/Database.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::tool {

class StorageClassRecord {
public:
    StorageClassRecord(fw::TDatabase& Db, std::string Table, std::string Column);
    StorageClassRecord(const StorageClassRecord&) = delete;
    StorageClassRecord& operator=(const StorageClassRecord&) = delete;

    // Records that the value of Row, of Class before, is now Packed.
    void Note(int64_t Row, const std::string& Class, const std::string& Packed);
    // The class the value of Row had before pack stored Packed there; empty
    // when there is no record of these bytes in that row.
    std::string ClassBefore(int64_t Row, const std::string& Packed);
    // Drops the record of Row, whose value was replaced.
    void Forget(int64_t Row);
    // Drops the records of the column, and the table once it is empty.
    void ForgetColumn();

private:
    fw::TStatement& Prepared(std::unique_ptr<fw::TStatement>& Statement, const char* SQL);

    fw::TDatabase& FDb;
    std::string FTable;
    std::string FColumn;
    bool FExists = false;
    std::unique_ptr<fw::TStatement> FNote;
    std::unique_ptr<fw::TStatement> FLookUp;
    std::unique_ptr<fw::TStatement> FForget;
};

} // namespace zorp::tool
