// SQLite access: the connection, transactions, prepared statements and identifier quoting.
#pragma once

#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zorp::fw {

/// One SQLite connection, by file name (":memory:" for a private in-memory database), opened
/// on first use. Failures raise EDatabaseError with SQLite's message.
class ZORP_API TDatabase : public TComponent {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TDatabase";
    /// Creates a closed connection with no database name, owned by AOwner.
    explicit TDatabase(TComponent* AOwner);
    /// Closes the connection.
    ~TDatabase() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The database file's name. Changing the name of an open connection closes it first.
    /// @{
    const std::string& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& Name);
    /// @}
    /// Whether opening a file that does not exist creates it (the default);
    /// off, opening it fails. Changing it closes an open connection.
    /// @{
    bool CreateIfMissing() const { return FCreateIfMissing; }
    void SetCreateIfMissing(bool Value);
    /// @}
    /// Opens the connection; does nothing when it is open. Raises EDatabaseError when the
    /// name is empty or SQLite cannot open the file.
    void Open();
    /// Closes the connection; does nothing when it is closed.
    void Close();
    /// True while the connection is open.
    bool Connected() const { return FHandle != nullptr; }

    /// Runs statements that return no rows, opening the connection when needed.
    void ExecSQL(const std::string& SQL);
    /// Starts a transaction that takes the write lock at once (BEGIN IMMEDIATE).
    void StartTransaction();
    /// Commits the open transaction.
    void Commit();
    /// Rolls back the open transaction. Does nothing when there is none: a
    /// failing statement (a full disk, a trigger's RAISE(ROLLBACK)) may
    /// have made SQLite roll it back already.
    void Rollback();
    /// True while a transaction is open on the connection.
    bool InTransaction() const;
    /// The rowid of the last row inserted through this connection.
    int64_t LastInsertRowId();

protected:
    /// DatabaseName and CreateIfMissing.
    void DefineProperties(TPropertyList& Properties) override;

private:
    friend class TStatement;
    // The connection, opened on first use.
    sqlite3* Handle();

    std::string FDatabaseName;
    bool FCreateIfMissing = true;
    sqlite3* FHandle = nullptr;
};

/// Starts a transaction that is rolled back when the object goes without
/// Commit. A failing rollback is ignored there, so the error that made the
/// transaction fail is the one that propagates.
class ZORP_API TTransaction {
public:
    /// Starts a transaction on Database, which must outlive the object.
    explicit TTransaction(TDatabase& Database);
    /// Rolls the transaction back unless it was committed.
    ~TTransaction();
    /// Transactions are not copied.
    /// @{
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;
    /// @}

    /// Commits the transaction; the destructor then leaves it alone.
    void Commit();

private:
    TDatabase& FDatabase;
    bool FCommitted = false;
};

/// A prepared statement, finalized when it goes. Failures raise EDatabaseError with SQLite's
/// message.
class ZORP_API TStatement {
public:
    /// Prepares the first statement of SQL on Database's connection, opening it when needed.
    /// Database must outlive the statement.
    TStatement(TDatabase& Database, const std::string& SQL);
    /// Finalizes the statement.
    ~TStatement();
    /// Statements are not copied.
    /// @{
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;
    /// @}

    /// Binds Value to parameter Index. Parameters count from 1. Strings are bound as BLOBs.
    void Bind(int Index, const TVariant& Value);
    /// Binds UTF-8 text as a TEXT value.
    void BindText(int Index, const std::string& Text);
    /// Next row: true while there is one.
    bool Step();
    /// Runs a statement that returns no rows.
    void Execute();
    /// Makes the statement ready to run again and sets all its parameters back to null.
    void Reset();

    /// Number of columns in the statement's result rows.
    int ColumnCount() const;
    /// The value of column Index (from 0) in the current row: null, an integer, a float, or
    /// the bytes of a text or BLOB value.
    TVariant Column(int Index) const;

private:
    [[noreturn]] void Fail() const;

    TDatabase& FDatabase;
    sqlite3_stmt* FStatement = nullptr;
};

/// Quotes an identifier for SQL ("name" with inner quotes doubled).
ZORP_API std::string QuoteIdentifier(const std::string& Name);

} // namespace zorp::fw
