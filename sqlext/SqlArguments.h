// The arguments of the SQL functions as the library takes them, and the
// library's errors as SQL errors.
#pragma once

#include "common/ZorpTypes.h"
#include "sqlext/LimitedBuffer.h"
#include "sqlext/SqliteApi.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string_view>

namespace zorp::sql {

// An argument a function cannot take; the message is the SQL error.
class EArgument : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Whether any of the Count arguments is NULL: then the result is NULL.
bool AnyNull(int Count, sqlite3_value** Args);

// The bytes of a value: a TEXT value's UTF-8 bytes, a BLOB's bytes, a
// number's text. They stay SQLite's, valid while the function runs and the
// value is not read another way.
std::string_view ValueBytes(sqlite3_value* Value);

// A key argument: an INTEGER from -2147483648 to 4294967295, taken as its
// 32 bits (0 is no key), as the zorp tool's -k takes keys.
int32_t KeyArgument(sqlite3_value* Value);

// A method argument: its short name, "none", "rle", "lzh" or "lh5", in any
// case.
TZorpMethod MethodArgument(sqlite3_value* Value);

// The length limit of the connection the function runs on.
int64_t LengthLimit(sqlite3_context* Context);

// Sets Bytes as the function's result, a BLOB or UTF-8 TEXT; SQLite copies
// them.
void ResultBytes(sqlite3_context* Context, std::string_view Bytes, bool AsText);

// Runs Body, which sets the function's result; whatever it raises becomes
// the function's error: SQLite's "too big" for a value past the length
// limit, "out of memory" for a failed allocation, otherwise the message of
// the exception, the library's own for data it cannot expand.
template <class TBody> void Guarded(sqlite3_context* Context, TBody&& Body) noexcept {
    try {
        Body();
    } catch (const ETooBig&) {
        sqlite3_result_error_toobig(Context);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(Context);
    } catch (const std::exception& e) {
        sqlite3_result_error(Context, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(Context, "unknown error", -1);
    }
}

} // namespace zorp::sql
