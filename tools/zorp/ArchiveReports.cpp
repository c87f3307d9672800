// zorp list / test / cat: reading an archive (a file, or standard input).
#include "component/FileBuffer.h"
#include "component/PathRules.h"
#include "framework/base/FileUtils.h"
#include "tools/zorp/ArchiveSupport.h"
#include "tools/zorp/NamePatterns.h"
#include "tools/zorp/ToolMain.h"

#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace zorp::tool {

namespace {

std::string Attributes(uint16_t attr) {
    std::string s;
    s += (attr & fw::faReadOnly) ? 'r' : '-';
    s += (attr & fw::faHidden) ? 'h' : '-';
    s += (attr & fw::faSysFile) ? 's' : '-';
    s += (attr & fw::faDirectory) ? 'd' : '-';
    s += (attr & fw::faArchive) ? 'a' : '-';
    return s;
}

// The recorded permission bits as "rwxr-xr-x", or "-" when none are.
std::string Permissions(uint16_t attr) {
    const int32_t mode = PermissionsOf(attr);
    if (mode < 0)
        return "-";
    std::string s;
    for (int shift = 6; shift >= 0; shift -= 3) {
        s += (mode >> shift) & 4 ? 'r' : '-';
        s += (mode >> shift) & 2 ? 'w' : '-';
        s += (mode >> shift) & 1 ? 'x' : '-';
    }
    return s;
}

std::string Date(int32_t fileDate) {
    if (fileDate == 0)
        return "-";
    const int64_t when = fw::FileDateToUnixTime(fileDate);
    if (when == -1)
        return "?";
    const auto t = static_cast<time_t>(when);
    struct tm local {};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

const char* MethodName(TZorpMethod m) {
    switch (m) {
    case coNone:
        return "none";
    case coRLE:
        return "rle";
    case coLZH:
        return "lzh";
    case coLZH5:
        return "lh5";
    case coCustom:
        break;
    }
    return "custom";
}

std::string Ratio(int64_t packed, int64_t size) {
    if (size <= 0)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%",
                  100.0 * static_cast<double>(packed) / static_cast<double>(size));
    return text;
}

std::string Entries(int count) {
    return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

void ListJson(const Listing& listing) {
    std::printf("[");
    for (int i = 0; i < listing.Count(); ++i) {
        const TZorpFileInfo& info = listing.Info(i);
        const auto attr = static_cast<uint16_t>(info.Attributes);
        const int32_t mode = PermissionsOf(attr);
        char modeText[16] = "null";
        if (mode >= 0)
            std::snprintf(modeText, sizeof modeText, "\"%04o\"", mode);
        std::printf("%s\n  {\"name\": %s, \"size\": %d, \"packed\": %d, \"method\": \"%s\", "
                    "\"date\": %s, \"attributes\": %d, \"mode\": %s, \"locked\": %s}",
                    i == 0 ? "" : ",", JsonString(listing.Name(i)).c_str(), info.UncompressedSize,
                    info.CompressedSize, MethodName(info.Method),
                    info.FileDate == 0 ? "null" : JsonString(Date(info.FileDate)).c_str(),
                    attr & 0x3F, modeText, info.Locked ? "true" : "false");
    }
    std::printf("%s]\n", listing.Count() > 0 ? "\n" : "");
}

void ListTable(const Listing& listing) {
    std::printf("%12s %12s %6s  %-6s %-16s %-5s %-9s %-6s %s\n", "size", "packed", "ratio",
                "method", "date", "attr", "mode", "locked", "name");
    int64_t size = 0;
    int64_t packed = 0;
    for (int i = 0; i < listing.Count(); ++i) {
        const TZorpFileInfo& info = listing.Info(i);
        const auto attr = static_cast<uint16_t>(info.Attributes);
        size += info.UncompressedSize;
        packed += info.CompressedSize;
        std::printf("%12d %12d %6s  %-6s %-16s %-5s %-9s %-6s %s\n", info.UncompressedSize,
                    info.CompressedSize, Ratio(info.CompressedSize, info.UncompressedSize).c_str(),
                    MethodName(info.Method), Date(info.FileDate).c_str(), Attributes(attr).c_str(),
                    Permissions(attr).c_str(), info.Locked ? "yes" : "no",
                    Printable(listing.Name(i)).c_str());
    }
    std::printf("%12lld %12lld %6s  %s\n", static_cast<long long>(size),
                static_cast<long long>(packed), Ratio(packed, size).c_str(),
                Entries(listing.Count()).c_str());
}

// A single compressed stream (as zorp compress writes it), checked whole.
void TestStream(Session& s, ArchiveSource& source, const ArchiveOptions& o) {
    SinkStream nowhere(true);
    s.Zorp.OnShowProgress = [&s](int32_t& percent) { s.Bar.Show(percent); };
    try {
        s.Zorp.Expand(nowhere, source.Stream());
    } catch (const std::exception& e) {
        throw std::runtime_error(source.Name() + ": " + e.what());
    }
    s.Bar.Finish();
    if (!o.Quiet)
        std::printf("%s: OK\n", source.Name().c_str());
}

// The first bytes say a single compressed stream.
bool IsSingleStream(fw::TStream& stream) {
    std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
    const bool whole =
        stream.Read(bytes.data(), TZorpHeader::RecordSize) == TZorpHeader::RecordSize;
    stream.SetPosition(0);
    const TZorpHeader header = TZorpHeader::Decode(bytes.data());
    return whole && header.HasMagic() && header.ArchiveType == caSingle;
}

} // namespace

void ListArchive(const ArchiveOptions& o) {
    TZorp zorp(nullptr);
    ArchiveSource source(o.Archive);
    const Listing listing(zorp, source);
    if (o.Json)
        ListJson(listing);
    else
        ListTable(listing);
    if (listing.Damage) {
        std::fflush(stdout);
        throw std::runtime_error(*listing.Damage);
    }
}

void TestArchive(const ArchiveOptions& o) {
    Session s(o, "testing");
    ArchiveSource source(o.Archive);
    if (IsSingleStream(source.Stream())) {
        TestStream(s, source, o);
        return;
    }
    Listing listing(s.Zorp, source);
    int64_t total = 0;
    for (int i = 0; i < listing.Count(); ++i)
        total += listing.Info(i).UncompressedSize;
    s.Bar.Begin(total, listing.Count());
    s.Zorp.SetThreads(JobsOf(o));
    // Events come in archive order, also from several threads: an entry is
    // verified when the next one begins (or the run ends) without an error
    // reported for it.
    int failed = 0;
    int current = -1;
    bool currentFailed = false;
    const auto verified = [&] {
        if (current >= 0 && !currentFailed && o.Verbose)
            s.Bar.Print("t " + Printable(listing.Name(current)));
    };
    s.Zorp.OnOperationProgress = [&](const TOperationProgress& p) {
        if (p.Index == current)
            return;
        verified();
        current = p.Index;
        currentFailed = false;
        s.Bar.StartEntry(Printable(p.Name),
                         p.Index < listing.Count() ? listing.Info(p.Index).UncompressedSize : 0);
    };
    s.Zorp.OnShowProgress = [&s](int32_t& percent) { s.Bar.ShowEntry(percent); };
    s.Zorp.OnExpandError = [&](const std::string& entry, const std::exception& e) {
        s.Bar.Print("zorp: " + Printable(source.Name()) + ": " + Printable(entry) + ": " +
                    e.what());
        currentFailed = true;
        ++failed;
    };
    try {
        source.Stream().SetPosition(0);
        s.Zorp.VerifyFilesFromStream(source.Stream(), nullptr);
    } catch (const EArchiveDamaged&) {
        // The listing found the damage too and names it below.
    }
    verified();
    s.Bar.Finish();
    if (listing.Damage)
        Warn(*listing.Damage);
    if (failed > 0 || listing.Damage) {
        if (!o.Quiet)
            std::printf("%d of %s failed\n", failed, Entries(listing.Count()).c_str());
        throw EarlierErrors();
    }
    if (!o.Quiet)
        std::printf("%s OK\n", Entries(listing.Count()).c_str());
}

void CatEntry(const ArchiveOptions& o) {
    Session s(o, "expanding");
    ArchiveSource source(o.Archive);
    Listing listing(s.Zorp, source);
    const std::string& wanted = o.Names.at(0);
    bool found = false;
    SinkStream out(false);
    WriteThroughBuffer(out, [&](fw::TStream& buffered) {
        for (int i = 0; i < listing.Count(); ++i) {
            if (!SameEntryName(listing.Name(i), wanted, o.IgnoreCase))
                continue;
            found = true;
            try {
                listing.ExpandEntry(i, buffered);
            } catch (const fw::Exception& e) {
                throw std::runtime_error(source.Name() + ": " + Printable(listing.Name(i)) + ": " +
                                         e.what());
            }
        }
    });
    if (listing.Damage)
        throw std::runtime_error(*listing.Damage);
    if (!found)
        throw std::runtime_error(Printable(wanted) + ": not found in " + source.Name());
}

} // namespace zorp::tool
