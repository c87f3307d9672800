#include "framework/base/ElfSections.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <elf.h>
#include <utility>

namespace zorp::fw {

namespace {

constexpr unsigned char NativeData =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

// Largest piece moved by one ReadBuffer call.
constexpr uint64_t ReadChunk = uint64_t{1} << 30;

struct Extent {
    uint64_t Begin;
    uint64_t End;
};

} // namespace

TElfSections::TElfSections(TStream& Stream, std::string FileName)
    : FStream(Stream), FFileName(std::move(FileName)) {
    const int64_t size = FStream.Size();
    if (size < EI_NIDENT)
        Fail("too short for an ELF file");
    FFileSize = static_cast<uint64_t>(size);
    const std::string ident = ReadAt(0, EI_NIDENT, "identification");
    if (std::memcmp(ident.data(), ELFMAG, SELFMAG) != 0)
        Fail("not an ELF file");
    const auto data = static_cast<unsigned char>(ident[EI_DATA]);
    if (data != ELFDATA2LSB && data != ELFDATA2MSB)
        Fail("unknown ELF data encoding");
    if (data != NativeData)
        Fail(data == ELFDATA2LSB ? "little-endian files are not supported on this machine"
                                 : "big-endian files are not supported on this machine");
    if (static_cast<unsigned char>(ident[EI_VERSION]) != EV_CURRENT)
        Fail("unknown ELF version");
    switch (static_cast<unsigned char>(ident[EI_CLASS])) {
    case ELFCLASS64:
        ReadTable<Elf64_Ehdr, Elf64_Shdr>();
        break;
    case ELFCLASS32:
        ReadTable<Elf32_Ehdr, Elf32_Shdr>();
        break;
    default:
        Fail("unknown ELF class");
    }
}

template <class Ehdr, class Shdr> void TElfSections::ReadTable() {
    Ehdr header;
    const std::string headerBytes = ReadAt(0, sizeof header, "ELF header");
    std::memcpy(&header, headerBytes.data(), sizeof header);
    if (header.e_shoff == 0) {
        if (header.e_shnum != 0)
            Fail("section count without a section table");
        return; // no section table: no sections
    }
    const uint64_t tableOffset = header.e_shoff;
    const uint64_t entrySize = header.e_shentsize;
    if (entrySize < sizeof(Shdr))
        Fail("section header entries are too small");
    if (tableOffset > FFileSize || FFileSize - tableOffset < entrySize)
        Fail("section table lies outside the file");

    // Section 0 carries the true count and name table index when they do
    // not fit the ELF header's 16-bit fields.
    Shdr first;
    const std::string firstBytes = ReadAt(tableOffset, sizeof first, "section table");
    std::memcpy(&first, firstBytes.data(), sizeof first);
    uint64_t count = header.e_shnum;
    if (count == 0)
        count = first.sh_size;
    if (count == 0)
        return;
    if (count > (FFileSize - tableOffset) / entrySize)
        Fail("section table lies outside the file");
    uint64_t namesIndex = header.e_shstrndx;
    if (namesIndex == SHN_XINDEX)
        namesIndex = first.sh_link;

    const std::string table = ReadAt(tableOffset, count * entrySize, "section table");
    std::vector<Shdr> headers(count);
    for (uint64_t i = 0; i < count; ++i)
        std::memcpy(&headers[i], table.data() + i * entrySize, sizeof(Shdr));

    FSections.resize(count);
    for (uint64_t i = 0; i < count; ++i) {
        const Shdr& h = headers[i];
        TElfSection& s = FSections[i];
        s.Type = h.sh_type;
        s.Flags = h.sh_flags;
        s.Offset = h.sh_offset;
        // The null section 0 has no contents; its size field may hold the
        // section count.
        s.Size = i == 0 || h.sh_type == SHT_NOBITS ? 0 : h.sh_size;
        if (s.Size != 0 && (s.Offset > FFileSize || s.Size > FFileSize - s.Offset))
            Fail("section " + std::to_string(i) + " lies outside the file");
    }

    if (namesIndex != SHN_UNDEF) {
        if (namesIndex >= count)
            Fail("section name table index out of range");
        const TElfSection& nameTable = FSections[namesIndex];
        if (nameTable.Type != SHT_STRTAB)
            Fail("section name table is not a string table");
        const std::string names = ReadAt(nameTable.Offset, nameTable.Size, "section name table");
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t at = headers[i].sh_name;
            if (at >= names.size())
                Fail("name of section " + std::to_string(i) + " lies outside the name table");
            const size_t end = names.find('\0', at);
            if (end == std::string::npos)
                Fail("name of section " + std::to_string(i) + " is not terminated");
            FSections[i].Name = names.substr(at, end - at);
        }
    }
    CheckLayout(sizeof(Ehdr), tableOffset, count * entrySize);
}

void TElfSections::CheckLayout(uint64_t HeaderSize, uint64_t TableOffset, uint64_t TableSize) {
    std::vector<Extent> extents;
    extents.reserve(FSections.size() + 2);
    extents.push_back({0, HeaderSize});
    extents.push_back({TableOffset, TableOffset + TableSize});
    for (const TElfSection& s : FSections)
        if (s.Size != 0)
            extents.push_back({s.Offset, s.Offset + s.Size});
    std::sort(extents.begin(), extents.end(),
              [](const Extent& a, const Extent& b) { return a.Begin < b.Begin; });
    for (size_t i = 1; i < extents.size(); ++i)
        if (extents[i].Begin < extents[i - 1].End)
            Fail("sections overlap");
}

std::string TElfSections::Contents(const TElfSection& Section) {
    return ReadAt(Section.Offset, Section.Size, "section");
}

std::string TElfSections::ReadAt(uint64_t Offset, uint64_t Count, const char* What) {
    if (Offset > FFileSize || Count > FFileSize - Offset)
        Fail(std::string(What) + " lies outside the file");
    std::string bytes(Count, '\0');
    FStream.SetPosition(static_cast<int64_t>(Offset));
    for (uint64_t done = 0; done < Count;) {
        const uint64_t n = std::min(Count - done, ReadChunk);
        FStream.ReadBuffer(bytes.data() + done, static_cast<int32_t>(n));
        done += n;
    }
    return bytes;
}

void TElfSections::Fail(const std::string& Why) const {
    throw EInvalidModuleFile(FFileName, Why);
}

} // namespace zorp::fw
