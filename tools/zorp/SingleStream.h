// The single compressed stream as zorp compress writes it and zorp expand
// reads it. It is what TZorp::Compress writes, except that data stored as
// they are keep a header too (method "NON"): the library leaves it out when
// no key is set, and then nothing would tell such a file from any other.
// TZorp::Expand reads both forms.
#pragma once

#include "component/Zorp.h"

namespace zorp::tool {

// Compresses Source, from its position to its end, into Dest with Zorp's
// key and progress handler. With Headerless, exactly what TZorp::Compress
// writes; otherwise an empty source gives an empty stream, and any other
// source a stream with a header.
void CompressStream(TZorp& Zorp, fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method,
                    bool Headerless);

// True when Source, from its position, holds a whole stream header; its
// position is kept.
bool BeginsWithHeader(fw::TStream& Source);

} // namespace zorp::tool
