// TZorp's archive reading: walking the entries, listing them, and expanding
// them to files or into a stream.
#include "component/FileBuffer.h"
#include "component/FileInfo.h"
#include "component/PathRules.h"
#include "component/Zorp.h"

#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"

namespace zorp {

bool TZorp::NextEntry(fw::TStream& Stream, TZorpFileHeader& FileHeader, std::string& Name) {
    if (!GetFileHeader(Stream, FileHeader, Name))
        return false;
    const int64_t left = Stream.Size() - Stream.Position();
    return FileHeader.CompressedSize >= 0 && FileHeader.CompressedSize <= left &&
           FileHeader.Size >= 0;
}

void TZorp::ScanCompressedStream(fw::TStream& Stream, fw::TStrings& List) {
    if (Stream.Size() - Stream.Position() < TZorpHeader::RecordSize + TZorpFileHeader::RecordSize)
        return;
    TZorpHeader archive;
    std::string methodID;
    CheckHeader(Stream, archive, methodID);
    TZorpFileHeader entry;
    std::string name;
    while (NextEntry(Stream, entry, name)) {
        auto info = std::make_unique<TZorpFileInfo>();
        info->FileDate = entry.Date;
        info->Attributes = static_cast<int16_t>(entry.Attributes);
        info->UncompressedSize = entry.Size;
        info->CompressedSize = entry.CompressedSize;
        info->Method = static_cast<TZorpMethod>(entry.Method);
        info->Checksum = entry.Checksum;
        info->HeaderOffset = static_cast<int32_t>(Stream.Position() - TZorpFileHeader::RecordSize -
                                                  entry.NameLength);
        info->Locked = entry.Lock > 0;
        List.AddObject(name, info.release()); // the list's holder frees it
        Stream.Seek(entry.CompressedSize, fw::soCurrent);
    }
}

void TZorp::ScanCompressedFile(const std::string& ArchiveName, fw::TStrings& List) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    ScanCompressedStream(file, List);
}

void TZorp::ExpandFilesFromStream(fw::TStream& Stream, fw::TStrings* List) {
    fw::TStringList written;
    TZorpHeader archive;
    std::string methodID;
    CheckHeader(Stream, archive, methodID);
    int64_t passed = 0;
    TZorpFileHeader entry;
    std::string name;
    while (NextEntry(Stream, entry, name) && passed < archive.Size) {
        const int64_t dataStart = Stream.Position();
        const int64_t dataEnd = dataStart + entry.CompressedSize;
        passed += entry.Size;
        if (List != nullptr && !NameInList(*List, name)) {
            Stream.SetPosition(dataEnd);
            continue;
        }
        const std::string stored = HostPath(name);
        std::string target = !stored.empty() && stored[0] == '/' ? stored : FTargetPath + stored;
        if (OnCheckFile) {
            OnCheckFile(target, cmExpand);
            if (target.empty()) {
                Stream.SetPosition(dataEnd);
                continue;
            }
            if (target == "*")
                break;
        }
        std::unique_ptr<fw::TFileStream> file;
        if (LeavesTarget(name)) {
            // Treated as a file that cannot be created: nothing is written
            // outside the target directory.
            if (FExceptionOnFileError)
                throw fw::EFCreateError("Cannot create file \"" + target +
                                        "\". The entry name leads out of the target directory");
        } else {
            if (CheckDiskSpace(target) < entry.Size)
                throw EInsufficientDiskSpace("Not enough disk space to expand " + target);
            if (FMakeDirectories)
                MakeDirectoryPath(fw::ExtractFilePath(target));
            try {
                file = std::make_unique<fw::TFileStream>(target, fw::fmCreate);
            } catch (const fw::EFCreateError&) {
                if (FExceptionOnFileError)
                    throw;
            }
        }
        if (!file) {
            Stream.SetPosition(dataEnd);
            continue;
        }
        try {
            WriteThroughBuffer(*file, [&](fw::TStream& out) {
                DoExpand(out, Stream, entry.CompressedSize, entry.Size, entry.Checksum,
                         static_cast<TZorpMethod>(entry.Method), methodID, entry.Lock);
            });
            fw::FileSetDate(file->Handle(), entry.Date);
            written.Add(target);
        } catch (const EInvalidKey&) {
            file.reset();
            fw::DeleteFile(target);
            throw;
        } catch (...) {
            file.reset();
            fw::FileSetAttr(target, entry.Attributes);
            throw;
        }
        file.reset();
        fw::FileSetAttr(target, entry.Attributes);
        // A decoder may stop before the last byte of its data.
        Stream.SetPosition(dataEnd);
    }
    if (List != nullptr)
        List->Assign(written);
}

void TZorp::ExpandFiles(const std::string& ArchiveName, fw::TStrings* List) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream archive(file, FileBufferSize);
    ExpandFilesFromStream(archive, List);
}

void TZorp::ExpandStreamFromArchive(const std::string& ArchiveName, fw::TStream& Dest,
                                    const std::string& EntryName) {
    fw::TFileStream archiveFile(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream file(archiveFile, FileBufferSize);
    TZorpHeader archive;
    std::string methodID;
    CheckHeader(file, archive, methodID);
    int64_t passed = 0;
    TZorpFileHeader entry;
    std::string name;
    while (passed < archive.Size && NextEntry(file, entry, name)) {
        const int64_t dataEnd = file.Position() + entry.CompressedSize;
        if (SameEntryName(name, EntryName))
            DoExpand(Dest, file, entry.CompressedSize, entry.Size, entry.Checksum,
                     static_cast<TZorpMethod>(entry.Method), methodID, entry.Lock);
        file.SetPosition(dataEnd);
        passed += entry.Size;
    }
}

void TZorp::ExpandFile(std::string& FileName, const std::string& ArchiveName) {
    fw::TStringList list{FileName};
    ExpandFiles(ArchiveName, &list);
    FileName = list.Count() > 0 ? list.Get(0) : std::string();
}

} // namespace zorp
