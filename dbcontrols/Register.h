// Puts the compressed data-aware controls on the component palette.
#pragma once

namespace zorp {

// Registers TCDBImage, TCDBMemo and TCDBRichEdit, in this order, on the
// palette page "Compress" (TZorp is put there by zorp::Register).
void RegisterDataControls();

} // namespace zorp
