// A stored value is read as the compressed fields read it: TZorp::Expand
// takes it, so a value without a compressed header comes back unchanged,
// and a picture of a graphic column comes back as the field holds it, the
// 8-byte graphic header in front of the bitmap (the header is part of the
// data compressed). What a value is, without expanding it, comes from
// IdentifyStream, which reads the header as Expand does.
#include "sqlext/SqlFunctions.h"

#include "common/MethodNames.h"
#include "component/StreamIdentity.h"
#include "component/Zorp.h"
#include "framework/base/ReadOnlyMemoryStream.h"
#include "sqlext/LimitedBuffer.h"
#include "sqlext/SqlArguments.h"

#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace zorp::sql {

namespace {

// What the functions of one connection share: one component, so that a query
// over many rows does not build an engine for every value. SQLite calls the
// functions of a connection one at a time, and none of them calls back into
// SQLite while the component works.
struct TConnection {
    TZorp Zorp{nullptr};
};
// Each registration holds the connection's state; the last one released frees it.
using TSharedConnection = std::shared_ptr<TConnection>;

TZorp& ZorpOf(sqlite3_context* Context, int32_t Key) {
    TZorp& zorp = (*static_cast<TSharedConnection*>(sqlite3_user_data(Context)))->Zorp;
    zorp.SetKey(Key);
    return zorp;
}

void ReleaseConnection(void* Shared) {
    delete static_cast<TSharedConnection*>(Shared);
}

// What the header of Stored says, if Stored is compressed data of ours.
std::optional<TZorpStreamInfo> Identify(std::string_view Stored) {
    fw::TReadOnlyMemoryStream stream(Stored);
    return IdentifyStream(stream);
}

// zorp_compress(value [, method [, key]]): exactly what TZorp::CompressString
// gives, LZH5 and no key unless asked for.
void Compress(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Guarded(Context, [&] {
        if (AnyNull(Count, Args))
            return sqlite3_result_null(Context);
        const TZorpMethod method = Count > 1 ? MethodArgument(Args[1]) : coLZH5;
        TZorp& zorp = ZorpOf(Context, Count > 2 ? KeyArgument(Args[2]) : 0);
        ResultBytes(Context, zorp.CompressString(ValueBytes(Args[0]), method), false);
    });
}

// zorp_expand and zorp_expand_text (value [, key]). The size the header
// announces is checked against the length limit before anything is
// allocated, and the expansion itself cannot outgrow the limit either.
void Expand(sqlite3_context* Context, int Count, sqlite3_value** Args, bool AsText) {
    Guarded(Context, [&] {
        if (AnyNull(Count, Args))
            return sqlite3_result_null(Context);
        const int32_t key = Count > 1 ? KeyArgument(Args[1]) : 0;
        const std::string_view stored = ValueBytes(Args[0]);
        const int64_t limit = LengthLimit(Context);
        const std::optional<TZorpStreamInfo> info = Identify(stored);
        if ((info ? info->ExpandedSize : static_cast<int64_t>(stored.size())) > limit)
            throw ETooBig();
        TLimitedBuffer expanded(limit);
        fw::TReadOnlyMemoryStream source(stored);
        ZorpOf(Context, key).Expand(expanded, source);
        ResultBytes(Context,
                    std::string_view(expanded.Memory(), static_cast<size_t>(expanded.Size())),
                    AsText);
    });
}

void ExpandBlob(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Expand(Context, Count, Args, false);
}

void ExpandText(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Expand(Context, Count, Args, true);
}

// zorp_size(value): the size of the value expanded, as its header says; a
// value without a header is its own expansion.
void Size(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Guarded(Context, [&] {
        if (AnyNull(Count, Args))
            return sqlite3_result_null(Context);
        const std::string_view stored = ValueBytes(Args[0]);
        const std::optional<TZorpStreamInfo> info = Identify(stored);
        sqlite3_result_int64(Context,
                             info ? info->ExpandedSize : static_cast<sqlite3_int64>(stored.size()));
    });
}

// zorp_method(value): the method's short name ("custom" for an application's
// own), "none" for a value without a header, "archive" for an archive.
void Method(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Guarded(Context, [&] {
        if (AnyNull(Count, Args))
            return sqlite3_result_null(Context);
        const std::optional<TZorpStreamInfo> info = Identify(ValueBytes(Args[0]));
        const char* name = !info                          ? MethodShortNames[coNone]
                           : info->ArchiveType == caMulti ? "archive"
                                                          : MethodShortNames[info->Method];
        sqlite3_result_text(Context, name, -1, SQLITE_STATIC);
    });
}

// zorp_is_compressed(value): 1 when the value holds a compressed header of ours.
void IsCompressed(sqlite3_context* Context, int Count, sqlite3_value** Args) {
    Guarded(Context, [&] {
        if (AnyNull(Count, Args))
            return sqlite3_result_null(Context);
        sqlite3_result_int(Context, Identify(ValueBytes(Args[0])) ? 1 : 0);
    });
}

using TFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

struct TFunctionEntry {
    const char* Name;
    int MinArgs;
    int MaxArgs;
    TFunction Function;
};

constexpr TFunctionEntry Functions[] = {
    {"zorp_compress", 1, 3, Compress},      {"zorp_expand", 1, 2, ExpandBlob},
    {"zorp_expand_text", 1, 2, ExpandText}, {"zorp_size", 1, 1, Size},
    {"zorp_method", 1, 1, Method},          {"zorp_is_compressed", 1, 1, IsCompressed},
};

// The same arguments give the same result, and nothing outside them is read
// or changed: views and triggers may use the functions when the schema is
// not trusted.
constexpr int FunctionFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;

} // namespace

int RegisterFunctions(sqlite3* Db) {
    const auto connection = std::make_shared<TConnection>();
    for (const TFunctionEntry& entry : Functions) {
        for (int args = entry.MinArgs; args <= entry.MaxArgs; ++args) {
            // SQLite owns the copy from here: it releases it when the function goes, and
            // at once when the registration fails.
            auto shared = std::make_unique<TSharedConnection>(connection);
            const int rc =
                sqlite3_create_function_v2(Db, entry.Name, args, FunctionFlags, shared.release(),
                                           entry.Function, nullptr, nullptr, ReleaseConnection);
            if (rc != SQLITE_OK)
                return rc;
        }
    }
    return SQLITE_OK;
}

} // namespace zorp::sql
