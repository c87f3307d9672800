// Resources of modules: section names, lookup in module files, the
// read-only TResourceStream, module files of handles and addresses, and
// the resources of this test program itself.
#include "framework/base/ResourceStream.h"
#include "framework/base/Exceptions.h"
#include "framework/base/Modules.h"
#include "framework/base/Resources.h"
#include "framework/base/TextUtils.h"
#include "support/TestFiles.h"

#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

using namespace zorp::fw;

TEST(ResourceSectionNames, EncodeAndDecode) {
    EXPECT_EQ(ResourceSectionName("TZORP", "Text_1.v-2"), ".zorp.res/TZORP/Text_1.v-2");
    EXPECT_EQ(ResourceSectionName("TZORP", "We=ird name%/*"),
              ".zorp.res/TZORP/We%3Dird%20name%25%2F%2A");
    const std::string binary("a\0\xff", 3);
    std::string type;
    std::string name;
    ASSERT_TRUE(ParseResourceSectionName(ResourceSectionName("T Y", binary), type, name));
    EXPECT_EQ(type, "T Y");
    EXPECT_EQ(name, binary);
    EXPECT_THROW(ResourceSectionName("TZORP", ""), Exception);
    EXPECT_THROW(ResourceSectionName("", "X"), Exception);
}

TEST(ResourceSectionNames, OtherSectionsAreNoResources) {
    std::string type;
    std::string name;
    for (const char* section :
         {".text", ".zorp.res/", ".zorp.res/TZORP", ".zorp.res/TZORP/", ".zorp.res//X",
          ".zorp.res/TZORP/%4", ".zorp.res/TZORP/%zz", ".zorp.res/TZORP/a%", ".zorp.resX/TZORP/A"})
        EXPECT_FALSE(ParseResourceSectionName(section, type, name)) << section;
    EXPECT_TRUE(ParseResourceSectionName(".zorp.res/TZORP/%4a", type, name));
    EXPECT_EQ(name, "J");
}

// A 64-bit ELF file with the given sections (name, contents).
std::string ElfFile(const std::vector<std::pair<std::string, std::string>>& Parts) {
    std::string image(sizeof(Elf64_Ehdr), '\0');
    std::string names(1, '\0');
    std::vector<Elf64_Shdr> table(1, Elf64_Shdr{});
    for (const auto& [name, data] : Parts) {
        Elf64_Shdr s{};
        s.sh_name = static_cast<uint32_t>(names.size());
        names += name + '\0';
        s.sh_type = SHT_PROGBITS;
        s.sh_offset = image.size();
        s.sh_size = data.size();
        image += data;
        table.push_back(s);
    }
    Elf64_Shdr strtab{};
    strtab.sh_type = SHT_STRTAB;
    strtab.sh_offset = image.size();
    strtab.sh_size = names.size();
    image += names;
    table.push_back(strtab);
    Elf64_Ehdr h{};
    std::memcpy(h.e_ident, ELFMAG, SELFMAG);
    h.e_ident[EI_CLASS] = ELFCLASS64;
    h.e_ident[EI_DATA] = ELFDATA2LSB;
    h.e_ident[EI_VERSION] = EV_CURRENT;
    h.e_shoff = image.size();
    h.e_shentsize = sizeof(Elf64_Shdr);
    h.e_shnum = static_cast<uint16_t>(table.size());
    h.e_shstrndx = static_cast<uint16_t>(table.size() - 1);
    std::memcpy(image.data(), &h, sizeof h);
    for (const Elf64_Shdr& s : table)
        image.append(reinterpret_cast<const char*>(&s), sizeof s);
    return image;
}

class ModuleFile : public testing::Test {
protected:
    void SetUp() override {
        WriteWholeFile(Module, ElfFile({{".text", std::string(64, '\xc3')},
                                        {ResourceSectionName("TZORP", "Alpha"), "alpha bytes"},
                                        {ResourceSectionName("OTHER", "Beta"), "other type"},
                                        {ResourceSectionName("TZORP", "beta"), "beta bytes"},
                                        {ResourceSectionName("TZORP", "Empty"), ""},
                                        {ResourceSectionName("tzorp", "ALPHA"), "second alpha"}}));
    }
    TempDir Dir;
    std::string Module = Dir / "module.so";
};

TEST_F(ModuleFile, EnumResourcesListsOneType) {
    const std::vector<TResourceEntry> all = EnumResources(Module, "");
    EXPECT_EQ(all.size(), 5u);
    const std::vector<TResourceEntry> zorp = EnumResources(Module, "TZORP");
    ASSERT_EQ(zorp.size(), 4u);
    EXPECT_EQ(zorp[0].Name, "Alpha");
    EXPECT_EQ(zorp[0].Size, 11u);
    EXPECT_EQ(zorp[0].SectionName, ".zorp.res/TZORP/Alpha");
    EXPECT_EQ(zorp[1].Name, "beta");
    EXPECT_EQ(zorp[2].Size, 0u);
    EXPECT_EQ(zorp[3].Type, "tzorp");
}

TEST_F(ModuleFile, LookupIgnoresCaseAndTakesTheFirst) {
    EXPECT_EQ(LoadResourceData(Module, "alpha", "TZORP"), "alpha bytes");
    EXPECT_EQ(LoadResourceData(Module, "BETA", "tzorp"), "beta bytes");
    EXPECT_EQ(LoadResourceData(Module, "Beta", "OTHER"), "other type");
    EXPECT_EQ(LoadResourceData(Module, "EMPTY", "TZORP"), "");
    try {
        LoadResourceData(Module, "Gamma", "TZORP");
        FAIL() << "found a missing resource";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource Gamma not found");
    }
    EXPECT_THROW(LoadResourceData(Module, "Beta", "RCDATA"), EResNotFound);
}

TEST_F(ModuleFile, ResourceStreamIsAReadOnlyCopy) {
    TResourceStream stream(Module, "ALPHA", "TZORP");
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Size(), 11);
    WriteWholeFile(Module, "gone"); // the bytes were copied out
    char buffer[32] = {};
    EXPECT_EQ(stream.Read(buffer, 5), 5);
    EXPECT_EQ(std::string(buffer, 5), "alpha");
    EXPECT_EQ(stream.Seek(-5, soEnd), 6);
    EXPECT_EQ(stream.Read(buffer, 32), 5);
    EXPECT_EQ(std::string(buffer, 5), "bytes");
    EXPECT_EQ(stream.Read(buffer, 32), 0);
    EXPECT_THROW(stream.Write("x", 1), EStreamError);
    EXPECT_THROW(stream.SetSize(3), EStreamError);
    EXPECT_THROW(stream.Seek(-1, soBeginning), EStreamError);
    EXPECT_EQ(stream.Size(), 11);
}

TEST_F(ModuleFile, DamagedAndMissingModulesRaise) {
    const std::string whole = ReadWholeFile(Module);
    WriteWholeFile(Module, whole.substr(0, whole.size() - 10));
    EXPECT_THROW(TResourceStream(Module, "Alpha", "TZORP"), EModuleError);
    WriteWholeFile(Module, "not a module at all");
    EXPECT_THROW(EnumResources(Module, "TZORP"), EModuleError);
    EXPECT_THROW(TResourceStream(Dir / "missing.so", "Alpha", "TZORP"), EFOpenError);
}

// This program carries the resource SELF (its own source file, stored).
TEST(OwnResources, MainProgramByHandle) {
    const HMODULE self = dlopen(nullptr, RTLD_NOW);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(GetModuleFileName(self), "/proc/self/exe");
    TResourceStream stream(self, "self", "TZORP");
    EXPECT_THROW(TResourceStream(self, "nothing", "TZORP"), EResNotFound);
    dlclose(self);
    EXPECT_EQ(std::string(stream.Memory(), static_cast<size_t>(stream.Size())),
              ReadWholeFile(ZORP_SELF_RESOURCE));
}

TEST(Modules, FilesOfAddresses) {
    EXPECT_EQ(ModuleFileNameOfAddress(reinterpret_cast<const void*>(&ElfFile)), "/proc/self/exe");
    const std::string rtl = ModuleFileNameOfAddress(reinterpret_cast<const void*>(&SameText));
    EXPECT_NE(rtl.find("libzorprtl"), std::string::npos) << rtl;
    EXPECT_THROW(ModuleFileNameOfAddress(nullptr), EModuleError);
    EXPECT_THROW(GetModuleFileName(nullptr), EModuleError);
}

TEST(Modules, LoadedLibraryIsReleased) {
    const std::string rtl = ModuleFileNameOfAddress(reinterpret_cast<const void*>(&SameText));
    {
        TLoadedLibrary library(rtl);
        ASSERT_NE(library.Handle(), nullptr) << library.Error();
        EXPECT_EQ(GetModuleFileName(library.Handle()), rtl);
    }
    TLoadedLibrary missing("/nonexistent/libnothing.so");
    EXPECT_EQ(missing.Handle(), nullptr);
    EXPECT_NE(missing.Error().find("libnothing"), std::string::npos) << missing.Error();
}

} // namespace
} // namespace zorp::test
