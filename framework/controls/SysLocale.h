// The process's locale facts the controls consult.
#pragma once

#include "../base/Export.h"

namespace zorp::fw {

/// The process's locale facts the controls consult. Both start false;
/// programs and tests set them.
struct ZORP_API TSysLocale {
    /// Set for locales with double-byte character input (edit controls then
    /// stay writable for input methods).
    bool FarEast = false;
    /// Set for right-to-left locales, where controls with a right-to-left
    /// BiDiMode align to the right.
    bool MiddleEast = false;
};

/// The process-wide locale facts, one writable instance.
ZORP_API TSysLocale& SysLocale();

} // namespace zorp::fw
