// The process's locale facts the controls consult. FarEast is set for
// locales with double-byte character input (edit controls then stay
// writable for input methods); MiddleEast for right-to-left locales, where
// controls with a right-to-left BiDiMode align to the right. Both start
// false; programs and tests set them.
#pragma once

#include "../base/Export.h"

namespace zorp::fw {

struct ZORP_API TSysLocale {
    bool FarEast = false;
    bool MiddleEast = false;
};

ZORP_API TSysLocale& SysLocale();

} // namespace zorp::fw
