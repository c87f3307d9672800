// Minimal LHA archive handling for interoperability tests: wraps raw method
// data (for example an -lh5- or -lh1- bit stream) in an archive that the LHA
// tools accept, and takes apart archives written by those tools.
//
//   std::string lzh = WrapLha("-lh5-", "alice.txt", packed, original);
//   for (const LhaEntry& entry : ReadLhaArchive(ReadWholeFile("made-by-jlha.lzh")))
//       ... entry.Method, entry.Name, entry.OriginalSize, entry.Data ...
//
// Headers of level 0, 1 and 2 are read; level 0 or 1 is written. Reading
// throws std::runtime_error on anything malformed or truncated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorp::test {

// One member of an archive.
struct LhaEntry {
    std::string Method;        // five characters, e.g. "-lh5-"
    std::string Name;          // path with '/' separators
    uint32_t OriginalSize = 0; // size of the expanded data
    uint16_t Crc = 0;          // CRC-16 of the expanded data
    int Level = 0;             // header level
    std::string Data;          // the raw method data (packed bytes)
};

// The CRC-16 used by LHA: reflected polynomial 0xA001, initial value 0.
uint16_t LhaCrc16(const std::string& Data);

// An archive holding one member: Packed is the raw method data, Original the
// data it expands to (for the size and CRC fields). Level is 0 or 1. The
// archive ends with the terminating zero byte.
std::string WrapLha(const std::string& Method, const std::string& Name, const std::string& Packed,
                    const std::string& Original, int Level = 1);

// Every member of Archive, in order. Stops at the terminating zero byte or at
// the end of the data.
std::vector<LhaEntry> ReadLhaArchive(const std::string& Archive);

} // namespace zorp::test
