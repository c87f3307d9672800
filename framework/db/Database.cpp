#include "framework/db/Database.h"

#include <sqlite3.h>

namespace zorp::fw {

TDatabase::TDatabase(TComponent* AOwner) : TComponent(AOwner) {}

TDatabase::~TDatabase() {
    Close();
}

void TDatabase::SetDatabaseName(const std::string& Name) {
    Close();
    FDatabaseName = Name;
}

void TDatabase::SetCreateIfMissing(bool Value) {
    Close();
    FCreateIfMissing = Value;
}

void TDatabase::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    Properties.AddString(
        "DatabaseName", [this] { return FDatabaseName; },
        [this](const std::string& Value) { SetDatabaseName(Value); });
    Properties.AddBoolean(
        "CreateIfMissing", [this] { return FCreateIfMissing; },
        [this](bool Value) { SetCreateIfMissing(Value); }, true);
}

void TDatabase::Open() {
    if (FHandle != nullptr)
        return;
    if (FDatabaseName.empty())
        throw EDatabaseError("Database name missing");
    sqlite3* handle = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (FCreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(FDatabaseName.c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw EDatabaseError(message);
    }
    FHandle = handle;
}

void TDatabase::Close() {
    if (FHandle == nullptr)
        return;
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
}

sqlite3* TDatabase::Handle() {
    Open();
    return FHandle;
}

void TDatabase::ExecSQL(const std::string& SQL) {
    char* error = nullptr;
    if (sqlite3_exec(Handle(), SQL.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(FHandle);
        sqlite3_free(error);
        throw EDatabaseError(message);
    }
}

void TDatabase::StartTransaction() {
    ExecSQL("BEGIN IMMEDIATE");
}

void TDatabase::Commit() {
    ExecSQL("COMMIT");
}

void TDatabase::Rollback() {
    if (InTransaction())
        ExecSQL("ROLLBACK");
}

bool TDatabase::InTransaction() const {
    return FHandle != nullptr && sqlite3_get_autocommit(FHandle) == 0;
}

int64_t TDatabase::LastInsertRowId() {
    return sqlite3_last_insert_rowid(Handle());
}

TTransaction::TTransaction(TDatabase& Database) : FDatabase(Database) {
    FDatabase.StartTransaction();
}

TTransaction::~TTransaction() {
    if (FCommitted)
        return;
    try {
        FDatabase.Rollback();
    } catch (const EDatabaseError&) {
        // SQLite rolls back what is left when the connection closes.
    }
}

void TTransaction::Commit() {
    FDatabase.Commit();
    FCommitted = true;
}

TStatement::TStatement(TDatabase& Database, const std::string& SQL) : FDatabase(Database) {
    if (sqlite3_prepare_v2(Database.Handle(), SQL.c_str(), static_cast<int>(SQL.size()),
                           &FStatement, nullptr) != SQLITE_OK)
        Fail();
}

TStatement::~TStatement() {
    sqlite3_finalize(FStatement);
}

void TStatement::Fail() const {
    throw EDatabaseError(sqlite3_errmsg(FDatabase.Handle()));
}

void TStatement::Bind(int Index, const TVariant& Value) {
    int rc = SQLITE_OK;
    if (const auto* i = std::get_if<int64_t>(&Value))
        rc = sqlite3_bind_int64(FStatement, Index, *i);
    else if (const auto* d = std::get_if<double>(&Value))
        rc = sqlite3_bind_double(FStatement, Index, *d);
    else if (const auto* s = std::get_if<std::string>(&Value))
        rc = sqlite3_bind_blob64(FStatement, Index, s->data(), s->size(), SQLITE_TRANSIENT);
    else
        rc = sqlite3_bind_null(FStatement, Index);
    if (rc != SQLITE_OK)
        Fail();
}

void TStatement::BindText(int Index, const std::string& Text) {
    if (sqlite3_bind_text64(FStatement, Index, Text.data(), Text.size(), SQLITE_TRANSIENT,
                            SQLITE_UTF8) != SQLITE_OK)
        Fail();
}

bool TStatement::Step() {
    const int rc = sqlite3_step(FStatement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    Fail();
}

void TStatement::Execute() {
    while (Step()) {
    }
}

void TStatement::Reset() {
    sqlite3_reset(FStatement);
    sqlite3_clear_bindings(FStatement);
}

int TStatement::ColumnCount() const {
    return sqlite3_column_count(FStatement);
}

TVariant TStatement::Column(int Index) const {
    switch (sqlite3_column_type(FStatement, Index)) {
    case SQLITE_INTEGER:
        return static_cast<int64_t>(sqlite3_column_int64(FStatement, Index));
    case SQLITE_FLOAT:
        return sqlite3_column_double(FStatement, Index);
    case SQLITE_NULL:
        return std::monostate{};
    default: {
        const void* data = sqlite3_column_blob(FStatement, Index);
        const int size = sqlite3_column_bytes(FStatement, Index);
        return std::string(static_cast<const char*>(data), static_cast<size_t>(size));
    }
    }
}

std::string QuoteIdentifier(const std::string& Name) {
    std::string quoted = "\"";
    for (const char c : Name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace zorp::fw
