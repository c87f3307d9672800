// Puts the compressed data-aware controls on the component palette.
#pragma once

#include "../framework/base/Export.h"

namespace zorp {

/// Registers TCDBImage, TCDBMemo and TCDBRichEdit, in this order, on the
/// palette page "Compress" (TZorp is put there by zorp::Register).
ZORP_API void RegisterDataControls();

} // namespace zorp
