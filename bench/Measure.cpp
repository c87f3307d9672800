#include "Measure.h"

#include "HeapCounter.h"
#include "common/Errors.h"
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/StringList.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <zlib.h>

namespace zorpbench {

namespace {

using Clock = std::chrono::steady_clock;

double TimeOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best of repeat timed runs of work, after one untimed run: the first run
// into a new memory stream also pays for growing it and for the first touch
// of its pages, which zlib's buffers (allocated, filled and used once before
// any timing) never pay; so even --repeat 1 compares like with like.
// prepare, when given, runs untimed before every run.
double BestOf(int repeat, const std::function<void()>& work,
              const std::function<void()>& prepare = {}) {
    if (prepare)
        prepare();
    work();
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        if (prepare)
            prepare();
        best = std::min(best, TimeOf(work));
    }
    return best;
}

// Best of repeat runs of work, each followed by a run of peerWork when there
// is one (after one untimed run of work, as above); the peer's best time
// goes to peerBest.
double BestOfBeside(int repeat, const std::function<void()>& work,
                    const std::function<void()>& peerWork, double& peerBest) {
    if (!peerWork)
        return BestOf(repeat, work);
    work();
    double best = 1e30;
    peerBest = 1e30;
    for (int i = 0; i < repeat; ++i) {
        best = std::min(best, TimeOf(work));
        peerBest = std::min(peerBest, TimeOf(peerWork));
    }
    return best;
}

// Peak heap of one more run of work, which has run before, so that the
// memory streams already hold their full capacity and only the run's own
// allocations count.
size_t PeakHeapOf(const std::function<void()>& work) {
    ResetHeapPeak();
    work();
    return HeapPeakSinceReset();
}

void Fill(zorp::fw::TMemoryStream& stream, const std::string& data) {
    stream.SetSize(0);
    stream.SetPosition(0);
    stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    stream.SetPosition(0);
}

void Restart(zorp::fw::TMemoryStream& stream) {
    stream.SetSize(0);
    stream.SetPosition(0);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

} // namespace

Timing RunDriver(zorp::TZorpMethod method, const std::string& data, int repeat, ZlibPeer* peer) {
    std::function<void()> peerCompress, peerExpand;
    if (peer != nullptr) {
        peerCompress = [peer] { peer->Compress(); };
        peerExpand = [peer] { peer->Expand(); };
    }
    zorp::TZorp zorp(nullptr);
    zorp::fw::TMemoryStream source, packed, unpacked;
    const auto size = static_cast<int32_t>(data.size());
    int32_t checksum = 0;
    Timing t;
    Fill(source, data);
    const auto compress = [&] {
        source.SetPosition(0);
        Restart(packed);
        zorp.ProcessStreams(packed, source, size, 0, method, checksum, zorp::cmCompress, false);
    };
    try {
        t.CompressSeconds = BestOfBeside(repeat, compress, peerCompress, t.PeerCompressSeconds);
    } catch (const zorp::EUnableToCompress&) {
        t.DoesNotShrink = true;
        t.CompressSeconds = BestOf(repeat, [&] {
            try {
                compress();
            } catch (const zorp::EUnableToCompress&) {
            }
        });
        return t;
    }
    t.CompressHeap = PeakHeapOf(compress);
    t.CompressedSize = packed.Size();
    const uint32_t sum = static_cast<uint32_t>(checksum);
    const auto expand = [&] {
        packed.SetPosition(0);
        Restart(unpacked);
        zorp.ProcessStreams(unpacked, packed, static_cast<int32_t>(packed.Size()), size, method,
                            checksum, zorp::cmExpand, false);
    };
    t.ExpandSeconds = BestOfBeside(repeat, expand, peerExpand, t.PeerExpandSeconds);
    t.ExpandHeap = PeakHeapOf(expand);
    if (unpacked.DataString() != data || static_cast<uint32_t>(checksum) != sum)
        throw std::runtime_error("driver round trip changed the data");
    return t;
}

Timing RunStream(zorp::TZorpMethod method, const std::string& data, int repeat) {
    zorp::TZorp zorp(nullptr);
    zorp::fw::TMemoryStream source, packed, unpacked;
    Timing t;
    Fill(source, data);
    const auto compress = [&] {
        source.SetPosition(0);
        Restart(packed);
        zorp.Compress(packed, source, method);
    };
    t.CompressSeconds = BestOf(repeat, compress);
    t.CompressHeap = PeakHeapOf(compress);
    t.CompressedSize = packed.Size();
    const auto expand = [&] {
        packed.SetPosition(0);
        Restart(unpacked);
        zorp.Expand(unpacked, packed);
    };
    t.ExpandSeconds = BestOf(repeat, expand);
    t.ExpandHeap = PeakHeapOf(expand);
    if (unpacked.DataString() != data)
        throw std::runtime_error("stream round trip changed the data");
    return t;
}

Timing RunArchive(zorp::TZorpMethod method, const std::vector<CorpusFile>& files,
                  const std::string& scratchDir, int repeat) {
    namespace fs = std::filesystem;
    zorp::TZorp zorp(nullptr);
    zorp::fw::TMemoryStream archive;
    zorp::fw::TStringList list;
    Timing t;
    // Entry names relative to the corpus directory; extraction then goes
    // under the scratch directory.
    if (!files.empty())
        zorp.SetTargetPath(fs::path(files.front().Path).parent_path().string() + "/");
    const auto compress = [&] {
        list.Clear();
        for (const CorpusFile& f : files)
            list.Add(f.Path);
        Restart(archive);
        zorp.CompressFilesToStream(archive, list, method);
    };
    t.CompressSeconds = BestOf(repeat, compress);
    t.CompressHeap = PeakHeapOf(compress);
    t.CompressedSize = archive.Size();

    // Every run extracts into an empty directory, as a first extraction
    // does (replacing files that exist costs more: their pages are freed).
    const auto emptyScratch = [&] {
        fs::remove_all(scratchDir);
        fs::create_directories(scratchDir);
    };
    zorp.SetTargetPath(scratchDir + "/");
    const auto expand = [&] {
        archive.SetPosition(0);
        zorp.ExpandFilesFromStream(archive, nullptr);
    };
    t.ExpandSeconds = BestOf(repeat, expand, emptyScratch);
    t.ExpandHeap = PeakHeapOf(expand);
    for (const CorpusFile& f : files)
        if (ReadFile(fs::path(scratchDir) / f.Name) != f.Data)
            throw std::runtime_error("archive round trip changed " + f.Name);
    fs::remove_all(scratchDir);
    return t;
}

ZlibPeer::ZlibPeer(const std::string& data)
    : FData(data), FPacked(compressBound(data.size())), FBack(data.size(), '\0') {
    Compress();
    Expand();
    if (FBack != FData)
        throw std::runtime_error("zlib round trip changed the data");
}

void ZlibPeer::Compress() {
    uLongf packedSize = FPacked.size();
    if (compress2(FPacked.data(), &packedSize, reinterpret_cast<const Bytef*>(FData.data()),
                  FData.size(), 6) != Z_OK)
        throw std::runtime_error("zlib compress failed");
    FPackedSize = packedSize;
}

void ZlibPeer::Expand() {
    uLongf backSize = FBack.size();
    if (uncompress(reinterpret_cast<Bytef*>(FBack.data()), &backSize, FPacked.data(),
                   FPackedSize) != Z_OK)
        throw std::runtime_error("zlib uncompress failed");
}

Timing RunZlib(const std::string& data, int repeat) {
    ZlibPeer zlib(data);
    Timing t;
    const auto compress = [&] { zlib.Compress(); };
    t.CompressSeconds = BestOf(repeat, compress);
    t.CompressHeap = PeakHeapOf(compress);
    const auto expand = [&] { zlib.Expand(); };
    t.ExpandSeconds = BestOf(repeat, expand);
    t.ExpandHeap = PeakHeapOf(expand);
    t.CompressedSize = zlib.CompressedSize();
    return t;
}

double RunCeiling(const std::string& data, int repeat) {
    std::string copy(data.size(), '\0');
    volatile uint32_t sink = 0;
    const double t = BestOf(repeat, [&] {
        std::memcpy(copy.data(), data.data(), data.size());
        uint32_t sum = 0;
        for (const char c : copy)
            sum += static_cast<unsigned char>(c);
        sink = sum;
    });
    (void)sink;
    return t;
}

} // namespace zorpbench
