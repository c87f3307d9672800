// TZorp's archive writing: entries from files or streams, merging with an
// existing archive, and deleting entries. Every archive file is written
// complete beside the old one and then put in its place (TReplacementFile).
#include "component/ArchiveWalk.h"
#include "component/FileBuffer.h"
#include "component/OperationProgress.h"
#include "component/OutputMark.h"
#include "component/PathRules.h"
#include "component/Zorp.h"
#include "engine/CompThreadSafety.h"

#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "framework/base/ReplacementFile.h"
#include "framework/base/TextUtils.h"

#include <exception>
#include <limits>
#include <sys/stat.h>
#include <vector>

namespace zorp {

namespace {

constexpr int32_t MaxStoredName = 9999;

TZorpHeader ReadArchiveHeader(fw::TStream& Source) {
    std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
    Source.ReadBuffer(bytes.data(), TZorpHeader::RecordSize);
    return TZorpHeader::Decode(bytes.data());
}

// The existing archive ArchiveName, open for reading, or none when there is
// no such file or it is empty. A file that is not an archive is refused
// rather than replaced.
std::unique_ptr<fw::TFileStream> OpenArchiveToExtend(const std::string& ArchiveName) {
    if (!fw::FileExists(ArchiveName))
        return nullptr;
    auto file =
        std::make_unique<fw::TFileStream>(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    const int64_t size = file->Size();
    if (size == 0)
        return nullptr;
    if (size < TZorpHeader::RecordSize || !ReadArchiveHeader(*file).HasMagic())
        throw EInvalidHeader();
    file->SetPosition(0);
    return file;
}

} // namespace

void WriteArchiveHeader(fw::TStream& Dest, const TZorpHeader& Header) {
    const auto bytes = Header.Encode();
    Dest.WriteBuffer(bytes.data(), TZorpHeader::RecordSize);
}

void AddToTotal(TZorpHeader& Header, int64_t Size) {
    const int64_t total = static_cast<int64_t>(Header.Size) + Size;
    if (Size < 0 || total > std::numeric_limits<int32_t>::max())
        throw EDataTooLarge();
    Header.Size = static_cast<int32_t>(total);
}

[[noreturn]] void ThrowReadError(const std::string& Path, const fw::EReadError& Error) {
    const std::string prefix = Path + ": ";
    if (Error.Message().starts_with(prefix))
        throw Error;
    throw fw::EReadError(prefix + Error.what());
}

std::vector<int64_t> FileSizes(const fw::TStrings& List) {
    std::vector<int64_t> sizes;
    for (int i = 0; i < List.Count(); ++i) {
        struct stat st {};
        sizes.push_back(stat(List.Get(i).c_str(), &st) == 0 ? st.st_size : 0);
    }
    return sizes;
}

std::string NameBelowTarget(const std::string& Path, const std::string& Target, bool IgnoreCase) {
    if (!Target.empty() && Path.size() >= Target.size() &&
        SameEntryName(Path.substr(0, Target.size()), Target, IgnoreCase))
        return Path.substr(Target.size(), MaxStoredName);
    return Path;
}

TZorpFileHeader EntryTemplate(fw::TFileStream& File, const std::string& Path,
                              bool KeepPermissions) {
    TZorpFileHeader entry;
    entry.Date = fw::FileGetDate(File.Handle());
    entry.Attributes = static_cast<uint16_t>(fw::FileGetAttr(Path) & 0xFFFF);
    struct stat st {};
    if (KeepPermissions && fstat(File.Handle(), &st) == 0)
        entry.Attributes = WithPermissions(entry.Attributes, st.st_mode);
    return entry;
}

void TZorp::CompressStreamToArchiveStream(fw::TStream& Dest, fw::TStream& Source,
                                          const std::string& EntryName,
                                          const TZorpFileHeader& Template, std::string& MethodID,
                                          TZorpMethod Method) {
    TakeBackWhenCancelled(
        Dest, [&] { WriteArchiveEntry(Dest, Source, EntryName, Template, MethodID, Method); });
}

void TZorp::WriteArchiveEntry(fw::TStream& Dest, fw::TStream& Source, const std::string& EntryName,
                              const TZorpFileHeader& Template, std::string& MethodID,
                              TZorpMethod Method) {
    if (Method == coCustom && !OnCompress)
        Method = coNone; // as a single stream would be
    TZorpFileHeader header = Template;
    const int64_t sourceStart = Source.Position();
    const int64_t destStart = Dest.Position();
    const int64_t size = Source.Size() - sourceStart;
    if (size > std::numeric_limits<int32_t>::max())
        throw EDataTooLarge();
    PutFileHeader(Dest, header, EntryName);

    int32_t checksum = 0;
    int32_t compressedSize = 0;
    try {
        compressedSize = DoCompress(Dest, Source, Method, MethodID, checksum);
    } catch (const EUnableToCompress&) {
        Dest.SetPosition(destStart + TZorpFileHeader::RecordSize + header.NameLength);
        Source.SetPosition(sourceStart);
        Method = coNone;
        checksum = 0;
        compressedSize = DoCompress(Dest, Source, coNone, MethodID, checksum);
    }
    const int64_t end = Dest.Position();
    header.CompressedSize = compressedSize;
    header.Size = static_cast<int32_t>(size);
    header.Method = Method;
    header.Checksum = checksum;
    header.Lock = FKey != 0 ? LockScrambled : 0;
    Dest.SetPosition(destStart);
    const auto bytes = header.Encode();
    Dest.WriteBuffer(bytes.data(), TZorpFileHeader::RecordSize);
    Dest.SetPosition(end);
    FLastRatio = size > 0 ? PercentOf(compressedSize, static_cast<int32_t>(size)) : 100;
}

void TZorp::CompressFilesToStream(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method) {
    TakeBackWhenCancelled(Dest, [&] { WriteArchive(Dest, List, Method); });
}

void TZorp::WriteArchive(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method) {
    if (FThreads > 1 && !(Method == coCustom && OnCompress)) {
        WriteArchiveInParallel(Dest, List, Method);
        return;
    }
    TOperationTracker progress(FOperation, OnOperationProgress);
    if (progress.Wanted())
        progress.Plan(FileSizes(List));
    int index = 0; // the place of line i among the lines List began with
    const int64_t start = Dest.Position();
    std::string methodID = MethodIDs[Method];
    TZorpHeader archive;
    SetHeader(archive, methodID, caMulti, 0);
    WriteArchiveHeader(Dest, archive);
    bool droppedLast = false; // an entry was taken back at the end of Dest

    for (int i = 0; i < List.Count(); ++index) {
        const std::string path = List.Get(i);
        std::string name = NameBelowTarget(path, FTargetPath, FIgnoreCase);
        if (OnCheckFile) {
            OnCheckFile(name, cmCompress);
            if (name.empty()) {
                List.Delete(i);
                continue;
            }
            if (name == "*") {
                List.Delete(i);
                break;
            }
        }
        name = StripDrive(name);

        std::unique_ptr<fw::TFileStream> file;
        try {
            file = std::make_unique<fw::TFileStream>(path, fw::fmOpenRead | fw::fmShareDenyNone);
        } catch (const fw::EFOpenError&) {
            if (FExceptionOnFileError)
                throw;
            List.Delete(i);
            continue;
        }
        const TZorpFileHeader entryTemplate = EntryTemplate(*file, path, FKeepPermissions);
        const TZorpHeader before = archive;
        AddToTotal(archive, file->Size());
        const int64_t entryStart = Dest.Position();
        progress.Begin(index, name);
        try {
            fw::TBufferedStream source(*file, FileBufferSize);
            CompressStreamToArchiveStream(Dest, source, name, entryTemplate, methodID, Method);
        } catch (const fw::EReadError& e) {
            // A file that cannot be read to its end leaves no entry.
            if (FExceptionOnFileError)
                ThrowReadError(path, e);
            archive = before;
            Dest.SetPosition(entryStart);
            droppedLast = true;
            List.Delete(i);
            continue;
        }
        progress.End();
        droppedLast = false;
        List.Put(i, name);
        ++i;
    }
    if (droppedLast)
        Dest.SetSize(Dest.Position());

    archive.SetMethodID(methodID);
    Dest.SetPosition(start);
    WriteArchiveHeader(Dest, archive);
}

void TZorp::CompressFiles(const std::filesystem::path& ArchiveName, fw::TStrings& List,
                          TZorpMethod Method) {
    for (int i = 0; i < List.Count(); ++i) {
        if (SameEntryName(List.Get(i), ArchiveName, false)) {
            List.Delete(i); // never compress the archive being written into itself
            break;
        }
    }
    const std::unique_ptr<fw::TFileStream> old = OpenArchiveToExtend(ArchiveName);
    fw::TReplacementFile out(ArchiveName);
    bool merging = false;
    try {
        WriteThroughBuffer(out.Stream(), [&](fw::TStream& archive) {
            CompressFilesToStream(archive, List, Method);
            if (!old)
                return;
            // The merged archive: the new entries first, in list order, then
            // every old entry whose name was not compressed anew.
            merging = true;
            fw::TBufferedStream source(*old, FileBufferSize);
            AppendEntriesExcept(archive, source, List);
        });
        out.Commit(true);
    } catch (const fw::EWriteError&) {
        std::throw_with_nested(
            EInsufficientDiskSpace(merging ? "Disk full or write error during compression"
                                           : "Disk protected or full during compression"));
    }
}

void TZorp::CompressStreamToArchive(const std::filesystem::path& ArchiveName, fw::TStream& Source,
                                    std::string_view EntryName, TZorpMethod Method) {
    std::string methodID = MethodIDs[Method];
    TZorpHeader archive;
    const std::unique_ptr<fw::TFileStream> old = OpenArchiveToExtend(ArchiveName);
    fw::TReplacementFile out(ArchiveName);
    try {
        WriteThroughBuffer(out.Stream(), [&](fw::TStream& dest) {
            if (old) {
                // The old archive, read to its end, then copied as it is.
                fw::TBufferedStream source(*old, FileBufferSize);
                TArchiveWalk walk(*this, source);
                while (walk.Next()) {
                }
                archive = walk.Header();
                methodID = walk.MethodID();
                source.SetPosition(0);
                dest.CopyFrom(source, source.Size());
            } else {
                SetHeader(archive, methodID, caMulti, 0);
                WriteArchiveHeader(dest, archive);
            }
            AddToTotal(archive, Source.Size() - Source.Position());
            CompressStreamToArchiveStream(dest, Source, std::string(EntryName), TZorpFileHeader{},
                                          methodID, Method);
            archive.SetMethodID(methodID);
            dest.SetPosition(0);
            WriteArchiveHeader(dest, archive);
        });
        out.Commit(true);
    } catch (const fw::EWriteError&) {
        std::throw_with_nested(EInsufficientDiskSpace("Disk protected or full during compression"));
    }
}

int TZorp::AppendEntriesExcept(fw::TStream& Dest, fw::TStream& Source, const fw::TStrings& Except) {
    TArchiveWalk walk(*this, Source);
    TZorpHeader destHeader;
    if (Dest.Size() > TZorpHeader::RecordSize) {
        Dest.SetPosition(0);
        destHeader = ReadArchiveHeader(Dest);
    } else {
        destHeader = walk.Header();
        destHeader.Size = 0;
        Dest.SetPosition(0);
        WriteArchiveHeader(Dest, destHeader);
    }
    Dest.Seek(0, fw::soEnd);
    int leftOut = 0;
    while (walk.Next()) {
        TZorpFileHeader entry = walk.Entry();
        if (NameInList(Except, walk.Name(), FIgnoreCase)) {
            ++leftOut;
            continue;
        }
        PutFileHeader(Dest, entry, walk.Name());
        if (entry.CompressedSize > 0)
            Dest.CopyFrom(Source, entry.CompressedSize);
        AddToTotal(destHeader, entry.Size);
    }
    Dest.SetPosition(0);
    WriteArchiveHeader(Dest, destHeader);
    return leftOut;
}

void TZorp::AppendFilesExcept(const std::filesystem::path& DestName,
                              const std::filesystem::path& SourceName, const fw::TStrings& Except) {
    fw::TFileStream sourceFile(SourceName, fw::fmOpenRead | fw::fmShareDenyWrite);
    const std::unique_ptr<fw::TFileStream> old = OpenArchiveToExtend(DestName);
    fw::TReplacementFile out(DestName);
    WriteThroughBuffer(out.Stream(), [&](fw::TStream& dest) {
        if (old)
            dest.CopyFrom(*old, old->Size());
        fw::TBufferedStream source(sourceFile, FileBufferSize);
        AppendEntriesExcept(dest, source, Except);
    });
    out.Commit(true);
}

void TZorp::DeleteFiles(const std::filesystem::path& ArchiveName, fw::TStrings& List) {
    for (int i = 0; i < List.Count();) {
        if (!OnCheckFile) {
            ++i;
            continue;
        }
        std::string name = List.Get(i);
        OnCheckFile(name, cmDelete);
        if (name.empty()) {
            List.Delete(i);
        } else if (name == "*") {
            while (List.Count() > i)
                List.Delete(i);
            break;
        } else {
            ++i; // a changed name is not used
        }
    }
    if (List.Count() == 0)
        return;
    fw::TFileStream archive(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TReplacementFile out(ArchiveName);
    int deleted = 0;
    WriteThroughBuffer(out.Stream(), [&](fw::TStream& dest) {
        fw::TBufferedStream source(archive, FileBufferSize);
        deleted = AppendEntriesExcept(dest, source, List);
    });
    if (deleted > 0) // otherwise the archive stays as it is
        out.Commit(true);
}

void TZorp::CompressFile(const std::filesystem::path& ArchiveName, std::string& FileName,
                         TZorpMethod Method) {
    fw::TStringList list{FileName};
    CompressFiles(ArchiveName, list, Method);
    FileName = list.Count() > 0 ? list.Get(0) : std::string();
}

std::string TZorp::CompressFile(const std::filesystem::path& ArchiveName,
                                const std::filesystem::path& FileName, TZorpMethod Method) {
    std::string name = FileName.string();
    CompressFile(ArchiveName, name, Method);
    return name;
}

} // namespace zorp
