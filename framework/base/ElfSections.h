// The section table of an ELF file (executable or shared library), read
// from the file itself. Both classes (32-bit and 64-bit) are understood;
// files of the other byte order are refused. Everything the file says is
// checked before it is used: the header and the section table lie inside
// the file, names lie inside the section name table, and the contents of
// every section that has some lie inside the file without overlapping the
// header, the section table or each other. A file that breaks any of these
// raises EInvalidModuleFile (an EModuleError) naming the file; nothing is
// read outside it.
#pragma once

#include "framework/base/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp::fw {

struct TElfSection {
    std::string Name;
    uint32_t Type = 0;   // SHT_...
    uint64_t Flags = 0;  // SHF_...
    uint64_t Offset = 0; // position of the contents in the file
    uint64_t Size = 0;   // bytes of contents in the file (0 for SHT_NOBITS)
};

class TElfSections {
public:
    // Reads and checks the section table of the ELF file in Stream;
    // FileName only names the file in messages.
    TElfSections(TStream& Stream, std::string FileName);

    const std::vector<TElfSection>& Sections() const { return FSections; }
    // The contents of one of the sections, read from the stream.
    std::string Contents(const TElfSection& Section);

private:
    template <class Ehdr, class Shdr> void ReadTable();
    [[noreturn]] void Fail(const std::string& Why) const;
    // Bytes [Offset, Offset + Count) of the stream, checked against its size.
    std::string ReadAt(uint64_t Offset, uint64_t Count, const char* What);
    void CheckLayout(uint64_t HeaderSize, uint64_t TableOffset, uint64_t TableSize);

    TStream& FStream;
    std::string FFileName;
    uint64_t FFileSize = 0;
    std::vector<TElfSection> FSections;
};

} // namespace zorp::fw
