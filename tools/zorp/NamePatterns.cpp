#include "tools/zorp/NamePatterns.h"

#include <cstdint>
#include <cstdio>
#include <fnmatch.h>
#include <vector>

namespace zorp::tool {

namespace {

// Where each component of Path starts, and one past its end.
std::vector<size_t> Boundaries(const std::string& Path) {
    std::vector<size_t> at{0};
    for (size_t i = 0; i < Path.size(); ++i)
        if (Path[i] == '/')
            at.push_back(i + 1);
    at.push_back(Path.size() + 1);
    return at;
}

bool Matches(const std::string& Pattern, const std::string& Text, int Flags) {
    return fnmatch(Pattern.c_str(), Text.c_str(), Flags) == 0;
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool ValidUtf8(const std::string& Text) {
    size_t i = 0;
    while (i < Text.size()) {
        const auto b = static_cast<unsigned char>(Text[i]);
        size_t length = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (b < 0x80) {
            length = 1;
            code = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            code = b & 0x1F;
            least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            code = b & 0x0F;
            least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            code = b & 0x07;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + length > Text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(Text[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            code = code << 6 | (c & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace

bool MatchesExclude(const std::string& Path, const std::string& Pattern) {
    const std::vector<size_t> at = Boundaries(Path);
    for (size_t first = 0; first + 1 < at.size(); ++first)
        for (size_t last = first + 1; last < at.size(); ++last)
            if (Matches(Pattern, Path.substr(at[first], at[last] - 1 - at[first]), 0))
                return true;
    return false;
}

bool MatchesEntry(const std::string& Name, const std::string& Pattern, bool IgnoreCase) {
    const int flags = IgnoreCase ? FNM_CASEFOLD : 0;
    const std::vector<size_t> at = Boundaries(Name);
    for (size_t last = 1; last < at.size(); ++last)
        if (Matches(Pattern, Name.substr(0, at[last] - 1), flags))
            return true;
    return false;
}

std::string Printable(const std::string& Text) {
    std::string out;
    for (const char c : Text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", b);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string JsonString(const std::string& Text) {
    const bool utf8 = ValidUtf8(Text);
    std::string out = "\"";
    for (const char c : Text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F || (b > 0x7F && !utf8)) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", b);
            out += code;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace zorp::tool
