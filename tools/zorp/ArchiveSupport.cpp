#include "tools/zorp/ArchiveSupport.h"

#include "component/PathRules.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/NamePatterns.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zorp::tool {

int JobsOf(const ArchiveOptions& o) {
    if (o.Jobs > 0)
        return o.Jobs;
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

Session::Session(const ArchiveOptions& o, const std::string& label)
    : Zorp(nullptr), Bar(label, o.Quiet) {
    Zorp.SetKey(ParseKey(o.Key));
    Zorp.SetIgnoreCase(o.IgnoreCase);
}

int32_t SinkStream::Write(const void* Buffer, int32_t Count) {
    if (FDiscard || Count <= 0) {
        FWritten += std::max(Count, 0);
        return Count;
    }
    const auto* bytes = static_cast<const char*>(Buffer);
    int32_t done = 0;
    while (done < Count) {
        const ssize_t n = write(STDOUT_FILENO, bytes + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw fw::EWriteError("standard output: " +
                                  std::string(std::strerror(n < 0 ? errno : ENOSPC)));
        done += static_cast<int32_t>(n);
    }
    FWritten += done;
    return done;
}

void Warn(const std::string& Message) {
    std::fprintf(stderr, "zorp: %s\n", Printable(Message).c_str());
}

ArchiveSource::ArchiveSource(const std::string& Name)
    : FName(Name == "-" ? "standard input" : Name) {
    if (Name == "-") {
        FFile = fw::UnnamedTemporaryFile("standard input");
        std::vector<char> buffer(1 << 16);
        for (;;) {
            const ssize_t n = read(STDIN_FILENO, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw fw::EReadError("standard input: " + std::string(std::strerror(errno)));
            if (n == 0)
                break;
            FFile->WriteBuffer(buffer.data(), static_cast<int32_t>(n));
        }
        FFile->SetPosition(0);
    } else {
        FFile = std::make_unique<fw::TFileStream>(Name, fw::fmOpenRead | fw::fmShareDenyWrite);
    }
    FBuffered = std::make_unique<fw::TBufferedStream>(*FFile, FileBufferSize);
}

Listing::Listing(TZorp& Zorp, ArchiveSource& Source) : FZorp(Zorp), FSource(Source) {
    fw::TStream& stream = Source.Stream();
    std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
    if (stream.Read(bytes.data(), TZorpHeader::RecordSize) < TZorpHeader::RecordSize ||
        !TZorpHeader::Decode(bytes.data()).HasMagic())
        throw std::runtime_error(Source.Name() + ": not a zorp archive");
    if (TZorpHeader::Decode(bytes.data()).ArchiveType != caMulti)
        throw std::runtime_error(Source.Name() +
                                 " holds a single stream, not an archive (use zorp expand)");
    stream.SetPosition(0);
    try {
        Zorp.ScanCompressedStream(stream, FEntries);
    } catch (const EArchiveDamaged& e) {
        Damage = Source.Name() + ": damaged after entry " + std::to_string(e.EntriesRead());
    } catch (const std::exception& e) {
        Zorp.FreeFileList(&FEntries);
        RaiseReadingArchive(Source.Name(), e);
    }
    TZorpHeader header;
    stream.SetPosition(0);
    Zorp.CheckHeader(stream, header, FMethodID);
}

Listing::~Listing() {
    FZorp.FreeFileList(&FEntries);
}

const TZorpFileInfo& Listing::Info(int i) const {
    return *dynamic_cast<const TZorpFileInfo*>(FEntries.GetObject(i));
}

void Listing::ExpandEntry(int i, fw::TStream& Dest) {
    const TZorpFileInfo& info = Info(i);
    fw::TStream& stream = FSource.Stream();
    stream.SetPosition(info.HeaderOffset + TZorpFileHeader::RecordSize +
                       static_cast<int64_t>(Name(i).size()));
    FZorp.DoExpand(Dest, stream, info.CompressedSize, info.UncompressedSize, info.Checksum,
                   info.Method, FMethodID, info.Locked ? LockScrambled : 0);
}

std::vector<std::string> SelectEntries(const Listing& Entries, const ArchiveOptions& o,
                                       bool& Missing) {
    std::vector<bool> taken(static_cast<size_t>(Entries.Count()), false);
    for (const std::string& pattern : o.Names) {
        bool matched = false;
        for (int i = 0; i < Entries.Count(); ++i) {
            if (MatchesEntry(HostPath(Entries.Name(i)), pattern, o.IgnoreCase)) {
                taken[static_cast<size_t>(i)] = true;
                matched = true;
            }
        }
        if (!matched && !Entries.Damage) {
            Warn(pattern + ": not found in " + Entries.ArchiveName());
            Missing = true;
        }
    }
    std::vector<std::string> selected;
    for (int i = 0; i < Entries.Count(); ++i)
        if (taken[static_cast<size_t>(i)])
            selected.push_back(Entries.Name(i));
    return selected;
}

void RaiseReadingArchive(const std::string& Archive, const std::exception& E) {
    if (dynamic_cast<const EInvalidHeaderArchiveType*>(&E) != nullptr)
        throw std::runtime_error(Archive +
                                 " holds a single stream, not an archive (use zorp expand)");
    if (dynamic_cast<const EInvalidHeader*>(&E) != nullptr)
        throw std::runtime_error(Archive + ": not a zorp archive");
    throw std::runtime_error(Archive + ": " + E.what());
}

} // namespace zorp::tool
