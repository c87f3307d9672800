// Right-to-left alignment of data-aware controls. A control aligns its text
// from the right when the locale reads right to left and its BiDiMode says
// so, as every control does; a data-aware control also asks its field: a
// value the field centres stays centred, so only left- or right-justified
// values change sides. It sits here because it needs both the controls and
// the fields.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/Control.h"
#include "../framework/db/Field.h"

namespace zorp::fw {

// True in a Middle East locale for a control with a right-to-left BiDiMode,
// unless the field (left-justified when there is none) centres its values.
ZORP_API bool DBUseRightToLeftAlignment(const TControl& Control, const TField* Field);

} // namespace zorp::fw
