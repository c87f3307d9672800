#include "dbcontrols/DBAlignment.h"

#include "framework/controls/SysLocale.h"

namespace zorp::fw {

bool DBUseRightToLeftAlignment(const TControl& Control, const TField* Field) {
    const TAlignment alignment = Field != nullptr ? Field->Alignment() : taLeftJustify;
    // Mirroring swaps left and right justification and leaves centring as it is.
    return SysLocale().MiddleEast && Control.BiDiMode() == bdRightToLeft && alignment != taCenter;
}

} // namespace zorp::fw
