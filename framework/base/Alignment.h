// How a line of text sits in the width it is given. Controls align their
// text by it, and data fields carry the alignment their values are shown
// with.
#pragma once

#include <cstdint>

namespace zorp::fw {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

} // namespace zorp::fw
