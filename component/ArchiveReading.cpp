// TZorp's archive reading: listing the entries, and expanding them to files
// or into a stream.
#include "component/ArchiveParts.h"
#include "component/ArchiveWalk.h"
#include "component/ExtractionTarget.h"
#include "component/FileBuffer.h"
#include "component/FileInfo.h"
#include "component/OperationProgress.h"
#include "component/OutputMark.h"
#include "component/PathRules.h"
#include "component/Zorp.h"

#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "framework/base/NullStream.h"
#include "framework/base/ReplacementFile.h"

#include <optional>
#include <vector>

namespace zorp {

namespace {

// Fewer bytes than a header and one entry hold no entry. They are listed as
// nothing, unless they begin like an archive: then they are one cut off.
bool TooShortForAnEntry(fw::TStream& Stream) {
    const int64_t left = Stream.Size() - Stream.Position();
    if (left >= TZorpHeader::RecordSize + TZorpFileHeader::RecordSize)
        return false;
    if (left <= TZorpHeader::RecordSize)
        return true;
    std::array<char, HeaderMagic.size()> magic{};
    const int64_t start = Stream.Position();
    Stream.ReadBuffer(magic.data(), static_cast<int32_t>(magic.size()));
    Stream.SetPosition(start);
    return magic != HeaderMagic;
}

// The listing of the walk's current entry.
TZorpFileInfo InfoOf(const TArchiveWalk& Walk) {
    const TZorpFileHeader& entry = Walk.Entry();
    TZorpFileInfo info;
    info.FileDate = entry.Date;
    info.Attributes = static_cast<int16_t>(entry.Attributes);
    info.UncompressedSize = entry.Size;
    info.CompressedSize = entry.CompressedSize;
    info.Method = static_cast<TZorpMethod>(entry.Method);
    info.Checksum = entry.Checksum;
    info.HeaderOffset = static_cast<int32_t>(Walk.EntryStart());
    info.Locked = entry.Lock > 0;
    info.Name = Walk.Name();
    return info;
}

} // namespace

bool MarkFound(const fw::TStrings& List, const std::string& Name, bool IgnoreCase,
               std::vector<bool>& Found) {
    Found.resize(static_cast<size_t>(List.Count())); // a handler may have changed List
    bool any = false;
    for (int i = 0; i < List.Count(); ++i) {
        if (SameEntryName(List.Get(i), Name, IgnoreCase)) {
            Found[static_cast<size_t>(i)] = true;
            any = true;
        }
    }
    return any;
}

std::vector<std::string> Unmarked(const fw::TStrings& List, const std::vector<bool>& Found) {
    std::vector<std::string> names;
    for (int i = 0; i < List.Count(); ++i)
        if (static_cast<size_t>(i) >= Found.size() || !Found[static_cast<size_t>(i)])
            names.push_back(List.Get(i));
    return names;
}

std::vector<int64_t> SelectedSizes(TArchiveWalk Walk, const fw::TStrings* List, bool IgnoreCase) {
    std::vector<int64_t> sizes;
    try {
        while (Walk.Next())
            if (List == nullptr || NameInList(*List, Walk.Name(), IgnoreCase))
                sizes.push_back(Walk.Entry().Size);
    } catch (const EArchiveDamaged&) {
        // The expansion itself meets the damage and reports it.
    }
    return sizes;
}

void TZorp::ScanCompressedStream(fw::TStream& Stream, fw::TStrings& List) {
    if (TooShortForAnEntry(Stream))
        return;
    TArchiveWalk walk(*this, Stream);
    while (walk.Next()) {
        auto info = std::make_unique<TZorpFileInfo>(InfoOf(walk));
        List.AddObject(walk.Name(), info.release()); // the list's holder frees it
    }
}

void TZorp::ScanCompressedFile(const std::filesystem::path& ArchiveName, fw::TStrings& List) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    ScanCompressedStream(file, List);
}

std::vector<TZorpFileInfo> TZorp::ScanCompressedStream(fw::TStream& Stream) {
    std::vector<TZorpFileInfo> entries;
    if (TooShortForAnEntry(Stream))
        return entries;
    TArchiveWalk walk(*this, Stream);
    while (walk.Next())
        entries.push_back(InfoOf(walk));
    return entries;
}

std::vector<TZorpFileInfo> TZorp::ScanCompressedFile(const std::filesystem::path& ArchiveName) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    return ScanCompressedStream(file);
}

TEntrySelection::TEntrySelection(TZorp& Zorp, TArchiveWalk& Walk, const fw::TStrings* List,
                                 TEntryUse Use, TOperationTracker& Progress)
    : FZorp(Zorp), FWalk(Walk), FList(List), FUse(Use),
      FFound(List != nullptr ? static_cast<size_t>(List->Count()) : 0) {
    if (Progress.Wanted())
        Progress.Plan(SelectedSizes(Walk, List, Zorp.IgnoreCase()));
}

bool TEntrySelection::Next(std::string& Target) {
    for (;;) {
        if (!FWalk.Next())
            return false;
        const std::string& name = FWalk.Name();
        if (FList != nullptr && !MarkFound(*FList, name, FZorp.IgnoreCase(), FFound))
            continue;
        ++FIndex;
        if (FUse == TEntryUse::Verify) {
            Target = name;
            return true;
        }
        const std::string stored = HostPath(name);
        Target = !stored.empty() && stored[0] == '/' ? stored : FZorp.TargetPath() + stored;
        if (!FZorp.OnCheckFile)
            return true;
        FZorp.OnCheckFile(Target, cmExpand);
        if (Target == "*") {
            FStopped = true;
            return false;
        }
        if (!Target.empty())
            return true;
    }
}

void TEntrySelection::Finish(fw::TStrings* List, const fw::TStringList& Done) const {
    if (List == nullptr)
        return;
    const std::vector<std::string> missing =
        FStopped ? std::vector<std::string>() : Unmarked(*List, FFound);
    List->Assign(Done);
    if (!missing.empty())
        throw EEntryNotFound(missing);
}

void TZorp::ExpandFilesFromStream(fw::TStream& Stream, fw::TStrings* List) {
    ExpandEntries(Stream, List, TEntryUse::ToFile);
}

void TZorp::VerifyFilesFromStream(fw::TStream& Stream, fw::TStrings* List) {
    ExpandEntries(Stream, List, TEntryUse::Verify);
}

void TZorp::ExpandEntries(fw::TStream& Stream, fw::TStrings* List, TEntryUse Use) {
    if (FThreads > 1) {
        ExpandEntriesInParallel(Stream, List, Use);
        return;
    }
    fw::TStringList done;
    TArchiveWalk walk(*this, Stream);
    TExtractionPlaces places;
    TOperationTracker progress(FOperation, OnOperationProgress);
    TEntrySelection selection(*this, walk, List, Use, progress);
    std::string target;
    while (selection.Next(target)) {
        progress.Begin(selection.Index(), walk.Name());
        const TZorpFileHeader& entry = walk.Entry();
        const auto expand = [&](fw::TStream& Dest) {
            DoExpand(Dest, walk.Stream(), entry.CompressedSize, entry.Size, entry.Checksum,
                     static_cast<TZorpMethod>(entry.Method), walk.MethodID(), entry.Lock);
        };
        if (!ExpandEntryOrReport(walk.Name(), entry, places, target, Use, expand))
            continue;
        progress.End();
        done.Add(target);
    }
    selection.Finish(List, done);
}

bool TZorp::ExpandEntryOrReport(const std::string& Name, const TZorpFileHeader& Entry,
                                TExtractionPlaces& Places, const std::string& Target, TEntryUse Use,
                                const TEntryFill& Fill) {
    try {
        if (Use == TEntryUse::Verify) {
            fw::TNullStream nowhere;
            Fill(nowhere);
            return true;
        }
        if (LeavesTarget(Name))
            throw fw::EFCreateError("Cannot create file \"" + Target +
                                    "\". The entry name leads out of the target directory");
        ExpandEntryToFile(Entry, Places, Target, Fill);
        return true;
    } catch (const EOperationCancelled&) {
        throw; // ends the operation, whoever reports errors
    } catch (const fw::EFCreateError& e) {
        // Treated as a file that cannot be created: skipped, or raised.
        if (!FExceptionOnFileError)
            return false;
        if (!OnExpandError)
            throw;
        OnExpandError(Target, e);
        return false;
    } catch (const fw::Exception& e) {
        if (!OnExpandError)
            throw;
        OnExpandError(Target, e);
        return false;
    }
}

void TZorp::ExpandEntryToFile(const TZorpFileHeader& Entry, TExtractionPlaces& Places,
                              const std::string& Target, const TEntryFill& Fill) {
    if (CheckDiskSpace(Target) < Entry.Size)
        throw EInsufficientDiskSpace("Not enough disk space to expand " + Target);
    std::string name;
    const fw::TDirectory& directory = Places.Open(Target, FTargetPath, FMakeDirectories, name);
    const int32_t permissions = FKeepPermissions ? PermissionsOf(Entry.Attributes) : -1;
    std::optional<mode_t> mode;
    if (permissions >= 0)
        mode = static_cast<mode_t>(permissions);
    fw::TReplacementFile file(directory, name, Target, mode);
    fw::TFileStream& out = file.Stream();
    WriteThroughBuffer(out, Fill);
    fw::FileSetDate(out.Handle(), Entry.Date);
    if (!mode) // recorded permissions hold read-only too
        fw::FileSetAttr(out.Handle(), Entry.Attributes);
    file.Commit(false);
}

void TZorp::ExpandFiles(const std::filesystem::path& ArchiveName, fw::TStrings* List) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream archive(file, FileBufferSize);
    ExpandFilesFromStream(archive, List);
}

void TZorp::VerifyFiles(const std::filesystem::path& ArchiveName, fw::TStrings* List) {
    fw::TFileStream file(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream archive(file, FileBufferSize);
    VerifyFilesFromStream(archive, List);
}

void TZorp::ExpandStreamFromArchive(const std::filesystem::path& ArchiveName, fw::TStream& Dest,
                                    std::string_view EntryName) {
    fw::TFileStream archiveFile(ArchiveName, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream file(archiveFile, FileBufferSize);
    TArchiveWalk walk(*this, file);
    const std::string wanted(EntryName);
    bool found = false;
    TakeBackWhenCancelled(Dest, [&] {
        while (walk.Next()) {
            const TZorpFileHeader& entry = walk.Entry();
            if (!SameEntryName(walk.Name(), wanted, FIgnoreCase))
                continue;
            found = true;
            DoExpand(Dest, file, entry.CompressedSize, entry.Size, entry.Checksum,
                     static_cast<TZorpMethod>(entry.Method), walk.MethodID(), entry.Lock);
        }
    });
    if (!found)
        throw EEntryNotFound({wanted});
}

void TZorp::ExpandFile(std::string& FileName, const std::filesystem::path& ArchiveName) {
    fw::TStringList list{FileName};
    ExpandFiles(ArchiveName, &list);
    FileName = list.Count() > 0 ? list.Get(0) : std::string();
}

std::filesystem::path TZorp::ExpandFile(const std::filesystem::path& FileName,
                                        const std::filesystem::path& ArchiveName) {
    std::string name = FileName.string();
    ExpandFile(name, ArchiveName);
    return name;
}

} // namespace zorp
