#include "tools/zorp/KeyOption.h"

#include "common/MethodNames.h"

#include <charconv>
#include <optional>
#include <stdexcept>

namespace zorp::tool {

int32_t ParseKey(const std::string& Text) {
    const char* first = Text.data();
    const char* last = Text.data() + Text.size();
    int base = 10;
    bool negative = false;
    if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
        base = 16;
        first += 2;
    } else if (!Text.empty() && Text[0] == '-') {
        negative = true;
        ++first;
    }
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, base);
    const uint64_t limit = negative ? 0x80000000u : 0xFFFFFFFFu;
    if (first == last || end != last || error != std::errc() || value > limit)
        throw std::invalid_argument("invalid key \"" + Text +
                                    "\": give a 32-bit number in decimal or 0x hexadecimal");
    const auto bits = static_cast<uint32_t>(negative ? (~value + 1) : value);
    return static_cast<int32_t>(bits);
}

TZorpMethod ParseMethod(const std::string& Text) {
    if (const std::optional<TZorpMethod> method = MethodFromShortName(Text))
        return *method;
    throw std::invalid_argument("unknown method \"" + Text + "\": use none, rle, lzh or lh5");
}

} // namespace zorp::tool
