// zorp add / list / extract / delete / test / cat: multi-file archives.
#include "component/FileBuffer.h"
#include "component/FileInfo.h"
#include "component/PathRules.h"
#include "component/Zorp.h"
#include "framework/base/FileStream.h"
#include "framework/base/FileUtils.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/FileWalk.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/ProgressBar.h"
#include "tools/zorp/ToolMain.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace zorp::tool {

namespace {

// A write-only stream: to standard output, or nowhere (Discard).
class SinkStream : public fw::TStream {
public:
    explicit SinkStream(bool Discard) : FDiscard(Discard) {}
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void* Buffer, int32_t Count) override {
        if (FDiscard || Count <= 0) {
            FWritten += Count;
            return Count;
        }
        const auto* bytes = static_cast<const char*>(Buffer);
        int32_t done = 0;
        while (done < Count) {
            const ssize_t n = write(STDOUT_FILENO, bytes + done, static_cast<size_t>(Count - done));
            if (n <= 0)
                break;
            done += static_cast<int32_t>(n);
        }
        FWritten += done;
        return done;
    }
    int64_t Seek(int64_t, fw::TSeekOrigin) override { return FWritten; }
    int64_t Written() const { return FWritten; }

private:
    bool FDiscard;
    int64_t FWritten = 0;
};

struct ArchiveOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    std::string Directory;
    bool Recurse = false;
    bool MakeDirs = false;
    bool AbsoluteNames = false;
    bool Quiet = false;
    bool Json = false;
    bool IgnoreCase = false;
    std::string Archive;
    std::vector<std::string> Names;
};

// A component set up from the common options, its progress on a bar.
struct Session {
    Session(const ArchiveOptions& o, const std::string& label)
        : Zorp(nullptr), Bar(label, o.Quiet) {
        Zorp.SetKey(ParseKey(o.Key));
        Zorp.SetIgnoreCase(o.IgnoreCase);
        Zorp.OnShowProgress = [this](int32_t& percent) { Bar.Show(percent); };
    }
    TZorp Zorp;
    ProgressBar Bar;
};

// Text as it may be shown on a terminal: control characters (which could
// move the cursor, clear the screen or fake lines) written as escapes.
std::string Printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", b);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

// One problem on standard error; the command goes on.
void Warn(const std::string& message) {
    std::fprintf(stderr, "zorp: %s\n", Printable(message).c_str());
}

std::string DamageMessage(const std::string& archive, const EArchiveDamaged& e) {
    return archive + ": damaged after entry " + std::to_string(e.EntriesRead());
}

// The entries of an archive, and where its walk stopped when it is damaged.
struct Listing {
    Listing(TZorp& Zorp, const std::string& Archive) : FZorp(Zorp) {
        try {
            Zorp.ScanCompressedFile(Archive, Entries);
        } catch (const EArchiveDamaged& e) {
            Damage = DamageMessage(Archive, e);
        }
    }
    ~Listing() { FZorp.FreeFileList(&Entries); }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    const TZorpFileInfo& Info(int i) const {
        return *dynamic_cast<const TZorpFileInfo*>(Entries.GetObject(i));
    }
    bool Has(const std::string& name) const {
        for (int i = 0; i < Entries.Count(); ++i)
            if (SameEntryName(Entries.Get(i), name, FZorp.IgnoreCase()))
                return true;
        return false;
    }

    fw::TStringList Entries;
    std::optional<std::string> Damage;

private:
    TZorp& FZorp;
};

// Puts the names given that the archive holds into Found; each other one
// is reported, and sets Missing.
void FindNames(const Listing& listing, const ArchiveOptions& o, fw::TStrings& found,
               bool& missing) {
    for (const std::string& name : o.Names) {
        if (listing.Has(name)) {
            found.Add(name);
        } else if (!listing.Damage) { // beyond the damage it may be, or not
            Warn(name + ": not found in " + o.Archive);
            missing = true;
        }
    }
}

void Add(const ArchiveOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    Session s(o, "adding");
    s.Zorp.SetTargetPath(o.Directory);
    bool warned = false;
    const WarnFunction warn = [&](const std::string& message) {
        Warn(message);
        warned = true;
    };
    fw::TStringList files;
    for (const std::string& path : o.Names)
        for (const std::string& file : FilesToAdd(path, o.Recurse, warn))
            files.Add(file);
    if (files.Count() == 0)
        throw EarlierErrors(); // nothing to add: the archive is not touched
    s.Zorp.SetExceptionOnFileError(true);
    try {
        s.Zorp.CompressFiles(o.Archive, files, method);
    } catch (const EArchiveDamaged& e) {
        throw std::runtime_error(DamageMessage(o.Archive, e) + "; not changed");
    }
    if (warned)
        throw EarlierErrors();
}

std::string Attributes(int16_t attr) {
    std::string s;
    s += (attr & fw::faReadOnly) ? 'r' : '-';
    s += (attr & fw::faHidden) ? 'h' : '-';
    s += (attr & fw::faSysFile) ? 's' : '-';
    s += (attr & fw::faDirectory) ? 'd' : '-';
    s += (attr & fw::faArchive) ? 'a' : '-';
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

// A JSON string: quotes, backslashes and control characters escaped; bytes
// above 0x7F written as \u00XX (names are bytes, read as Latin-1).
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b > 0x7E) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", b);
            out += code;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void ListJson(const Listing& listing) {
    const fw::TStringList& entries = listing.Entries;
    std::printf("[");
    for (int i = 0; i < entries.Count(); ++i) {
        const TZorpFileInfo& info = listing.Info(i);
        std::printf("%s\n  {\"name\": %s, \"size\": %d, \"packed\": %d, \"method\": \"%s\", "
                    "\"date\": %s, \"attributes\": %d, \"locked\": %s}",
                    i == 0 ? "" : ",", JsonString(entries.Get(i)).c_str(), info.UncompressedSize,
                    info.CompressedSize, MethodName(info.Method),
                    info.FileDate == 0 ? "null" : JsonString(Date(info.FileDate)).c_str(),
                    info.Attributes, info.Locked ? "true" : "false");
    }
    std::printf("%s]\n", entries.Count() > 0 ? "\n" : "");
}

void ListTable(const Listing& listing) {
    const fw::TStringList& entries = listing.Entries;
    std::printf("%12s %12s %6s  %-6s %-16s %-5s %-6s %s\n", "size", "packed", "ratio", "method",
                "date", "attr", "locked", "name");
    int64_t size = 0;
    int64_t packed = 0;
    for (int i = 0; i < entries.Count(); ++i) {
        const TZorpFileInfo& info = listing.Info(i);
        size += info.UncompressedSize;
        packed += info.CompressedSize;
        const double ratio =
            info.UncompressedSize > 0 ? 100.0 * info.CompressedSize / info.UncompressedSize : 100.0;
        std::printf("%12d %12d %5.1f%%  %-6s %-16s %-5s %-6s %s\n", info.UncompressedSize,
                    info.CompressedSize, ratio, MethodName(info.Method),
                    Date(info.FileDate).c_str(), Attributes(info.Attributes).c_str(),
                    info.Locked ? "yes" : "no", Printable(entries.Get(i)).c_str());
    }
    std::printf("%12lld %12lld %5.1f%%  %d entries\n", static_cast<long long>(size),
                static_cast<long long>(packed), size > 0 ? 100.0 * packed / size : 100.0,
                entries.Count());
}

void List(const ArchiveOptions& o) {
    TZorp zorp(nullptr);
    const Listing listing(zorp, o.Archive);
    if (o.Json)
        ListJson(listing);
    else
        ListTable(listing);
    if (listing.Damage) {
        std::fflush(stdout);
        throw std::runtime_error(*listing.Damage);
    }
}

void Extract(const ArchiveOptions& o) {
    Session s(o, "extracting");
    s.Zorp.SetTargetPath(o.Directory);
    s.Zorp.SetMakeDirectories(o.MakeDirs);
    s.Zorp.SetExceptionOnFileError(true);
    bool failed = false;
    fw::TStringList names;
    if (!o.Names.empty()) {
        const Listing listing(s.Zorp, o.Archive);
        FindNames(listing, o, names, failed);
        if (names.Count() == 0 && !listing.Damage)
            throw EarlierErrors();
    }
    const std::string base = s.Zorp.TargetPath();
    s.Zorp.OnCheckFile = [&](std::string& target, TCProcessMode) {
        const bool underBase = !base.empty() && target.starts_with(base);
        if (!o.AbsoluteNames && !underBase && !target.empty() && target[0] == '/') {
            Warn("not extracting " + target + ": absolute name (use --absolute-names)");
            failed = true;
            target.clear();
        }
    };
    try {
        s.Zorp.ExpandFiles(o.Archive, o.Names.empty() ? nullptr : &names);
    } catch (const EArchiveDamaged& e) {
        Warn(DamageMessage(o.Archive, e));
        failed = true;
    }
    if (failed)
        throw EarlierErrors();
}

void Delete(const ArchiveOptions& o) {
    TZorp zorp(nullptr);
    zorp.SetIgnoreCase(o.IgnoreCase);
    bool missing = false;
    fw::TStringList names;
    {
        const Listing listing(zorp, o.Archive);
        if (listing.Damage)
            throw std::runtime_error(*listing.Damage + "; not changed");
        FindNames(listing, o, names, missing);
    }
    if (names.Count() > 0) // otherwise the archive is not rewritten
        zorp.DeleteFiles(o.Archive, names);
    if (missing)
        throw EarlierErrors();
}

void Test(const ArchiveOptions& o) {
    Session s(o, "testing");
    const Listing listing(s.Zorp, o.Archive);
    fw::TFileStream file(o.Archive, fw::fmOpenRead | fw::fmShareDenyWrite);
    fw::TBufferedStream archive(file, FileBufferSize);
    TZorpHeader header;
    std::string methodID;
    s.Zorp.CheckHeader(archive, header, methodID);
    const int count = listing.Entries.Count();
    for (int i = 0; i < count; ++i) {
        const TZorpFileInfo& info = listing.Info(i);
        const std::string& name = listing.Entries.Get(i);
        archive.SetPosition(info.HeaderOffset + TZorpFileHeader::RecordSize +
                            static_cast<int64_t>(name.size()));
        SinkStream nowhere(true);
        try {
            s.Zorp.DoExpand(nowhere, archive, info.CompressedSize, info.UncompressedSize,
                            info.Checksum, info.Method, methodID, info.Locked ? 2 : 0);
        } catch (const std::exception& e) {
            throw std::runtime_error(Printable(name) + ": " + e.what());
        }
    }
    if (listing.Damage)
        throw std::runtime_error(*listing.Damage);
    if (!o.Quiet)
        std::printf("%d entries OK\n", count);
}

void Cat(const ArchiveOptions& o) {
    Session s(o, "expanding");
    const std::string& name = o.Names.at(0);
    {
        const Listing listing(s.Zorp, o.Archive);
        if (!listing.Has(name)) {
            if (listing.Damage)
                throw std::runtime_error(*listing.Damage);
            throw std::runtime_error(Printable(name) + ": not found in " + o.Archive);
        }
    }
    SinkStream out(false);
    try {
        WriteThroughBuffer(out, [&](fw::TStream& buffered) {
            s.Zorp.ExpandStreamFromArchive(o.Archive, buffered, name);
        });
    } catch (const EArchiveDamaged& e) {
        throw std::runtime_error(DamageMessage(o.Archive, e));
    }
}

void AddKey(CLI::App& c, ArchiveOptions& o) {
    c.add_option("-k,--key", o.Key, "Key: a 32-bit number in decimal or 0x hexadecimal")
        ->default_str("0");
}

void AddIgnoreCase(CLI::App& c, ArchiveOptions& o) {
    c.add_flag("--ignore-case", o.IgnoreCase,
               "Compare entry names without regard to case (archives made on systems that do "
               "not tell case apart)");
}

} // namespace

void AddArchiveCommands(CLI::App& App) {
    auto o = std::make_shared<ArchiveOptions>();

    CLI::App* add = App.add_subcommand(
        "add", "Add files to an archive (created when missing; entries of the same name are "
               "replaced)");
    add->add_option("-m,--method", o->Method, "Method: none, rle, lzh or lh5")->default_str("lh5");
    AddKey(*add, *o);
    add->add_option("-C,--directory", o->Directory,
                    "Store paths that begin with BASEDIR relative to it");
    add->add_flag("-r,--recursive", o->Recurse, "Enter subdirectories (or end a mask with /S)");
    add->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    AddIgnoreCase(*add, *o);
    add->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    add->add_option("PATHS", o->Names, "Files, directories or masks such as dir/*.txt or dir/*.*/S")
        ->required();
    add->callback([o] { Add(*o); });

    CLI::App* list = App.add_subcommand("list", "List the entries of an archive");
    list->add_flag("--json", o->Json, "One JSON array of entries instead of the table");
    list->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    list->callback([o] { List(*o); });

    CLI::App* extract = App.add_subcommand("extract", "Extract entries (all, or those named)");
    extract->add_option("-C,--directory", o->Directory, "Extract under DIR");
    extract->add_flag("--mkdirs", o->MakeDirs, "Create missing directories");
    AddKey(*extract, *o);
    extract->add_flag("--absolute-names", o->AbsoluteNames,
                      "Also extract entries whose names are absolute paths");
    extract->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    AddIgnoreCase(*extract, *o);
    extract->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    extract->add_option("NAMES", o->Names, "Entry names");
    extract->callback([o] { Extract(*o); });

    CLI::App* del = App.add_subcommand("delete", "Delete the named entries from an archive");
    AddIgnoreCase(*del, *o);
    del->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    del->add_option("NAMES", o->Names, "Entry names")->required();
    del->callback([o] { Delete(*o); });

    CLI::App* test = App.add_subcommand(
        "test", "Verify every entry's checksum without writing files; fails on the first bad one");
    AddKey(*test, *o);
    test->add_flag("-q,--quiet", o->Quiet, "No progress bar and no summary");
    test->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    test->callback([o] { Test(*o); });

    CLI::App* cat = App.add_subcommand("cat", "Expand one entry to standard output");
    AddKey(*cat, *o);
    cat->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    AddIgnoreCase(*cat, *o);
    cat->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    cat->add_option("NAME", o->Names, "Entry name")->required()->expected(1);
    cat->callback([o] { Cat(*o); });
}

} // namespace zorp::tool
