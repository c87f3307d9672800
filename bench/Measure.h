// The measurements of the harness: one path timed best of N, memory to
// memory, with its compressed size and the heap one run takes at its peak.
// Every compressed result is expanded again and compared with its original.
#pragma once

#include "common/ZorpTypes.h"

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
    // With a peer: its best times over runs made right after each of these.
    double PeerCompressSeconds = 0;
    double PeerExpandSeconds = 0;
};

// zlib level 6 compress2 and uncompress of one data set, compressed once
// (and checked) on construction, to be timed again beside another path.
class ZlibPeer {
public:
    explicit ZlibPeer(const std::string& data);
    void Compress();
    void Expand();
    int64_t CompressedSize() const { return static_cast<int64_t>(FPackedSize); }

private:
    const std::string& FData;
    std::vector<unsigned char> FPacked;
    unsigned long FPackedSize = 0;
    std::string FBack;
};

struct CorpusFile {
    std::string Path;
    std::string Name;
    std::string Data;
};

// The stream driver alone: ProcessStreams with no header reserve, so the
// budget is the source size. With a peer, every run of the driver is
// followed by the same run of the peer, so that a ratio of the two compares
// runs made under the same load.
Timing RunDriver(zorp::TZorpMethod method, const std::string& data, int repeat,
                 ZlibPeer* peer = nullptr);
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
