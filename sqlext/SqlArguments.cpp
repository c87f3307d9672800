#include "sqlext/SqlArguments.h"

#include "common/MethodNames.h"

#include <optional>
#include <string>

namespace zorp::sql {

bool AnyNull(int Count, sqlite3_value** Args) {
    for (int i = 0; i < Count; ++i)
        if (sqlite3_value_type(Args[i]) == SQLITE_NULL)
            return true;
    return false;
}

std::string_view ValueBytes(sqlite3_value* Value) {
    // The pointer first, then its length: asking for the text of a BLOB or a
    // number converts it, and the length must be that of the form read.
    const void* bytes = sqlite3_value_type(Value) == SQLITE_BLOB
                            ? sqlite3_value_blob(Value)
                            : static_cast<const void*>(sqlite3_value_text(Value));
    const int size = sqlite3_value_bytes(Value);
    if (bytes == nullptr) {
        if (size > 0 || sqlite3_value_type(Value) != SQLITE_BLOB)
            throw std::bad_alloc(); // the conversion to text ran out of memory
        return {};
    }
    return {static_cast<const char*>(bytes), static_cast<size_t>(size)};
}

int32_t KeyArgument(sqlite3_value* Value) {
    const sqlite3_int64 key = sqlite3_value_int64(Value);
    if (sqlite3_value_type(Value) != SQLITE_INTEGER || key < -0x80000000LL || key > 0xFFFFFFFFLL)
        throw EArgument("the key must be an integer from -2147483648 to 4294967295");
    return static_cast<int32_t>(static_cast<uint32_t>(key));
}

TZorpMethod MethodArgument(sqlite3_value* Value) {
    const std::string name(ValueBytes(Value));
    if (const std::optional<TZorpMethod> method = MethodFromShortName(name))
        return *method;
    throw EArgument("unknown method \"" + name + "\": use none, rle, lzh or lh5");
}

int64_t LengthLimit(sqlite3_context* Context) {
    return sqlite3_limit(sqlite3_context_db_handle(Context), SQLITE_LIMIT_LENGTH, -1);
}

void ResultBytes(sqlite3_context* Context, std::string_view Bytes, bool AsText) {
    // SQLite takes a null pointer for NULL: an empty value needs a real one.
    const char* data = Bytes.empty() ? "" : Bytes.data();
    const auto size = static_cast<sqlite3_uint64>(Bytes.size());
    if (AsText)
        sqlite3_result_text64(Context, data, size, SQLITE_TRANSIENT, SQLITE_UTF8);
    else
        sqlite3_result_blob64(Context, data, size, SQLITE_TRANSIENT);
}

} // namespace zorp::sql
