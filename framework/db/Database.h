// TDatabase: one SQLite connection, by file name (":memory:" for a private
// in-memory database). TStatement: a prepared statement, finalized when it
// goes. TTransaction: a transaction rolled back unless committed. Failures
// raise EDatabaseError with SQLite's message.
#pragma once

#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zorp::fw {

class ZORP_API TDatabase : public TComponent {
public:
    static constexpr const char* StaticClassName = "TDatabase";
    explicit TDatabase(TComponent* AOwner);
    ~TDatabase() override;
    std::string ClassName() const override { return StaticClassName; }

    const std::string& DatabaseName() const { return FDatabaseName; }
    // Changing the name of an open connection closes it first.
    void SetDatabaseName(const std::string& Name);
    // Whether opening a file that does not exist creates it (the default);
    // off, opening it fails. Changing it closes an open connection.
    bool CreateIfMissing() const { return FCreateIfMissing; }
    void SetCreateIfMissing(bool Value);
    void Open();
    void Close();
    bool Connected() const { return FHandle != nullptr; }

    // Runs statements that return no rows.
    void ExecSQL(const std::string& SQL);
    void StartTransaction();
    void Commit();
    // Rolls back the open transaction. Does nothing when there is none: a
    // failing statement (a full disk, a trigger's RAISE(ROLLBACK)) may
    // have made SQLite roll it back already.
    void Rollback();
    bool InTransaction() const;
    // The rowid of the last row inserted through this connection.
    int64_t LastInsertRowId();

protected:
    // DatabaseName and CreateIfMissing.
    void DefineProperties(TPropertyList& Properties) override;

private:
    friend class TStatement;
    // The connection, opened on first use.
    sqlite3* Handle();

    std::string FDatabaseName;
    bool FCreateIfMissing = true;
    sqlite3* FHandle = nullptr;
};

// Starts a transaction that is rolled back when the object goes without
// Commit. A failing rollback is ignored there, so the error that made the
// transaction fail is the one that propagates.
class ZORP_API TTransaction {
public:
    explicit TTransaction(TDatabase& Database);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit();

private:
    TDatabase& FDatabase;
    bool FCommitted = false;
};

class ZORP_API TStatement {
public:
    TStatement(TDatabase& Database, const std::string& SQL);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Parameters count from 1. Strings are bound as BLOBs.
    void Bind(int Index, const TVariant& Value);
    // Binds UTF-8 text as a TEXT value.
    void BindText(int Index, const std::string& Text);
    // Next row: true while there is one.
    bool Step();
    // Runs a statement that returns no rows.
    void Execute();
    void Reset();

    int ColumnCount() const;
    TVariant Column(int Index) const;

private:
    [[noreturn]] void Fail() const;

    TDatabase& FDatabase;
    sqlite3_stmt* FStatement = nullptr;
};

// Quotes an identifier for SQL ("name" with inner quotes doubled).
ZORP_API std::string QuoteIdentifier(const std::string& Name);

} // namespace zorp::fw
