// The measurements of the harness: one path timed best of N, memory to
// memory, with its compressed size and the heap one run takes at its peak.
// Every compressed result is expanded again and compared with its original.
#pragma once

#include "engine/ZorpTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorpbench {

struct Timing {
    double CompressSeconds = 0;
    double ExpandSeconds = 0;
    int64_t CompressedSize = 0;
    size_t CompressHeap = 0; // peak heap of one compression run, in bytes
    size_t ExpandHeap = 0;
    // The method could not shrink the data: the driver's output budget ran
    // out. Only CompressSeconds (the failed attempt) is then meaningful.
    bool DoesNotShrink = false;
};

struct CorpusFile {
    std::string Path;
    std::string Name;
    std::string Data;
};

// The stream driver alone: ProcessStreams with no header reserve, so the
// budget is the source size.
Timing RunDriver(zorp::TZorpMethod method, const std::string& data, int repeat);
// TZorp::Compress and TZorp::Expand of a memory stream (header included).
Timing RunStream(zorp::TZorpMethod method, const std::string& data, int repeat);
// CompressFilesToStream of the files into memory and ExpandFilesFromStream
// of that archive into a scratch directory.
Timing RunArchive(zorp::TZorpMethod method, const std::vector<CorpusFile>& files,
                  const std::string& scratchDir, int repeat);
// zlib level 6 compress2 and uncompress.
Timing RunZlib(const std::string& data, int repeat);
// memcpy into a second buffer plus a byte sum over it, in seconds.
double RunCeiling(const std::string& data, int repeat);

} // namespace zorpbench
