// TZorp's archive writing: entries from files or streams, merging with an
// existing archive through a temporary file, and deleting entries.
#include "component/FileBuffer.h"
#include "component/PathRules.h"
#include "component/Zorp.h"

#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "framework/base/TextUtils.h"

#include <limits>

namespace zorp {

namespace {

constexpr const char* TempExtension = ".$$$";
constexpr int32_t MaxStoredName = 9999;

void WriteArchiveHeader(fw::TStream& Dest, const TZorpHeader& Header) {
    const auto bytes = Header.Encode();
    Dest.WriteBuffer(bytes.data(), TZorpHeader::RecordSize);
}

// Adds Size to an archive total, refusing totals of 2 GiB or more.
void AddToTotal(TZorpHeader& Header, int64_t Size) {
    const int64_t total = static_cast<int64_t>(Header.Size) + Size;
    if (Size < 0 || total > std::numeric_limits<int32_t>::max())
        throw EDataTooLarge();
    Header.Size = static_cast<int32_t>(total);
}

// Removes what is left of an earlier run's temporary file.
void RemoveLeftover(const std::string& Name) {
    if (fw::FileExists(Name))
        fw::DeleteFile(Name);
}

} // namespace

void TZorp::ReplaceWithTempFile(const std::string& Target, const std::string& Temp) {
    fw::DeleteFile(Target);
    fw::RenameFile(Temp, Target);
}

void TZorp::CompressStreamToArchiveStream(fw::TStream& Dest, fw::TStream& Source,
                                          const std::string& EntryName,
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
    const int64_t start = Dest.Position();
    std::string methodID = MethodIDs[Method];
    TZorpHeader archive;
    SetHeader(archive, methodID, caMulti, 0);
    WriteArchiveHeader(Dest, archive);

    for (int i = 0; i < List.Count();) {
        const std::string path = List.Get(i);
        std::string name = path;
        const std::string& target = FTargetPath;
        if (!target.empty() && name.size() >= target.size() &&
            fw::CompareText(name.substr(0, target.size()), target) == 0)
            name = name.substr(target.size(), MaxStoredName);
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
        List.Put(i, name);
        TZorpFileHeader entryTemplate;
        entryTemplate.Date = fw::FileGetDate(file->Handle());
        entryTemplate.Attributes = static_cast<uint16_t>(fw::FileGetAttr(path) & 0xFFFF);
        AddToTotal(archive, file->Size());
        fw::TBufferedStream source(*file, FileBufferSize);
        CompressStreamToArchiveStream(Dest, source, name, entryTemplate, methodID, Method);
        ++i;
    }

    archive.SetMethodID(methodID);
    Dest.SetPosition(start);
    WriteArchiveHeader(Dest, archive);
}

void TZorp::CompressFiles(const std::string& ArchiveName, fw::TStrings& List, TZorpMethod Method) {
    const bool exists = fw::FileExists(ArchiveName);
    const std::string tempName = fw::ChangeFileExt(ArchiveName, TempExtension);
    const std::string outName = exists ? tempName : ArchiveName;
    for (int i = 0; i < List.Count(); ++i) {
        if (SameEntryName(List.Get(i), outName)) {
            List.Delete(i); // never compress the file being written into itself
            break;
        }
    }
    if (exists)
        RemoveLeftover(tempName);
    try {
        fw::TFileStream out(outName, fw::fmCreate);
        WriteThroughBuffer(
            out, [&](fw::TStream& archive) { CompressFilesToStream(archive, List, Method); });
    } catch (const fw::EWriteError&) {
        fw::DeleteFile(outName);
        throw EInsufficientDiskSpace("Disk protected or full during compression");
    } catch (const EDataTooLarge&) {
        fw::DeleteFile(outName);
        throw;
    }
    if (!exists)
        return;
    try {
        AppendFilesExcept(tempName, ArchiveName, List);
    } catch (const fw::EWriteError&) {
        throw EInsufficientDiskSpace("Disk full or write error during compression");
    }
    ReplaceWithTempFile(ArchiveName, tempName);
}

void TZorp::CompressStreamToArchive(const std::string& ArchiveName, fw::TStream& Source,
                                    const std::string& EntryName, TZorpMethod Method) {
    std::string methodID = MethodIDs[Method];
    TZorpHeader archive;
    std::unique_ptr<fw::TFileStream> file;
    // A file too short to hold an archive header is started anew.
    const bool extend = fw::FileExists(ArchiveName) &&
                        fw::TFileStream(ArchiveName, fw::fmOpenRead | fw::fmShareDenyNone).Size() >=
                            TZorpHeader::RecordSize;
    try {
        if (extend) {
            file = std::make_unique<fw::TFileStream>(ArchiveName,
                                                     fw::fmOpenReadWrite | fw::fmShareDenyWrite);
            CheckHeader(*file, archive, methodID);
            file->Seek(0, fw::soEnd);
        } else {
            file = std::make_unique<fw::TFileStream>(ArchiveName, fw::fmCreate);
            SetHeader(archive, methodID, caMulti, 0);
            WriteArchiveHeader(*file, archive);
        }
        AddToTotal(archive, Source.Size() - Source.Position());
        CompressStreamToArchiveStream(*file, Source, EntryName, TZorpFileHeader{}, methodID,
                                      Method);
        archive.SetMethodID(methodID);
        file->SetPosition(0);
        WriteArchiveHeader(*file, archive);
    } catch (const fw::EWriteError&) {
        throw EInsufficientDiskSpace("Disk protected or full during compression");
    }
}

void TZorp::AppendFilesExcept(const std::string& DestName, const std::string& SourceName,
                              const fw::TStrings& Except) {
    fw::TFileStream source(SourceName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TFileStream dest(DestName, fw::FileExists(DestName)
                                       ? fw::fmOpenReadWrite | fw::fmShareDenyWrite
                                       : fw::fmCreate);
    if (source.Size() <= TZorpHeader::RecordSize + TZorpFileHeader::RecordSize)
        return;
    TZorpHeader sourceHeader;
    std::string methodID;
    CheckHeader(source, sourceHeader, methodID); // copy only from a true archive

    TZorpHeader destHeader;
    if (dest.Size() > TZorpHeader::RecordSize) {
        std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
        dest.ReadBuffer(bytes.data(), TZorpHeader::RecordSize);
        destHeader = TZorpHeader::Decode(bytes.data());
        dest.Seek(0, fw::soEnd);
    } else {
        destHeader = sourceHeader;
        destHeader.Size = 0;
        WriteArchiveHeader(dest, destHeader);
    }

    TZorpFileHeader entry;
    std::string name;
    while (NextEntry(source, entry, name)) {
        if (NameInList(Except, name)) {
            source.Seek(entry.CompressedSize, fw::soCurrent);
            continue;
        }
        PutFileHeader(dest, entry, name);
        if (entry.CompressedSize > 0)
            dest.CopyFrom(source, entry.CompressedSize);
        AddToTotal(destHeader, entry.Size);
    }
    dest.SetPosition(0);
    WriteArchiveHeader(dest, destHeader);
}

void TZorp::DeleteFiles(const std::string& ArchiveName, fw::TStrings& List) {
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
    const std::string tempName = fw::ChangeFileExt(ArchiveName, TempExtension);
    RemoveLeftover(tempName);
    AppendFilesExcept(tempName, ArchiveName, List);
    ReplaceWithTempFile(ArchiveName, tempName);
}

void TZorp::CompressFile(const std::string& ArchiveName, std::string& FileName,
                         TZorpMethod Method) {
    fw::TStringList list{FileName};
    CompressFiles(ArchiveName, list, Method);
    FileName = list.Count() > 0 ? list.Get(0) : std::string();
}

} // namespace zorp
