// Parsing of the values of the tool's options.
#pragma once

#include "common/ZorpTypes.h"

#include <cstdint>
#include <string>

namespace zorp::tool {

// A 32-bit key in decimal (-2147483648 to 4294967295) or hexadecimal
// ("0x" and up to eight digits). Raises std::invalid_argument otherwise.
int32_t ParseKey(const std::string& Text);

// "none", "rle", "lzh" or "lh5", in any case ("LH5"). Raises std::invalid_argument otherwise.
TZorpMethod ParseMethod(const std::string& Text);

} // namespace zorp::tool
