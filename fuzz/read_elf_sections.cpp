// Reads arbitrary bytes as an ELF module's section table and every
// section's contents: a damaged module must raise, never read outside it.
#include "framework/base/ElfSections.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zorp::fw::TMemoryStream module;
    module.WriteBuffer(data, static_cast<int32_t>(size));
    try {
        zorp::fw::TElfSections sections(module, "fuzz input");
        for (const zorp::fw::TElfSection& section : sections.Sections()) {
            if (sections.Contents(section).size() != section.Size)
                std::abort(); // a section's contents must be exactly its size
        }
    } catch (const zorp::fw::Exception&) {
        // Refused: that is what a damaged module must do.
    }
    return 0;
}
