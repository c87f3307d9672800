// The ELF section table reader: well-formed files of both classes, and
// damaged or hostile ones, which must raise EModuleError without reading
// outside the file.
#include "framework/base/ElfSections.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"

#include <cstring>
#include <elf.h>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace zorp::test {
namespace {

using fw::EModuleError;
using fw::TElfSection;
using fw::TElfSections;
using fw::TMemoryStream;

struct Elf64 {
    using Ehdr = Elf64_Ehdr;
    using Shdr = Elf64_Shdr;
    static constexpr unsigned char Class = ELFCLASS64;
};
struct Elf32 {
    using Ehdr = Elf32_Ehdr;
    using Shdr = Elf32_Shdr;
    static constexpr unsigned char Class = ELFCLASS32;
};

struct Part {
    std::string Name;
    uint32_t Type;
    std::string Data;
};

template <class T> T Get(const std::string& Image, size_t At) {
    T value;
    std::memcpy(&value, Image.data() + At, sizeof value);
    return value;
}
template <class T> void Put(std::string& Image, size_t At, const T& Value) {
    std::memcpy(Image.data() + At, &Value, sizeof Value);
}

// An ELF image: header, the parts' contents, the name table, then the
// section table (the null section, the parts, the name table).
template <class E> std::string BuildImage(const std::vector<Part>& Parts) {
    using Ehdr = typename E::Ehdr;
    using Shdr = typename E::Shdr;
    std::string image(sizeof(Ehdr), '\0');
    std::string names(1, '\0');
    std::vector<Shdr> table(1, Shdr{});
    auto addSection = [&](const std::string& name, uint32_t type, const std::string& data) {
        Shdr s{};
        s.sh_name = static_cast<decltype(s.sh_name)>(names.size());
        names += name + '\0';
        s.sh_type = type;
        s.sh_offset = image.size();
        s.sh_size = data.size();
        image += data;
        table.push_back(s);
    };
    for (const Part& p : Parts)
        addSection(p.Name, p.Type, p.Data);
    Shdr strtab{};
    strtab.sh_name = static_cast<decltype(strtab.sh_name)>(names.size());
    names += std::string(".shstrtab") + '\0';
    strtab.sh_type = SHT_STRTAB;
    strtab.sh_offset = image.size();
    strtab.sh_size = names.size();
    image += names;
    table.push_back(strtab);
    image.resize((image.size() + 7) & ~size_t{7}, '\0');

    Ehdr header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = E::Class;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_DYN;
    header.e_version = EV_CURRENT;
    header.e_ehsize = sizeof(Ehdr);
    header.e_shoff = image.size();
    header.e_shentsize = sizeof(Shdr);
    header.e_shnum = static_cast<uint16_t>(table.size());
    header.e_shstrndx = static_cast<uint16_t>(table.size() - 1);
    for (const Shdr& s : table)
        image.append(reinterpret_cast<const char*>(&s), sizeof s);
    Put(image, 0, header);
    return image;
}

std::vector<TElfSection> Parse(const std::string& Image) {
    TMemoryStream stream;
    stream.WriteBuffer(Image.data(), static_cast<int32_t>(Image.size()));
    TElfSections elf(stream, "test.so");
    return elf.Sections();
}

std::string ContentsOf(const std::string& Image, size_t Index) {
    TMemoryStream stream;
    stream.WriteBuffer(Image.data(), static_cast<int32_t>(Image.size()));
    TElfSections elf(stream, "test.so");
    return elf.Contents(elf.Sections().at(Index));
}

const std::vector<Part> SampleParts = {
    {".text", SHT_PROGBITS, std::string(100, '\x90')},
    {".bss", SHT_NOBITS, ""},
    {".zorp.res/TZORP/ONE", SHT_PROGBITS, "first resource"},
    {".zorp.res/TZORP/EMPTY", SHT_PROGBITS, ""},
};

template <class E> class ElfSectionsTest : public testing::Test {
protected:
    using Ehdr = typename E::Ehdr;
    using Shdr = typename E::Shdr;
    std::string Image = BuildImage<E>(SampleParts);

    Ehdr Header() const { return Get<Ehdr>(Image, 0); }
    void SetHeader(const Ehdr& H) { Put(Image, 0, H); }
    size_t ShdrAt(size_t Index) const { return Header().e_shoff + Index * sizeof(Shdr); }
    Shdr Section(size_t Index) const { return Get<Shdr>(Image, ShdrAt(Index)); }
    void SetSection(size_t Index, const Shdr& S) { Put(Image, ShdrAt(Index), S); }

    void ExpectRefused(const char* Why) {
        try {
            Parse(Image);
            ADD_FAILURE() << "accepted: " << Why;
        } catch (const EModuleError& e) {
            EXPECT_NE(std::string(e.what()).find("test.so"), std::string::npos) << e.what();
        }
    }
};

using Classes = testing::Types<Elf64, Elf32>;
TYPED_TEST_SUITE(ElfSectionsTest, Classes);

TYPED_TEST(ElfSectionsTest, ReadsNamesTypesAndContents) {
    const std::vector<TElfSection> sections = Parse(this->Image);
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_EQ(sections[0].Name, "");
    EXPECT_EQ(sections[1].Name, ".text");
    EXPECT_EQ(sections[1].Size, 100u);
    EXPECT_EQ(sections[2].Type, static_cast<uint32_t>(SHT_NOBITS));
    EXPECT_EQ(sections[3].Name, ".zorp.res/TZORP/ONE");
    EXPECT_EQ(sections[4].Size, 0u);
    EXPECT_EQ(sections[5].Name, ".shstrtab");
    EXPECT_EQ(ContentsOf(this->Image, 3), "first resource");
    EXPECT_EQ(ContentsOf(this->Image, 4), "");
}

TYPED_TEST(ElfSectionsTest, NoBitsSectionsMayClaimAnySize) {
    auto bss = this->Section(2);
    bss.sh_size = static_cast<decltype(bss.sh_size)>(~uint64_t{0});
    bss.sh_offset = static_cast<decltype(bss.sh_offset)>(~uint64_t{0});
    this->SetSection(2, bss);
    EXPECT_EQ(Parse(this->Image).at(2).Size, 0u);
}

TYPED_TEST(ElfSectionsTest, ExtendedSectionCountAndNameIndex) {
    auto h = this->Header();
    auto zero = this->Section(0);
    zero.sh_size = h.e_shnum;
    zero.sh_link = h.e_shstrndx;
    this->SetSection(0, zero);
    h.e_shnum = 0;
    h.e_shstrndx = SHN_XINDEX;
    this->SetHeader(h);
    const std::vector<TElfSection> sections = Parse(this->Image);
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_EQ(sections[0].Size, 0u); // the count is not contents
    EXPECT_EQ(sections[3].Name, ".zorp.res/TZORP/ONE");
}

TYPED_TEST(ElfSectionsTest, WithoutSectionTableThereAreNoSections) {
    auto h = this->Header();
    h.e_shoff = 0;
    h.e_shnum = 0;
    this->SetHeader(h);
    EXPECT_TRUE(Parse(this->Image).empty());
}

TYPED_TEST(ElfSectionsTest, EveryTruncationIsRefused) {
    const std::string whole = this->Image;
    for (size_t size = 0; size < whole.size(); ++size) {
        this->Image = whole.substr(0, size);
        this->ExpectRefused("truncated");
    }
}

TYPED_TEST(ElfSectionsTest, ForeignFilesAreRefused) {
    this->Image[EI_DATA] = ELFDATA2MSB;
    try {
        Parse(this->Image);
        ADD_FAILURE() << "big-endian accepted";
    } catch (const EModuleError& e) {
        EXPECT_NE(std::string(e.what()).find("big-endian"), std::string::npos) << e.what();
    }
    this->Image[EI_DATA] = 7;
    this->ExpectRefused("unknown data encoding");
    this->Image[EI_DATA] = ELFDATA2LSB;
    this->Image[EI_CLASS] = 3;
    this->ExpectRefused("unknown class");
    this->Image[EI_CLASS] = TypeParam::Class;
    this->Image[1] = 'X';
    this->ExpectRefused("not ELF");
}

TYPED_TEST(ElfSectionsTest, SectionTableOutsideTheFileIsRefused) {
    const auto good = this->Header();
    const uint64_t size = this->Image.size();
    for (const uint64_t offset : {size, size - 8, uint64_t{0xFFFFFFF0}, ~uint64_t{0} - 7}) {
        auto h = good;
        h.e_shoff = static_cast<decltype(h.e_shoff)>(offset);
        this->SetHeader(h);
        this->ExpectRefused("table offset");
    }
    auto h = good;
    h.e_shnum = 0xFFFE;
    this->SetHeader(h);
    this->ExpectRefused("count too large");
    h = good;
    h.e_shentsize = sizeof(typename TypeParam::Shdr) - 1;
    this->SetHeader(h);
    this->ExpectRefused("entries too small");
    h = good;
    h.e_shentsize = 0xFFFF;
    this->SetHeader(h);
    this->ExpectRefused("entries too large");
    h = good;
    h.e_shnum = 0; // extended count in section 0, which is huge
    this->SetHeader(h);
    auto zero = this->Section(0);
    zero.sh_size = static_cast<decltype(zero.sh_size)>(~uint64_t{0});
    this->SetSection(0, zero);
    this->ExpectRefused("extended count too large");
}

TYPED_TEST(ElfSectionsTest, BadNameTableIndexesAreRefused) {
    const auto good = this->Header();
    for (const uint16_t index : {uint16_t{6}, uint16_t{0xFEFF}, uint16_t{3}}) {
        auto h = good;
        h.e_shstrndx = index; // past the table, or a section that holds no names
        this->SetHeader(h);
        this->ExpectRefused("name table index");
    }
    auto h = good;
    h.e_shstrndx = SHN_XINDEX; // section 0's link, which is 0 here: no names at all
    this->SetHeader(h);
    for (const TElfSection& s : Parse(this->Image))
        EXPECT_EQ(s.Name, "");
    auto zero = this->Section(0);
    zero.sh_link = 77;
    this->SetSection(0, zero);
    this->ExpectRefused("extended name table index");
}

TYPED_TEST(ElfSectionsTest, BadNamesAreRefused) {
    auto s = this->Section(3);
    const auto strtab = this->Section(5);
    s.sh_name = static_cast<decltype(s.sh_name)>(strtab.sh_size);
    this->SetSection(3, s);
    this->ExpectRefused("name past the table");
    s.sh_name = 0xFFFFFFFF;
    this->SetSection(3, s);
    this->ExpectRefused("name far past the table");

    // The last name loses its terminator.
    this->Image = BuildImage<TypeParam>(SampleParts);
    const auto table = this->Section(5);
    this->Image[table.sh_offset + table.sh_size - 1] = 'x';
    this->ExpectRefused("unterminated name");
}

TYPED_TEST(ElfSectionsTest, ContentsOutsideTheFileAreRefused) {
    const auto good = this->Section(3);
    const uint64_t size = this->Image.size();
    const std::pair<uint64_t, uint64_t> cases[] = {
        {size, 1},                // starts at the end
        {size - 4, 5},            // runs past the end
        {16, ~uint64_t{0} - 8},   // wraps around
        {~uint64_t{0} - 2, 10},   // offset wraps
        {0xFFFFFFFF, 0xFFFFFFFF}, // huge
    };
    for (const auto& [offset, length] : cases) {
        auto s = good;
        s.sh_offset = static_cast<decltype(s.sh_offset)>(offset);
        s.sh_size = static_cast<decltype(s.sh_size)>(length);
        this->SetSection(3, s);
        this->ExpectRefused("contents outside");
    }
    auto strtab = this->Section(5);
    strtab.sh_size = static_cast<decltype(strtab.sh_size)>(size);
    this->SetSection(5, strtab);
    this->ExpectRefused("name table outside");
}

TYPED_TEST(ElfSectionsTest, OverlapsAreRefused) {
    const auto text = this->Section(1);
    auto s = this->Section(3);
    s.sh_offset = text.sh_offset + 50; // inside .text
    this->SetSection(3, s);
    this->ExpectRefused("overlapping sections");

    s.sh_offset = 0; // over the ELF header
    this->SetSection(3, s);
    this->ExpectRefused("overlapping the header");

    s.sh_offset = this->Header().e_shoff; // over the section table
    this->SetSection(3, s);
    this->ExpectRefused("overlapping the section table");

    // Empty sections take no room, wherever they claim to be.
    s = this->Section(3);
    s.sh_offset = text.sh_offset + 50;
    s.sh_size = 0;
    this->SetSection(3, s);
    EXPECT_EQ(Parse(this->Image).size(), 6u);
}

// Random damage to the header and the section table: whatever comes out,
// it is a result or EModuleError, never a read outside the image (the
// sanitizers watch) nor another exception.
TYPED_TEST(ElfSectionsTest, RandomDamageIsContained) {
    const std::string whole = this->Image;
    const size_t table = this->Header().e_shoff;
    std::mt19937 random(12345);
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        this->Image = whole;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            size_t at = random() % 2 == 0 ? random() % sizeof(typename TypeParam::Ehdr)
                                          : table + random() % (whole.size() - table);
            this->Image[at] = static_cast<char>(random());
        }
        try {
            TMemoryStream stream;
            stream.WriteBuffer(this->Image.data(), static_cast<int32_t>(this->Image.size()));
            TElfSections elf(stream, "test.so");
            for (const TElfSection& s : elf.Sections())
                EXPECT_LE(elf.Contents(s).size(), this->Image.size());
        } catch (const EModuleError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace zorp::test
