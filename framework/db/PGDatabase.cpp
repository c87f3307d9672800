#include "framework/db/PGDatabase.h"

#include <array>
#include <charconv>
#include <libpq-fe.h>
#include <limits>

namespace zorp::fw {

namespace {

// libpq's messages end with a newline.
std::string Trimmed(const char* Message) {
    std::string text = Message != nullptr ? Message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "Unknown PostgreSQL error" : text;
}

// Notices (a table dropped that was not there, ...) are not errors; libpq would print them.
void IgnoreNotice(void* /*Arg*/, const char* /*Message*/) {}

// The text a parameter travels as: decimal for numbers, the bytes of a string.
std::string ParamText(const TVariant& Value) {
    if (const auto* i = std::get_if<int64_t>(&Value))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&Value)) {
        std::array<char, 64> buffer{};
        const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *d);
        return std::string(buffer.data(), error == std::errc() ? end : buffer.data());
    }
    return std::get<std::string>(Value);
}

} // namespace

void TPGDatabase::TConnectionClose::operator()(pg_conn* Connection) const noexcept {
    PQfinish(Connection);
}

TPGDatabase::TPGDatabase(TComponent* AOwner) : TComponent(AOwner) {}

TPGDatabase::~TPGDatabase() {
    Close();
}

void TPGDatabase::SetConnectionString(const std::string& Value) {
    Close();
    FConnectionString = Value;
}

void TPGDatabase::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    Properties.AddString(
        "ConnectionString", [this] { return FConnectionString; },
        [this](const std::string& Value) { SetConnectionString(Value); });
}

void TPGDatabase::Open() {
    if (FHandle)
        return;
    // The connection string is expanded in dbname's place; what it names overrides the
    // encoding given before it.
    const std::array<const char*, 3> keywords{"client_encoding", "dbname", nullptr};
    const std::array<const char*, 3> values{"UTF8", FConnectionString.c_str(), nullptr};
    std::unique_ptr<pg_conn, TConnectionClose> handle(
        PQconnectdbParams(keywords.data(), values.data(), 1));
    if (!handle)
        throw EDatabaseError("Out of memory connecting to PostgreSQL");
    if (PQstatus(handle.get()) != CONNECTION_OK)
        throw EDatabaseError(Trimmed(PQerrorMessage(handle.get())));
    PQsetNoticeProcessor(handle.get(), IgnoreNotice, nullptr);
    FHandle = std::move(handle);
}

void TPGDatabase::Close() {
    FHandle.reset();
}

pg_conn* TPGDatabase::Handle() {
    Open();
    return FHandle.get();
}

TPGResult TPGDatabase::Check(pg_result* Result) {
    TPGResult owned(Result);
    const ExecStatusType status = Result != nullptr ? PQresultStatus(Result) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return owned;
    const char* primary =
        Result != nullptr ? PQresultErrorField(Result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const std::string message =
        Trimmed(primary != nullptr ? primary : PQerrorMessage(FHandle.get()));
    if (PQstatus(FHandle.get()) == CONNECTION_BAD)
        Close();
    throw EDatabaseError(message);
}

void TPGDatabase::ExecSQL(const std::string& SQL) {
    pg_conn* handle = Handle();
    Check(PQexec(handle, SQL.c_str()));
}

TPGResult TPGDatabase::Execute(const std::string& SQL, const std::vector<TPGParam>& Params,
                               bool BinaryResults) {
    std::vector<std::string> texts;
    texts.reserve(Params.size());
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    for (size_t i = 0; i < Params.size(); ++i) {
        const TPGParam& param = Params[i];
        if (VarIsNull(param.Value)) {
            values.push_back(nullptr);
            lengths.push_back(0);
            formats.push_back(0);
            continue;
        }
        texts.push_back(ParamText(param.Value));
        const std::string& text = texts.back();
        const bool binary = param.Binary && std::holds_alternative<std::string>(param.Value);
        // libpq reads a text parameter up to its first zero byte: refuse rather than cut.
        if (!binary && text.find('\0') != std::string::npos)
            throw EDatabaseError("Parameter $" + std::to_string(i + 1) +
                                 " holds a zero byte, which only a bytea column can take");
        if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
            throw EDatabaseError("Parameter $" + std::to_string(i + 1) + " is too large");
        values.push_back(text.c_str());
        lengths.push_back(static_cast<int>(text.size()));
        formats.push_back(binary ? 1 : 0);
    }
    pg_conn* handle = Handle();
    return Check(PQexecParams(handle, SQL.c_str(), static_cast<int>(Params.size()), nullptr,
                              values.data(), lengths.data(), formats.data(),
                              BinaryResults ? 1 : 0));
}

void TPGDatabase::StartTransaction() {
    ExecSQL("BEGIN");
}

void TPGDatabase::Commit() {
    ExecSQL("COMMIT");
}

void TPGDatabase::Rollback() {
    if (InTransaction())
        ExecSQL("ROLLBACK");
}

bool TPGDatabase::InTransaction() const {
    if (!FHandle)
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(FHandle.get());
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

} // namespace zorp::fw
