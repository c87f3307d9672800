// What the archive commands share: their options, the component set up from
// them, the archive read (a file, or standard input), its listing, and how
// problems are reported.
#pragma once

#include "component/FileInfo.h"
#include "component/Zorp.h"
#include "framework/base/BufferedStream.h"
#include "framework/base/FileStream.h"
#include "framework/base/StringList.h"
#include "tools/zorp/ProgressBar.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorp::tool {

struct ArchiveOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    std::string Directory;
    bool Recurse = true;
    bool NoRecursion = false;
    bool MakeDirs = true;
    bool NoMakeDirs = false;
    bool AbsoluteNames = false;
    bool ExcludeHidden = false;
    std::vector<std::string> Excludes;
    bool Dereference = false;
    bool StopOnError = false;
    bool Verbose = false;
    bool Quiet = false;
    bool Json = false;
    bool IgnoreCase = false;
    int Jobs = 0; // threads; 0: one for each online processor
    std::string Archive;
    std::vector<std::string> Names;
};

// The threads the options ask for: --jobs, or one for each online processor.
int JobsOf(const ArchiveOptions& o);

// A component with the key of the options, and the progress bar.
struct Session {
    Session(const ArchiveOptions& o, const std::string& label);
    TZorp Zorp;
    ProgressBar Bar;
};

// A write-only stream: to standard output, or nowhere (Discard), counting
// what it takes. A failed write raises EWriteError naming standard output.
class SinkStream : public fw::TStream {
public:
    explicit SinkStream(bool Discard) : FDiscard(Discard) {}
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t, fw::TSeekOrigin) override { return FWritten; }

private:
    bool FDiscard;
    int64_t FWritten = 0;
};

// One problem on standard error ("zorp: MESSAGE", control characters
// escaped); the command goes on.
void Warn(const std::string& Message);

// The archive to read: the file named, or with "-" standard input, spooled
// into an unnamed temporary file since reading it needs to seek.
class ArchiveSource {
public:
    explicit ArchiveSource(const std::string& Name);
    fw::TStream& Stream() { return *FBuffered; }
    // The archive's name in messages ("standard input" for "-").
    const std::string& Name() const { return FName; }

private:
    std::string FName;
    std::unique_ptr<fw::TFileStream> FFile;
    std::unique_ptr<fw::TBufferedStream> FBuffered;
};

// The entries of an archive, and where its walk stopped when it is damaged.
// An input that is no archive at all raises, worded for the tool.
class Listing {
public:
    Listing(TZorp& Zorp, ArchiveSource& Source);
    ~Listing();
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    const std::string& ArchiveName() const { return FSource.Name(); }
    int Count() const { return FEntries.Count(); }
    std::string Name(int i) const { return FEntries.Get(i); }
    const TZorpFileInfo& Info(int i) const;
    // The data of entry i, expanded into Dest (key and checksum checked).
    void ExpandEntry(int i, fw::TStream& Dest);

    // "ARCHIVE: damaged after entry N" when the walk could not reach the end.
    std::optional<std::string> Damage;

private:
    TZorp& FZorp;
    ArchiveSource& FSource;
    fw::TStringList FEntries;
    std::string FMethodID;
};

// The entry names of Listing that the names or patterns of the options
// select, each once, in archive order; every pattern that selects nothing
// is reported (unless the listing is damaged: it may lie beyond) and sets
// Missing.
std::vector<std::string> SelectEntries(const Listing& Entries, const ArchiveOptions& o,
                                       bool& Missing);

// Reading an archive failed with E: the message worded for the tool.
[[noreturn]] void RaiseReadingArchive(const std::string& Archive, const std::exception& E);

// list, test and cat (ArchiveReports.cpp).
void ListArchive(const ArchiveOptions& o);
void TestArchive(const ArchiveOptions& o);
void CatEntry(const ArchiveOptions& o);

} // namespace zorp::tool
