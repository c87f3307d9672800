// The short names of the compression methods, as the zorp tool's -m option
// and the SQL functions take them and as they report a stored value's method.
#pragma once

#include "../framework/base/TextUtils.h"
#include "ZorpTypes.h"

#include <optional>
#include <string>

namespace zorp {

/// The short name of each method by TZorpMethod ordinal: "none", "rle", "lzh", "custom" and
/// "lh5".
inline constexpr const char* MethodShortNames[5] = {"none", "rle", "lzh", "custom", "lh5"};

/// The built-in method whose short name is Name, in any case ("LH5" too); nothing for any
/// other name, "custom" included, since the application's own method is not chosen by name.
inline std::optional<TZorpMethod> MethodFromShortName(const std::string& Name) {
    for (const TZorpMethod method : {coNone, coRLE, coLZH, coLZH5})
        if (fw::SameText(Name, MethodShortNames[method]))
            return method;
    return std::nullopt;
}

} // namespace zorp
