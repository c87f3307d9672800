#pragma once

#include "../common/Errors.h"
#include "../common/ZorpTypes.h"
#include "../framework/base/Component.h"
#include "../framework/base/Export.h"
#include "../framework/base/MemoryStream.h"
#include "../framework/base/Stream.h"
#include "../framework/base/StringList.h"
#include "FileInfo.h"
#include "Headers.h"
#include "StreamIdentity.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorp {

class TArchiveWalk;
class TCompThreadSafety;
enum class TEntryUse; // what an expansion does with each entry (ArchiveParts.h)
class TExtractionPlaces;
class TOperationTracker;
struct TRecordedEvent;

/// The compression component. It owns one engine object, carries the
/// settings every operation shares (Key, TargetPath and four switches) and
/// the application's event handlers, and runs every compression and
/// expansion through the stream driver ProcessStreams.
///
/// A TZorp runs one operation at a time, on the thread that calls it, and
/// all its events fire on that thread. It is not to be shared between
/// threads: every operation uses the component's one engine object. Use one
/// TZorp per thread; separate components share nothing.
///
/// A TZorp can be moved, not copied. The new one takes the settings, the
/// event handlers, the last ratio and duration and the engine, and has no
/// owner and no name (an owner would free it). The moved-from one stays with
/// its owner and its name, usable, with a fresh engine, default settings and
/// no event handlers (nor form-file bindings of them). Components that refer
/// to it (a compressed field's CompressSource) still refer to the moved-from
/// one. Move a component only between operations.
class ZORP_API TZorp : public fw::TComponent {
public:
    /// The class name, as ClassName returns it and the class registry knows it.
    static constexpr const char* StaticClassName = "TZorp";

    /// Starts with default settings, no event handlers and a fresh engine;
    /// AOwner, when not null, owns the component and frees it.
    explicit TZorp(fw::TComponent* AOwner);
    /// Takes Other's settings, event handlers, last ratio and duration and
    /// engine; the new component has no owner and no name. Not noexcept: the
    /// moved-from component is left with a fresh engine, which is allocated.
    TZorp(TZorp&& Other); // NOLINT(performance-noexcept-move-constructor)
    /// Takes Other's state as the move constructor does; this one keeps its
    /// owner and name.
    TZorp& operator=(TZorp&& Other); // NOLINT(performance-noexcept-move-constructor)
    /// Frees the engine.
    ~TZorp() override;
    /// Returns "TZorp".
    std::string ClassName() const override { return StaticClassName; }

    // Events (published, in this order).

    /// Compresses data of coCustom with the application's own method; while it
    /// is unbound, coCustom data are stored (coNone) instead.
    TZorpEvent OnCompress;
    /// Expands data of the application's own method; while it is unbound,
    /// such data raise EUnsupportedMethod.
    TExpandEvent OnExpand;
    /// Vets or renames each file before CompressFiles, CompressFilesToStream,
    /// ExpandFiles, ExpandFilesFromStream or DeleteFiles handles it (see
    /// TFilenameCheckEvent).
    TFilenameCheckEvent OnCheckFile;
    /// Asked about a method ID that is not built in; an ID it does not accept
    /// raises EUnrecognizedCompressionMethod.
    TRecognizeEvent OnRecognize;
    /// Progress of each run in percent. Setting it to -1 cancels: the
    /// operation raises EOperationCancelled and takes back what it wrote (a
    /// caller's stream is cut back to where it began, a new archive or an
    /// expanded file does not appear, an existing archive stays as it was).
    /// The driver itself (ProcessStreams) only stops, as documented there.
    TShowProgressEvent OnShowProgress;

    /// Not published: when bound, an archive entry that cannot be expanded to
    /// its file (damaged data, a wrong key, a file that cannot be created or
    /// written) is reported here and left out, and ExpandFilesFromStream goes
    /// on with the next entry; unbound, the error propagates. A file that
    /// cannot be created is still skipped in silence when
    /// ExceptionOnFileError is off. A damaged archive always raises.
    TExpandErrorEvent OnExpandError;
    /// Not published: progress of a whole archive operation (CompressFiles,
    /// CompressFilesToStream, ExpandFiles, ExpandFilesFromStream), in order:
    /// as each entry begins, as its run reads, and as it is done, with the
    /// entry's name, its index and the count of entries, and the bytes done
    /// of the operation's total (see TOperationProgress). The total and the
    /// count are found before the work starts (the files' sizes, a walk over
    /// the archive's headers), only while this is bound. Skipped entries fire
    /// nothing but count as done. OnShowProgress still reports each run.
    TOperationProgressEvent OnOperationProgress;

    // Published properties.

    /// The directory expanded files go under, cut from the front of the names
    /// CompressFiles stores; it is kept with a trailing "/" (an empty value
    /// stays empty).
    /// @{
    const std::string& TargetPath() const { return FTargetPath; }
    void SetTargetPath(const std::filesystem::path& Value);
    /// @}
    /// Whether expansion creates the missing directories on the way to a
    /// file; off, a file whose directory is missing cannot be created.
    /// @{
    bool MakeDirectories() const { return FMakeDirectories; }
    void SetMakeDirectories(bool Value) { FMakeDirectories = Value; }
    /// @}
    /// Whether a file that cannot be opened or read to its end (compressing)
    /// or created (expanding) raises; off, the file is left out in silence.
    /// @{
    bool ExceptionOnFileError() const { return FExceptionOnFileError; }
    void SetExceptionOnFileError(bool Value) { FExceptionOnFileError = Value; }
    /// @}
    /// The key locking the data: nonzero, compressed data are scrambled with
    /// it, their checksum includes it and their header marks them locked;
    /// locked data expand only with the same key (EInvalidKey otherwise).
    /// @{
    int32_t Key() const { return FKey; }
    void SetKey(int32_t Value) { FKey = Value; }
    /// @}
    /// Whether each archive entry is checked against the free disk space
    /// (see CheckDiskSpace) before it is expanded to a file; an entry that
    /// does not fit raises EInsufficientDiskSpace.
    /// @{
    bool CheckSpaceBeforeExpand() const { return FCheckSpaceBeforeExpand; }
    void SetCheckSpaceBeforeExpand(bool Value) { FCheckSpaceBeforeExpand = Value; }
    /// @}
    /// Entry names are compared exactly (with "\" read as "/"), since file
    /// names differing in case are different files here. With IgnoreCase
    /// they are compared with ASCII case folded, as archives made on file
    /// systems that do not tell case apart expect; so is a TargetPath prefix.
    /// @{
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    /// @}
    /// With KeepPermissions, CompressFiles and CompressFilesToStream record a
    /// file's permission bits (rwx for owner, group and others) in its
    /// entry's attribute word, beside the file attributes (see
    /// PermissionsOf), and expansion gives a file whose entry carries them
    /// those bits, less the process's umask. Off, attributes are as they
    /// always were: only read-only is restored.
    /// @{
    bool KeepPermissions() const { return FKeepPermissions; }
    void SetKeepPermissions(bool Value) { FKeepPermissions = Value; }
    /// @}

    /// The threads the archive operations over many entries work on:
    /// CompressFiles and CompressFilesToStream compress, ExpandFiles and
    /// ExpandFilesFromStream expand (values below 1 count as 1). With 1, the
    /// default, everything runs on the caller's thread. With N above 1, up to
    /// N worker threads, each with an engine of its own, compress files into
    /// memory, or expand entries read in archive order into memory, while the
    /// caller's thread appends the entries to the archive, or writes the files
    /// (with every check and rule of one thread), one after another in order.
    /// The archive is byte for byte the one a single thread writes. What the
    /// caller sees stays as with one thread, on the caller's thread:
    /// OnCheckFile is asked about each file or entry in order before its work
    /// starts (it may be asked about up to ParallelAhead times N ahead of the
    /// one being finished, so an operation that fails or is cancelled may
    /// have asked about more); the progress events of each entry (OnShowProgress,
    /// OnOperationProgress) are those a single thread fires, replayed in
    /// order once the entry is done, and a cancel there takes back the
    /// operation as always; OnExpandError reports and the first error in
    /// order are those of one thread, and nothing behind that error is
    /// written. At most ParallelAhead times N entries are in flight, each of
    /// at most ParallelEntryLimit bytes (packed and expanded), and no more are
    /// taken on while those held in memory reach N + 1 times
    /// ParallelEntryLimit bytes; a larger one is handled
    /// on the caller's thread in its turn, as are coCustom data when OnCompress
    /// is bound, coCustom entries, and entries below ParallelExpandMinimum
    /// when expanding to files. The component itself is still used by
    /// one caller thread.
    /// @{
    int32_t Threads() const { return FThreads; }
    void SetThreads(int32_t Value) { FThreads = Value < 1 ? 1 : Value; }
    /// @}
    /// The largest file or entry (16 MiB) that a worker thread compresses or
    /// expands into memory when Threads is above 1.
    static constexpr int64_t ParallelEntryLimit = int64_t{16} * 1024 * 1024;
    /// How many entries per thread an archive operation takes on ahead of
    /// the one it finishes (8), so that a large entry in front does not keep
    /// the other threads waiting.
    static constexpr int ParallelAhead = 8;
    /// The smallest entry (64 KiB expanded) that a worker thread expands to
    /// a file: creating the file costs the caller's thread more than the
    /// expansion of a smaller one, so handing it over gains nothing, and the
    /// caller's thread expands it in its turn. Verifying hands over every
    /// entry.
    static constexpr int64_t ParallelExpandMinimum = int64_t{64} * 1024;

    /// Size of the last compression result as a percentage of the input.
    int32_t LastRatio() const { return FLastRatio; }
    /// Milliseconds taken by the last compression or expansion run.
    int32_t LastDuration() const { return FLastDuration; }

    /// Bytes written (or to be written) in front of the compressed data, which
    /// the compressed data must leave room for: 21 behind a stream header,
    /// otherwise 0.
    /// @{
    int32_t HeaderReserve() const { return FHeaderReserve; }
    void SetHeaderReserve(int32_t Value) { FHeaderReserve = Value; }
    /// @}

    /// The stream driver: runs exactly one codec from Source (SourceSize bytes
    /// from its position) into Dest. Returns the number of bytes written (0
    /// when the run was cancelled at the opening progress event), and when
    /// expanding also the bytes the data hold past ExpandedSize, which the
    /// LZH and LZH5 decoders decode but do not write; stores the byte sum of
    /// the uncompressed data in Checksum. ExpandedSize is the output size the
    /// LZH and LZH5 decoders must produce; Scrambled says the data to expand
    /// was stored with a key. A source that ends before SourceSize bytes
    /// raises fw::EReadError.
    int32_t ProcessStreams(fw::TStream& Dest, fw::TStream& Source, int32_t SourceSize,
                           int32_t ExpandedSize, TZorpMethod Method, int32_t& Checksum,
                           TCProcessMode Mode, bool Scrambled);

    // Headers.

    /// Maps a method ID to a method (asking OnRecognize about foreign IDs) or
    /// raises EUnrecognizedCompressionMethod.
    TZorpMethod Recognize(const std::string& MethodID);
    /// Fills a stream header: magic, the ID's first three characters, size,
    /// type, checksum 0, and the lock field 2 for any nonzero Key.
    void SetHeader(TZorpHeader& Header, const std::string& MethodID, TZorpArchiveType ArchiveType,
                   int32_t Size);
    /// Reads and validates an archive header; with fewer than 21 bytes left
    /// it reads nothing and makes a new, empty archive header instead.
    void CheckHeader(fw::TStream& Stream, TZorpHeader& Header, std::string& MethodID);
    /// Reads one per-file header and its name; false when either is cut short.
    bool GetFileHeader(fw::TStream& Stream, TZorpFileHeader& FileHeader, std::string& Name);
    /// Writes one per-file header (its name length set from Name) and the name.
    void PutFileHeader(fw::TStream& Stream, TZorpFileHeader& FileHeader, const std::string& Name);

    // Single streams.

    /// Writes Source, from its position to its end, as one compressed stream
    /// into Dest: with a 21-byte header unless the data end up stored with
    /// Key 0.
    void Compress(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method);
    /// Reads a stream that Compress wrote back from Source's position into
    /// Dest and verifies its checksum and key.
    void Expand(fw::TStream& Dest, fw::TStream& Source);
    /// Compress and Expand on standard streams, from where they stand (see
    /// fw::TStdInputStream). Compress needs the size of its source before it
    /// starts and rereads it when it falls back to storing, and it patches
    /// the header in front of its output at the end; Expand needs the size of
    /// its source. A source whose buffer cannot seek (a pipe) is therefore
    /// first read to its end into an unnamed temporary file, and so is the
    /// output of Compress for a destination that cannot seek, which then gets
    /// it in one piece. Memory stays flat whatever the pipe carries. Dest is
    /// flushed at the end; a failed flush raises fw::EWriteError.
    /// @{
    void Compress(std::ostream& Dest, std::istream& Source, TZorpMethod Method);
    void Expand(std::ostream& Dest, std::istream& Source);
    /// @}
    /// One compression run (the driver, or OnCompress for coCustom); returns
    /// the compressed size and leaves the checksum plus Key in Checksum. A
    /// cancelled run raises EOperationCancelled, as does DoExpand's; these
    /// two leave Dest as the run left it.
    int32_t DoCompress(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method,
                       std::string& MethodID, int32_t& Checksum);
    /// One expansion run (the driver, or OnExpand for coCustom), checked
    /// against the expected Checksum and Lock of a header, then against
    /// ExpandedSize: fewer or more bytes raise EExpandedSizeMismatch. A method
    /// it cannot expand (an unknown ordinal, coCustom without OnExpand)
    /// raises EUnsupportedMethod before anything is read or written.
    void DoExpand(fw::TStream& Dest, fw::TStream& Source, int32_t SourceSize, int32_t ExpandedSize,
                  int32_t Checksum, TZorpMethod Method, const std::string& MethodID, int32_t Lock);

    // File lists (the usual input of CompressFiles).

    /// Clears List and fills it with Directory + name for the entries that match
    /// Mask (one pattern, "/S" at its end to enter subdirectories); with
    /// TakeEvery set, every entry is taken and directories are listed too.
    void GetAllFilesInDir(fw::TStrings* List, const std::filesystem::path& Directory,
                          const std::string& Mask, bool TakeEvery);
    /// GetAllFilesInDir for a path whose last part is a mask, as "/data/*.txt/S".
    void GetMatchingFiles(fw::TStrings* List, const std::filesystem::path& FileSpec);
    /// Frees the object of every line (TZorpFileInfo of a listing), then
    /// clears the list.
    void FreeFileList(fw::TStrings* List);
    /// Free bytes of drive 0 (the file system of the current directory); -1
    /// for other drive numbers or when the system cannot tell.
    float DiskFree(uint8_t Drive);
    /// Bytes that may be written to Path: the free space of the file system
    /// that will hold it, plus the size of a file already there; 2147483647
    /// when CheckSpaceBeforeExpand is off or the space is at least that.
    int32_t CheckDiskSpace(const std::filesystem::path& Path);

    // Archive writing.

    /// An archive file is never changed in place: every operation that writes
    /// one builds the complete new archive beside it and puts it in place with
    /// one atomic rename once it is written and synced to disk (see
    /// fw::TReplacementFile), so a failure or a killed process leaves the old
    /// archive, or no archive, as it was. An existing archive that cannot be
    /// read to its end (EArchiveDamaged) is refused, and so is an existing
    /// file that is not an archive (EInvalidHeader).
    ///
    /// CompressFiles adds the listed files to an archive file (creating it,
    /// or merging with its old entries) and leaves the stored entry names in
    /// the list. A file that cannot be read to its end raises fw::EReadError
    /// naming it (with ExceptionOnFileError) or is left out like a file that
    /// cannot be opened.
    void CompressFiles(const std::filesystem::path& ArchiveName, fw::TStrings& List,
                       TZorpMethod Method);
    /// Writes a complete new archive of the listed files at Dest's position.
    void CompressFilesToStream(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method);
    /// Appends one entry made from Source (position to end) to an archive file.
    void CompressStreamToArchive(const std::filesystem::path& ArchiveName, fw::TStream& Source,
                                 std::string_view EntryName, TZorpMethod Method);
    /// Writes one entry at Dest's position; Template supplies date and
    /// attributes; MethodID is the archive's method ID.
    void CompressStreamToArchiveStream(fw::TStream& Dest, fw::TStream& Source,
                                       const std::string& EntryName,
                                       const TZorpFileHeader& Template, std::string& MethodID,
                                       TZorpMethod Method);
    /// Removes the named entries from an archive file; when none of them is
    /// in the archive, the file is not rewritten.
    void DeleteFiles(const std::filesystem::path& ArchiveName, fw::TStrings& List);
    /// Copies the entries of Source whose names are not in Except, as they
    /// are, to the end of the archive file Dest (created when missing): the
    /// new Dest replaces the old one as CompressFiles describes.
    void AppendFilesExcept(const std::filesystem::path& DestName,
                           const std::filesystem::path& SourceName, const fw::TStrings& Except);
    /// One-file CompressFiles: FileName becomes the stored name, or empty.
    /// Mind the order: CompressFile takes the archive first, ExpandFile the
    /// file first. A modifiable std::string picks this in/out form.
    void CompressFile(const std::filesystem::path& ArchiveName, std::string& FileName,
                      TZorpMethod Method);
    /// The same for a name that stays as it is (a literal, a const string, a
    /// path): returns the stored name, or "" when the file was skipped.
    std::string CompressFile(const std::filesystem::path& ArchiveName,
                             const std::filesystem::path& FileName, TZorpMethod Method);

    // Archive listing and expansion. Each walks the archive to its end and
    // raises EArchiveDamaged where it cannot (see TArchiveWalk), after
    // handling the sound entries in front of the damage.

    /// Appends one line per entry of the archive (a stream at its header, or
    /// a file) to List: its name with a new TZorpFileInfo (free with
    /// FreeFileList, also after an exception). A damaged archive raises
    /// EArchiveDamaged once the entries in front of the damage are listed.
    /// @{
    void ScanCompressedStream(fw::TStream& Stream, fw::TStrings& List);
    void ScanCompressedFile(const std::filesystem::path& ArchiveName, fw::TStrings& List);
    /// @}
    /// The same listing by value, each TZorpFileInfo with its entry's Name;
    /// nothing to free. A damaged archive raises EArchiveDamaged, and the
    /// entries in front of the damage are then lost with the vector.
    /// @{
    std::vector<TZorpFileInfo> ScanCompressedStream(fw::TStream& Stream);
    std::vector<TZorpFileInfo> ScanCompressedFile(const std::filesystem::path& ArchiveName);
    /// @}
    /// Expands the entries of an archive (a stream at its header, or a file)
    /// named in List (every entry when List is null) to files under TargetPath;
    /// List then holds the paths written. Each file is written under a
    /// temporary name in its directory and takes its name only once its size
    /// and checksum are verified; an existing file or symbolic link of that
    /// name is then replaced, never written through. No directory below the
    /// target is entered through a symbolic link (see TExtractionPlaces). A
    /// failed entry leaves no file, and an existing file as it was. Names of
    /// List that no entry has are reported once every entry found is expanded:
    /// List then holds the paths written and EEntryNotFound names the missing
    /// ones (not when OnCheckFile stopped the walk with "*"). A damaged archive
    /// raises EArchiveDamaged once the entries in front of the damage are
    /// expanded.
    /// @{
    void ExpandFilesFromStream(fw::TStream& Stream, fw::TStrings* List);
    void ExpandFiles(const std::filesystem::path& ArchiveName, fw::TStrings* List);
    /// @}
    /// Verifies the entries of an archive (a stream at its header, or a file)
    /// named in List (every entry when List is null) as ExpandFiles would
    /// expand them, key, size and checksum included, but writes nothing and
    /// does not ask OnCheckFile. A failed entry is reported to OnExpandError
    /// (with the entry's name) when bound, and the others are still verified;
    /// unbound, the first failure in archive order is raised. List then holds
    /// the names of the entries verified; names that no entry has raise
    /// EEntryNotFound, and a damaged archive EArchiveDamaged, as in
    /// ExpandFiles. Progress events, cancelling and Threads work as there.
    /// @{
    void VerifyFilesFromStream(fw::TStream& Stream, fw::TStrings* List);
    void VerifyFiles(const std::filesystem::path& ArchiveName, fw::TStrings* List);
    /// @}
    /// Expands every entry named EntryName into Dest. Raises EEntryNotFound
    /// naming it, with Dest untouched, when the archive holds none.
    void ExpandStreamFromArchive(const std::filesystem::path& ArchiveName, fw::TStream& Dest,
                                 std::string_view EntryName);
    /// One-file ExpandFiles: FileName becomes the path written, or empty
    /// when OnCheckFile skipped it; a name not in the archive raises
    /// EEntryNotFound. The file comes first here, the archive second
    /// (CompressFile: the other way round). A modifiable std::string picks
    /// this in/out form.
    void ExpandFile(std::string& FileName, const std::filesystem::path& ArchiveName);
    /// The same for a name that stays as it is: returns the path written,
    /// or an empty path when nothing was expanded.
    std::filesystem::path ExpandFile(const std::filesystem::path& FileName,
                                     const std::filesystem::path& ArchiveName);

    /// Returns the compressed resource ResourceName of type "TZORP" carried
    /// by a module: the named library (loaded for the call), with an empty
    /// ModuleName the module that holds this component's code, or with
    /// MainProgramModule the running program. The caller owns the stream
    /// returned.
    std::unique_ptr<fw::TStream> LoadCompressedResource(const std::string& ResourceName,
                                                        const std::string& ModuleName);
    /// The module name that stands for the running program's executable,
    /// whether the component is linked into it or lives in a shared library.
    /// Its file is read as it is (/proc/self/exe); nothing is loaded.
    static constexpr const char* MainProgramModule = "<main program>";
    /// The resource expanded into a new memory stream positioned at 0; a
    /// missing or empty resource raises fw::EResNotFound.
    std::unique_ptr<fw::TMemoryStream> LoadExpandedResource(const std::string& ResourceName,
                                                            const std::string& ModuleName);

    // Strings: byte strings of any content through Compress or Expand, read
    // where they are. The byte forms take and return std::byte sequences.

    /// Returns S compressed with Method (Mode cmCompress) or expanded (Mode
    /// cmExpand, Method unused), as Compress and Expand write it.
    std::string ProcessString(std::string_view S, TZorpMethod Method, TCProcessMode Mode);
    /// Returns S compressed with Method into one compressed stream.
    std::string CompressString(std::string_view S, TZorpMethod Method);
    /// Returns the compressed stream S expanded, its checksum and key verified.
    std::string ExpandString(std::string_view S);
    /// ProcessString for std::byte sequences.
    std::vector<std::byte> ProcessString(std::span<const std::byte> S, TZorpMethod Method,
                                         TCProcessMode Mode);
    /// CompressString for std::byte sequences.
    std::vector<std::byte> CompressString(std::span<const std::byte> S, TZorpMethod Method);
    /// ExpandString for std::byte sequences.
    std::vector<std::byte> ExpandString(std::span<const std::byte> S);
    /// 100 minus LastRatio: how much the last compression saved, in percent.
    int32_t GetSavedPercentage() const { return 100 - FLastRatio; }

protected:
    /// Adds to the inherited properties the five events (bound by name to
    /// methods of the form, see TComponent::BindEvent), TargetPath,
    /// MakeDirectories, ExceptionOnFileError, Key, CheckSpaceBeforeExpand,
    /// IgnoreCase and KeepPermissions.
    void DefineProperties(fw::TPropertyList& Properties) override;

    /// The figures LastRatio and LastDuration return.
    /// @{
    int32_t FLastRatio = 0;
    int32_t FLastDuration = 0;
    /// @}

private:
    // Takes Other's settings, handlers, figures and engine, leaving Other
    // with defaults and a fresh engine.
    void TakeStateOf(TZorp& Other);

    // Compress and Expand, leaving a cancelled run's output where it stands.
    void CompressStream(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method);
    void ExpandStream(fw::TStream& Dest, fw::TStream& Source);
    // CompressStreamToArchiveStream and CompressFilesToStream, the same way.
    void WriteArchiveEntry(fw::TStream& Dest, fw::TStream& Source, const std::string& EntryName,
                           const TZorpFileHeader& Template, std::string& MethodID,
                           TZorpMethod Method);
    void WriteArchive(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method);
    // WriteArchive on Threads workers (ParallelWriting.cpp).
    void WriteArchiveInParallel(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method);
    // A component with this one's settings and no event handlers, to
    // compress or expand entries on a worker thread.
    std::unique_ptr<TZorp> MakeWorker() const;
    // Whether a worker's run records the percentages (RecordedRun.cpp),
    // and the planned bytes of its entry.
    struct TRunRecording {
        bool Percent = false;
        int64_t Planned = 0;
    };
    // Runs Work on this (a worker's) component, recording into Events what
    // the runs fire as Recording says, for the caller's thread to replay.
    void RecordRun(const TRunRecording& Recording, std::vector<TRecordedEvent>& Events,
                   const std::function<void()>& Work);
    // Copies the entries of the archive stream Source (at its header) whose
    // names are not in Except to the end of Dest, an archive stream whose
    // header is at position 0 (written there as a copy of Source's when Dest
    // holds no more than a header's bytes), and rewrites Dest's header with
    // the new total. Returns the number of entries left out.
    int AppendEntriesExcept(fw::TStream& Dest, fw::TStream& Source, const fw::TStrings& Except);
    // Writes an entry's data into a file's stream.
    using TEntryFill = std::function<void(fw::TStream& Dest)>;
    // Expands the entry whose header is Entry to the file Target, in its
    // directory as Places opens it; Fill writes the entry's data.
    void ExpandEntryToFile(const TZorpFileHeader& Entry, TExtractionPlaces& Places,
                           const std::string& Target, const TEntryFill& Fill);
    // The same for the entry Name, with a failure handled as the error
    // settings say: raised, reported to OnExpandError, or skipped in
    // silence. Returns whether the file was written.
    // When verifying, Fill writes into nothing and Target is the entry's
    // name.
    bool ExpandEntryOrReport(const std::string& Name, const TZorpFileHeader& Entry,
                             TExtractionPlaces& Places, const std::string& Target, TEntryUse Use,
                             const TEntryFill& Fill);
    // ExpandFilesFromStream and VerifyFilesFromStream.
    void ExpandEntries(fw::TStream& Stream, fw::TStrings* List, TEntryUse Use);
    // ExpandEntries on Threads workers (ParallelReading.cpp).
    void ExpandEntriesInParallel(fw::TStream& Stream, fw::TStrings* List, TEntryUse Use);

    std::unique_ptr<TCompThreadSafety> FEngine;
    std::string FTargetPath;
    bool FMakeDirectories = false;
    int32_t FKey = 0;
    bool FExceptionOnFileError = false;
    bool FCheckSpaceBeforeExpand = false;
    bool FIgnoreCase = false;
    bool FKeepPermissions = false;
    int32_t FHeaderReserve = 0;
    int32_t FThreads = 1;
    // The archive operation being followed for OnOperationProgress, if any.
    TOperationTracker* FOperation = nullptr;
    // The handler answered -1 in the current driver run.
    bool FRunCancelled = false;
};

/// The identifiers of TZorpMethod by ordinal, as form files write them.
ZORP_API const std::vector<std::string>& ZorpMethodNames();

/// Puts TZorp on the component palette page "Compress".
ZORP_API void Register();

} // namespace zorp
