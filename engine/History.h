// The history of recent bytes that both LZ codecs keep: matches refer back
// into it, and before the first byte it holds the fill the formats start from.
#pragma once

#include <cstdint>

namespace zorp {

// The byte both formats' history holds before any data: a space.
inline constexpr uint8_t HistoryFill = 0x20;

} // namespace zorp
