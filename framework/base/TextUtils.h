// Text functions over 8-bit strings. Case folding is ASCII only: bytes
// outside A-Z / a-z are left as they are.
#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

/// Compares with A-Z and a-z folded together: < 0, 0 or > 0.
ZORP_API int CompareText(const std::string& S1, const std::string& S2);
/// Whether S1 and S2 are equal with A-Z and a-z folded together.
ZORP_API bool SameText(const std::string& S1, const std::string& S2);
/// Returns S with A-Z made lower case (the same as LowerCase).
ZORP_API std::string AnsiLowerCase(const std::string& S);
/// Returns S with a-z made upper case (the same as UpperCase).
ZORP_API std::string AnsiUpperCase(const std::string& S);
/// Returns S with a-z made upper case.
ZORP_API std::string UpperCase(const std::string& S);
/// Returns S with A-Z made lower case.
ZORP_API std::string LowerCase(const std::string& S);
/// Line breaks (CR, LF or CR LF) made CR LF.
ZORP_API std::string AdjustLineBreaks(const std::string& S);

} // namespace zorp::fw
