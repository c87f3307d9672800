#pragma once

#include <cstdint>

namespace zorp::fw {

/// How a line of text sits in the width it is given. Controls align their
/// text by it, and data fields carry the alignment their values are shown
/// with.
enum TAlignment : uint8_t {
    taLeftJustify,  ///< Against the left edge.
    taRightJustify, ///< Against the right edge.
    taCenter        ///< Centred in the width.
};

} // namespace zorp::fw
