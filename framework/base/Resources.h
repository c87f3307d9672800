// Resources carried by modules. A resource is a section of its own in the
// module's ELF file, added after linking (objcopy --add-section) and not
// loaded into memory (no SHF_ALLOC); the section name holds type and name:
//
//   .zorp.res/<type>/<name>
//
// Letters, digits, "_", "-" and "." stand for themselves; every other byte
// is written as "%XX" (two upper-case hexadecimal digits), so any name is
// a valid section name and never carries characters that objcopy reads as
// patterns or separators. Types and names are compared case-insensitively
// (ASCII), as resource names always were.
#pragma once

#include "Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp::fw {

/// The start of every resource section's name.
inline constexpr const char* ResourceSectionPrefix = ".zorp.res/";

/// The section name of a resource; raises Exception for an empty type or name.
ZORP_API std::string ResourceSectionName(const std::string& Type, const std::string& Name);
/// Splits and decodes a section name; false when it names no resource.
ZORP_API bool ParseResourceSectionName(const std::string& SectionName, std::string& Type,
                                       std::string& Name);

/// One resource found in a module file.
struct ZORP_API TResourceEntry {
    std::string Type;        ///< The resource's type, decoded
    std::string Name;        ///< The resource's name, decoded
    std::string SectionName; ///< The section that holds it, as stored
    uint64_t Offset = 0;     ///< Where the resource's bytes lie in the module file
    uint64_t Size = 0;       ///< Bytes of the resource
};

/// The resources of Type (every type when Type is empty) in a module file,
/// in the order of its sections. Raises EModuleError for a damaged file.
ZORP_API std::vector<TResourceEntry> EnumResources(const std::string& ModuleFileName,
                                                   const std::string& Type);

/// The bytes of a resource (the first of that type and name). Raises
/// EResNotFound when the module has none, EModuleError for a damaged file or
/// a resource of 2 GiB or more.
ZORP_API std::string LoadResourceData(const std::string& ModuleFileName, const std::string& Name,
                                      const std::string& Type);

} // namespace zorp::fw
