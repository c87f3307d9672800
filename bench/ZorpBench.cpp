// Times the stream driver per method and direction, memory to memory, on
// every file of a corpus and on a ~30 MB concatenation of them, beside zlib
// level 6 and a memcpy + byte-sum ceiling measured in the same run. Every
// compressed result is expanded again and compared with its original.
//
//   zorp_bench [--corpus DIR] [--mb N] [--repeat N] [--methods none,rle,lzh,lh5]
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string Corpus = ZORP_CORPUS_DIR;
    int64_t TargetBytes = 30 * 1000 * 1000;
    int Repeat = 3;
    std::vector<std::string> Methods = {"none", "rle", "lzh", "lh5"};
};

struct Input {
    std::string Name;
    std::string Data;
};

struct Result {
    double CompressMBps = 0;
    double ExpandMBps = 0;
    int64_t CompressedSize = 0;
};

const std::map<std::string, zorp::TZorpMethod> MethodsByName = {
    {"none", zorp::coNone}, {"rle", zorp::coRLE}, {"lzh", zorp::coLZH}, {"lh5", zorp::coLZH5}};

double MBps(size_t bytes, double seconds) {
    return seconds > 0 ? static_cast<double>(bytes) / 1e6 / seconds : 0;
}

// Best time of Repeat runs of work, in seconds.
double BestOf(int repeat, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < repeat; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Fill(zorp::fw::TMemoryStream& stream, const std::string& data) {
    stream.SetSize(0);
    stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    stream.SetPosition(0);
}

// Compresses and expands with one method; nothing when the method is not
// available. Raises when the round trip does not give the input back.
std::optional<Result> RunMethod(zorp::TZorpMethod method, const std::string& data, int repeat) {
    zorp::TZorp zorp(nullptr);
    zorp::fw::TMemoryStream source, packed, unpacked;
    const auto size = static_cast<int32_t>(data.size());
    int32_t checksum = 0;
    Result r;
    try {
        Fill(source, data);
        const double c = BestOf(repeat, [&] {
            source.SetPosition(0);
            packed.SetSize(0);
            packed.SetPosition(0);
            zorp.ProcessStreams(packed, source, size, 0, method, checksum, zorp::cmCompress, false);
        });
        r.CompressMBps = MBps(data.size(), c);
        r.CompressedSize = packed.Size();
        const double e = BestOf(repeat, [&] {
            packed.SetPosition(0);
            unpacked.SetSize(0);
            unpacked.SetPosition(0);
            zorp.ProcessStreams(unpacked, packed, static_cast<int32_t>(packed.Size()), size, method,
                                checksum, zorp::cmExpand, false);
        });
        r.ExpandMBps = MBps(data.size(), e);
    } catch (const zorp::EUnableToCompress&) {
        throw; // cannot happen without a header reserve
    } catch (const zorp::fw::Exception& e) {
        if (std::string(e.what()) == "Compression method not built yet")
            return std::nullopt;
        throw;
    }
    if (unpacked.DataString() != data)
        throw std::runtime_error("round trip changed the data");
    return r;
}

Result RunZlib(const std::string& data, int repeat) {
    Result r;
    std::vector<Bytef> packed(compressBound(data.size()));
    uLongf packedSize = 0;
    const double c = BestOf(repeat, [&] {
        packedSize = packed.size();
        if (compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(data.data()),
                      data.size(), 6) != Z_OK)
            throw std::runtime_error("zlib compress failed");
    });
    std::string back(data.size(), '\0');
    const double e = BestOf(repeat, [&] {
        uLongf backSize = back.size();
        if (uncompress(reinterpret_cast<Bytef*>(back.data()), &backSize, packed.data(),
                       packedSize) != Z_OK)
            throw std::runtime_error("zlib uncompress failed");
    });
    if (back != data)
        throw std::runtime_error("zlib round trip changed the data");
    r.CompressMBps = MBps(data.size(), c);
    r.ExpandMBps = MBps(data.size(), e);
    r.CompressedSize = static_cast<int64_t>(packedSize);
    return r;
}

// memcpy into a second buffer plus a byte sum over it: the least any stored
// copy with a checksum must do.
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
    return MBps(data.size(), t);
}

std::vector<Input> LoadCorpus(const std::string& dir) {
    std::vector<Input> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream data;
        data << in.rdbuf();
        inputs.push_back({entry.path().filename().string(), data.str()});
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const Input& a, const Input& b) { return a.Name < b.Name; });
    return inputs;
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--corpus" && hasValue) {
            o.Corpus = argv[++i];
        } else if (arg == "--mb" && hasValue) {
            o.TargetBytes = std::stoll(argv[++i]) * 1000 * 1000;
        } else if (arg == "--repeat" && hasValue) {
            o.Repeat = std::max(1, std::stoi(argv[++i]));
        } else if (arg == "--methods" && hasValue) {
            o.Methods.clear();
            std::stringstream list(argv[++i]);
            for (std::string m; std::getline(list, m, ',');) {
                if (!MethodsByName.count(m))
                    throw std::runtime_error("unknown method " + m);
                o.Methods.push_back(m);
            }
        } else {
            throw std::runtime_error("usage: zorp_bench [--corpus DIR] [--mb N] [--repeat N] "
                                     "[--methods none,rle,lzh,lh5]");
        }
    }
    return o;
}

void ReportFile(const Options& o, const Input& in) {
    std::printf("%-16s %9zu", in.Name.c_str(), in.Data.size());
    for (const std::string& m : o.Methods) {
        const auto r = RunMethod(MethodsByName.at(m), in.Data, o.Repeat);
        if (r)
            std::printf("  %s %5.1f%% %7.1f/%7.1f", m.c_str(),
                        100.0 * static_cast<double>(r->CompressedSize) /
                            static_cast<double>(std::max<size_t>(in.Data.size(), 1)),
                        r->CompressMBps, r->ExpandMBps);
        else
            std::printf("  %s n/a", m.c_str());
    }
    std::printf("\n");
}

void ReportConcatenation(const Options& o, const std::string& data) {
    const Result zlib = RunZlib(data, o.Repeat);
    const double ceiling = RunCeiling(data, o.Repeat);
    const double size = static_cast<double>(data.size());
    std::printf("\nConcatenation: %zu bytes, best of %d run(s)\n", data.size(), o.Repeat);
    std::printf("%-22s %10s %10s %10s %12s %7s\n", "path", "MB/s", "x zlib", "x ceiling",
                "compressed", "ratio");
    const auto line = [&](const std::string& name, double mbps, double zlibMbps, int64_t packed) {
        std::printf("%-22s %10.1f %10.2f %10.3f %12lld %6.1f%%\n", name.c_str(), mbps,
                    mbps / zlibMbps, mbps / ceiling, static_cast<long long>(packed),
                    100.0 * static_cast<double>(packed) / size);
    };
    std::printf("%-22s %10.1f %10s %10.3f\n", "memcpy + byte sum", ceiling, "", 1.0);
    line("zlib-6 compress", zlib.CompressMBps, zlib.CompressMBps, zlib.CompressedSize);
    line("zlib inflate", zlib.ExpandMBps, zlib.ExpandMBps, zlib.CompressedSize);
    for (const std::string& m : o.Methods) {
        const auto r = RunMethod(MethodsByName.at(m), data, o.Repeat);
        if (!r) {
            std::printf("%-22s %10s\n", (m + " (not available)").c_str(), "n/a");
            continue;
        }
        line(m + " compress", r->CompressMBps, zlib.CompressMBps, r->CompressedSize);
        line(m + " expand", r->ExpandMBps, zlib.ExpandMBps, r->CompressedSize);
    }
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = ParseOptions(argc, argv);
        const std::vector<Input> corpus = LoadCorpus(o.Corpus);
        if (corpus.empty())
            throw std::runtime_error("no files in " + o.Corpus);
        std::printf("Per file: method, compressed size in %% of the original, compress/expand "
                    "MB/s\n");
        std::string all;
        for (const Input& in : corpus) {
            ReportFile(o, in);
            all += in.Data;
        }
        std::string concatenation;
        while (static_cast<int64_t>(concatenation.size()) < o.TargetBytes)
            concatenation += all;
        ReportConcatenation(o, concatenation);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorp_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
