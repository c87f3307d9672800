// Compressed data as stored (in a file, a resource or a column): what the
// stream header in front of them tells, and which errors mean that they
// cannot be expanded.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace zorp::tool {

struct StoredInfo {
    bool HasHeader = false;   // false: the data stand as they are (stored, unlocked)
    int64_t ExpandedSize = 0; // what expanding them gives, in bytes
    std::string Method;       // "none", "rle", "lzh", "lh5", "custom", or "archive"
    bool Locked = false;      // expanding them needs the key they were written with
};

// Reads the header as expansion does: data that do not begin with the header
// magic, or have no byte behind the header, stand as they are. Prefix holds
// the first bytes of the data (a header's worth, or all of shorter data);
// StoredSize is the size of all of them.
StoredInfo ReadStoredInfo(std::string_view Prefix, int64_t StoredSize);

// Whether E says that stored data cannot be expanded (damaged, locked with
// another key, of an unknown method, an archive), as opposed to a failure to
// write the expansion.
bool IsDecodeError(const std::exception& E);

} // namespace zorp::tool
