// PostgreSQL access through libpq: the connection, transactions and statements with parameters.
#pragma once

#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"
#include "PGResult.h"

#include <memory>
#include <string>
#include <vector>

struct pg_conn;

namespace zorp::fw {

/// One parameter of a PostgreSQL statement. Null is SQL NULL; integers and floats go as their
/// decimal text; a string goes as text, or with Binary set as raw bytes in binary format, which
/// a bytea parameter needs for any byte (a text parameter cannot hold a zero byte).
struct ZORP_API TPGParam {
    /// The value.
    TVariant Value;
    /// Send a string value's bytes in binary format.
    bool Binary = false;
};

/// One connection to a PostgreSQL server through libpq, by connection string
/// ("postgresql://user@host/db" or "host=/run/postgresql dbname=notes"), opened on first use
/// with the client encoding UTF8 unless the string names another. Failures raise
/// EDatabaseError with the server's message; a connection found broken after a failure is
/// closed, so the next use connects again.
class ZORP_API TPGDatabase : public TComponent {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TPGDatabase";
    /// Creates a closed connection with an empty connection string (libpq's defaults and
    /// environment), owned by AOwner.
    explicit TPGDatabase(TComponent* AOwner);
    /// Closes the connection.
    ~TPGDatabase() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The libpq connection string. Changing it closes an open connection.
    /// @{
    const std::string& ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const std::string& Value);
    /// @}
    /// Connects; does nothing when connected. Raises EDatabaseError with libpq's message when
    /// the server cannot be reached or refuses the connection.
    void Open();
    /// Closes the connection; does nothing when it is closed.
    void Close();
    /// True while the connection is open.
    bool Connected() const { return FHandle != nullptr; }

    /// Runs one or more statements separated by semicolons, without parameters, connecting
    /// when needed; what they return is dropped.
    void ExecSQL(const std::string& SQL);
    /// Runs one statement with parameters $1, $2, ... and returns its rows, connecting when
    /// needed. With BinaryResults the values come in binary format (a bytea column's raw
    /// bytes), else as text.
    TPGResult Execute(const std::string& SQL, const std::vector<TPGParam>& Params = {},
                      bool BinaryResults = false);

    /// Starts a transaction.
    void StartTransaction();
    /// Commits the open transaction.
    void Commit();
    /// Rolls back the open transaction; does nothing when there is none.
    void Rollback();
    /// True while a transaction is open on the connection, failed or not.
    bool InTransaction() const;

protected:
    /// ConnectionString.
    void DefineProperties(TPropertyList& Properties) override;

private:
    pg_conn* Handle();
    TPGResult Check(pg_result* Result);

    struct TConnectionClose {
        void operator()(pg_conn* Connection) const noexcept;
    };
    std::string FConnectionString;
    std::unique_ptr<pg_conn, TConnectionClose> FHandle;
};

} // namespace zorp::fw
