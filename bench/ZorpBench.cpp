// Times every method and direction, memory to memory, on every file of a
// corpus and on a ~30 MB concatenation of them, beside zlib level 6 and a
// memcpy + byte-sum ceiling measured in the same run; then the stream
// operations (Compress/Expand) on the concatenation and archive add/extract
// of the corpus files, each against the raw driver figures. Peak heap is
// reported per run. With --check the exit status is 1 when a ratio falls
// below its target (see bench/README.md).
//
//   zorp_bench [--corpus DIR] [--mb N] [--repeat N] [--methods none,rle,lzh,lh5] [--check]
#include "HeapCounter.h"
#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace zorpbench;

struct Options {
    std::string Corpus = ZORP_CORPUS_DIR;
    int64_t TargetBytes = 30 * 1000 * 1000;
    int Repeat = 3;
    std::vector<std::string> Methods = {"none", "rle", "lzh", "lh5"};
    bool Check = false;
};

struct MethodInfo {
    zorp::TZorpMethod Method;
    // Targets: a compress and an expand ratio, against zlib (compress2 level 6
    // and uncompress) or, when AgainstCeiling, against the memcpy ceiling.
    double CompressTarget;
    double ExpandTarget;
    bool AgainstCeiling;
};

const std::map<std::string, MethodInfo> Methods = {
    {"none", {zorp::coNone, 0.5, 0.5, true}},
    {"rle", {zorp::coRLE, 0.1, 0.1, true}},
    {"lzh", {zorp::coLZH, 1.0, 0.3, false}},
    {"lh5", {zorp::coLZH5, 1.5, 1.5, false}},
};

// The stream and archive paths must reach this share of the raw driver speed.
constexpr double OperationTarget = 0.95;

double MBps(double bytes, double seconds) {
    return seconds > 0 ? bytes / 1e6 / seconds : 0;
}

std::string Kib(size_t bytes) {
    if (bytes == 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f KiB", static_cast<double>(bytes) / 1024.0);
    return text;
}

std::vector<CorpusFile> LoadCorpus(const std::string& dir) {
    std::vector<CorpusFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream data;
        data << in.rdbuf();
        files.push_back({entry.path().string(), entry.path().filename().string(), data.str()});
    }
    std::sort(files.begin(), files.end(),
              [](const CorpusFile& a, const CorpusFile& b) { return a.Name < b.Name; });
    return files;
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
                if (!Methods.count(m))
                    throw std::runtime_error("unknown method " + m);
                o.Methods.push_back(m);
            }
        } else if (arg == "--check") {
            o.Check = true;
        } else {
            throw std::runtime_error("usage: zorp_bench [--corpus DIR] [--mb N] [--repeat N] "
                                     "[--methods none,rle,lzh,lh5] [--check]");
        }
    }
    return o;
}

// What the archive operations do per file, from the raw driver figures: a
// method that cannot shrink a file costs its failed attempt plus a stored run.
struct RawSums {
    double CompressSeconds = 0;
    double ExpandSeconds = 0;
};

void ReportFiles(const Options& o, const std::vector<CorpusFile>& files,
                 std::map<std::string, RawSums>& sums) {
    std::printf("Per file: method, compressed size in %% of the original, compress/expand MB/s\n");
    for (const CorpusFile& f : files) {
        std::printf("%-16s %9zu", f.Name.c_str(), f.Data.size());
        const Timing stored = RunDriver(zorp::coNone, f.Data, o.Repeat);
        for (const std::string& m : o.Methods) {
            const Timing t = RunDriver(Methods.at(m).Method, f.Data, o.Repeat);
            RawSums& sum = sums[m];
            const double size = static_cast<double>(f.Data.size());
            if (t.DoesNotShrink) {
                std::printf("  %s does not shrink     ", m.c_str());
                sum.CompressSeconds += t.CompressSeconds + stored.CompressSeconds;
                sum.ExpandSeconds += stored.ExpandSeconds;
                continue;
            }
            std::printf("  %s %5.1f%% %7.1f/%7.1f", m.c_str(),
                        100.0 * static_cast<double>(t.CompressedSize) / std::max(size, 1.0),
                        MBps(size, t.CompressSeconds), MBps(size, t.ExpandSeconds));
            sum.CompressSeconds += t.CompressSeconds;
            sum.ExpandSeconds += t.ExpandSeconds;
        }
        std::printf("\n");
    }
}

class Table {
public:
    Table(bool check) : FCheck(check) {
        std::printf("%-24s %9s %8s %9s %7s %12s %7s %11s\n", "path", "MB/s", "x peer", "x ceiling",
                    "target", "compressed", "size", "peak heap");
    }

    // One row; target is checked against the peer ratio, or against the
    // ceiling ratio when againstCeiling is set; target 0 means none.
    void Row(const std::string& path, double mbps, double peer, double ceiling, double target,
             bool againstCeiling, int64_t compressed, double size, size_t heap) {
        const double peerRatio = peer > 0 ? mbps / peer : 0;
        const double ceilingRatio = mbps / ceiling;
        std::string targetText = "-";
        if (target > 0) {
            const double ratio = againstCeiling ? ceilingRatio : peerRatio;
            const bool met = ratio >= target;
            char text[24];
            std::snprintf(text, sizeof text, "%.2f%s%s", target, againstCeiling ? "c" : "",
                          met ? "" : "!");
            targetText = text;
            if (!met)
                FMissed.push_back(path);
        }
        std::printf("%-24s %9.1f %8s %9.3f %7s %12lld %6.1f%% %11s\n", path.c_str(), mbps,
                    peer > 0 ? Fixed(peerRatio).c_str() : "", ceilingRatio, targetText.c_str(),
                    static_cast<long long>(compressed),
                    size > 0 ? 100.0 * static_cast<double>(compressed) / size : 0.0,
                    Kib(heap).c_str());
    }

    void Note(const std::string& path, const std::string& text) {
        std::printf("%-24s %s\n", path.c_str(), text.c_str());
    }

    // Lists the rows below their target; 1 when there are any and --check
    // was given.
    int Finish() const {
        for (const std::string& p : FMissed)
            std::printf("below target: %s\n", p.c_str());
        return FCheck && !FMissed.empty() ? 1 : 0;
    }

private:
    static std::string Fixed(double v) {
        char text[24];
        std::snprintf(text, sizeof text, "%.2f", v);
        return text;
    }

    bool FCheck;
    std::vector<std::string> FMissed;
};

int ReportConcatenation(const Options& o, const std::vector<CorpusFile>& files,
                        const std::string& data, const std::map<std::string, RawSums>& sums) {
    const Timing zlib = RunZlib(data, o.Repeat);
    const double size = static_cast<double>(data.size());
    const double ceiling = MBps(size, RunCeiling(data, o.Repeat));
    std::printf("\nConcatenation: %zu bytes, best of %d run(s). x peer: against zlib-6 compress "
                "or zlib inflate,\nrun right after each run of the method; stream and archive "
                "rows against the raw driver. Target c: "
                "against the ceiling; ! below target.\n",
                data.size(), o.Repeat);
    Table table(o.Check);
    table.Row("memcpy + byte sum", ceiling, 0, ceiling, 0, false, 0, 0, 0);
    const double zc = MBps(size, zlib.CompressSeconds);
    const double ze = MBps(size, zlib.ExpandSeconds);
    table.Row("zlib-6 compress", zc, zc, ceiling, 0, false, zlib.CompressedSize, size,
              zlib.CompressHeap);
    table.Row("zlib inflate", ze, ze, ceiling, 0, false, zlib.CompressedSize, size,
              zlib.ExpandHeap);

    std::map<std::string, Timing> raw;
    ZlibPeer peer(data);
    for (const std::string& m : o.Methods) {
        const MethodInfo& info = Methods.at(m);
        const Timing t = RunDriver(info.Method, data, o.Repeat, &peer);
        raw[m] = t;
        if (t.DoesNotShrink) {
            table.Note(m, "does not shrink the concatenation: no figures");
            continue;
        }
        table.Row(m + " compress", MBps(size, t.CompressSeconds), MBps(size, t.PeerCompressSeconds),
                  ceiling, info.CompressTarget, info.AgainstCeiling, t.CompressedSize, size,
                  t.CompressHeap);
        table.Row(m + " expand", MBps(size, t.ExpandSeconds), MBps(size, t.PeerExpandSeconds),
                  ceiling, info.ExpandTarget, info.AgainstCeiling, t.CompressedSize, size,
                  t.ExpandHeap);
    }

    std::printf("\nStream operations on the concatenation (x peer: against the driver row):\n");
    Table streams(o.Check);
    for (const std::string& m : o.Methods) {
        const Timing& r = raw[m];
        if (r.DoesNotShrink)
            continue;
        const Timing t = RunStream(Methods.at(m).Method, data, o.Repeat);
        streams.Row("Compress " + m, MBps(size, t.CompressSeconds), MBps(size, r.CompressSeconds),
                    ceiling, OperationTarget, false, t.CompressedSize, size, t.CompressHeap);
        streams.Row("Expand " + m, MBps(size, t.ExpandSeconds), MBps(size, r.ExpandSeconds),
                    ceiling, OperationTarget, false, t.CompressedSize, size, t.ExpandHeap);
    }

    double corpusSize = 0;
    for (const CorpusFile& f : files)
        corpusSize += static_cast<double>(f.Data.size());
    std::printf("\nArchive of the %zu corpus files, %.0f bytes (x peer: against the driver on "
                "each file;\na method that does not shrink a file is charged its attempt and a "
                "stored run):\n",
                files.size(), corpusSize);
    Table archives(o.Check);
    const std::string scratch =
        (std::filesystem::temp_directory_path() / ("zorp_bench." + std::to_string(getpid())))
            .string();
    for (const std::string& m : o.Methods) {
        const RawSums& r = sums.at(m);
        const Timing t = RunArchive(Methods.at(m).Method, files, scratch, o.Repeat);
        archives.Row("archive add " + m, MBps(corpusSize, t.CompressSeconds),
                     MBps(corpusSize, r.CompressSeconds), ceiling, OperationTarget, false,
                     t.CompressedSize, corpusSize, t.CompressHeap);
        archives.Row("archive extract " + m, MBps(corpusSize, t.ExpandSeconds),
                     MBps(corpusSize, r.ExpandSeconds), ceiling, OperationTarget, false,
                     t.CompressedSize, corpusSize, t.ExpandHeap);
    }
    std::printf("\n");
    const int a = table.Finish();
    const int b = streams.Finish();
    const int c = archives.Finish();
    return a | b | c;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = ParseOptions(argc, argv);
        const std::vector<CorpusFile> corpus = LoadCorpus(o.Corpus);
        if (corpus.empty())
            throw std::runtime_error("no files in " + o.Corpus);
        std::map<std::string, RawSums> sums;
        ReportFiles(o, corpus, sums);
        std::string all;
        for (const CorpusFile& f : corpus)
            all += f.Data;
        std::string concatenation;
        while (static_cast<int64_t>(concatenation.size()) < o.TargetBytes)
            concatenation += all;
        return ReportConcatenation(o, corpus, concatenation, sums);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorp_bench: %s\n", e.what());
        return 2;
    }
}
