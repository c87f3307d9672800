// Right-to-left alignment of data-aware controls; it sits here because it
// needs both the controls and the fields.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/Control.h"
#include "../framework/db/Field.h"

namespace zorp::fw {

/// Whether a data-aware control aligns its text from the right: true in a Middle East locale
/// for a control with a right-to-left BiDiMode, as for every control, unless the field
/// (left-justified when there is none) centres its values. A centred value stays centred, so
/// only left- or right-justified values change sides.
ZORP_API bool DBUseRightToLeftAlignment(const TControl& Control, const TField* Field);

} // namespace zorp::fw
