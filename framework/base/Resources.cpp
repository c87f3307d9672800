#include "framework/base/Resources.h"

#include "framework/base/ElfSections.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/TextUtils.h"

#include <cstring>
#include <limits>

namespace zorp::fw {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

bool StandsForItself(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

std::string Encode(const std::string& Text) {
    std::string out;
    out.reserve(Text.size());
    for (const char ch : Text) {
        const auto c = static_cast<unsigned char>(ch);
        if (StandsForItself(c)) {
            out += ch;
        } else {
            out += '%';
            out += HexDigits[c >> 4];
            out += HexDigits[c & 15];
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// False for a malformed escape or an empty result.
bool Decode(const std::string& Text, std::string& Out) {
    Out.clear();
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '%') {
            Out += Text[i];
            continue;
        }
        if (i + 2 >= Text.size())
            return false;
        const int high = HexValue(Text[i + 1]);
        const int low = HexValue(Text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        Out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return !Out.empty();
}

} // namespace

std::string ResourceSectionName(const std::string& Type, const std::string& Name) {
    if (Type.empty() || Name.empty())
        throw Exception("A resource needs a type and a name");
    return ResourceSectionPrefix + Encode(Type) + "/" + Encode(Name);
}

bool ParseResourceSectionName(const std::string& SectionName, std::string& Type,
                              std::string& Name) {
    const size_t prefix = std::strlen(ResourceSectionPrefix);
    if (SectionName.compare(0, prefix, ResourceSectionPrefix) != 0)
        return false;
    const size_t slash = SectionName.find('/', prefix);
    if (slash == std::string::npos)
        return false;
    return Decode(SectionName.substr(prefix, slash - prefix), Type) &&
           Decode(SectionName.substr(slash + 1), Name);
}

std::vector<TResourceEntry> EnumResources(const std::string& ModuleFileName,
                                          const std::string& Type) {
    TFileStream file(ModuleFileName, fmOpenRead | fmShareDenyNone);
    const TElfSections elf(file, ModuleFileName);
    std::vector<TResourceEntry> found;
    for (const TElfSection& section : elf.Sections()) {
        TResourceEntry entry;
        if (!ParseResourceSectionName(section.Name, entry.Type, entry.Name))
            continue;
        if (!Type.empty() && !SameText(entry.Type, Type))
            continue;
        entry.SectionName = section.Name;
        entry.Offset = section.Offset;
        entry.Size = section.Size;
        found.push_back(std::move(entry));
    }
    return found;
}

std::string LoadResourceData(const std::string& ModuleFileName, const std::string& Name,
                             const std::string& Type) {
    TFileStream file(ModuleFileName, fmOpenRead | fmShareDenyNone);
    TElfSections elf(file, ModuleFileName);
    for (const TElfSection& section : elf.Sections()) {
        std::string type;
        std::string name;
        if (!ParseResourceSectionName(section.Name, type, name) || !SameText(type, Type) ||
            !SameText(name, Name))
            continue;
        if (section.Size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
            throw EModuleError("Resource " + Name + " in \"" + ModuleFileName +
                               "\" is too large (2 GiB or more)");
        return elf.Contents(section);
    }
    throw EResNotFound("Resource " + Name + " not found");
}

} // namespace zorp::fw
