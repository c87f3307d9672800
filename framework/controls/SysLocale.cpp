#include "framework/controls/SysLocale.h"

namespace zorp::fw {

TSysLocale& SysLocale() {
    static TSysLocale locale;
    return locale;
}

} // namespace zorp::fw
