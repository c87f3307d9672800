// zorp add / extract / delete, and the command line of every archive
// command (list, test and cat are in ArchiveReports.cpp).
#include "component/FileBuffer.h"
#include "component/PathRules.h"
#include "tools/zorp/AheadReports.h"
#include "tools/zorp/ArchiveSupport.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/FileWalk.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/NamePatterns.h"
#include "tools/zorp/ToolMain.h"

#include <cstdio>
#include <stdexcept>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>

namespace zorp::tool {

namespace {

// The files the paths of the options name, with problems reported.
std::vector<FoundFile> CollectFiles(const ArchiveOptions& o, bool& Failed) {
    WalkOptions walk;
    walk.Recurse = o.Recurse && !o.NoRecursion;
    walk.ExcludeHidden = o.ExcludeHidden;
    walk.Dereference = o.Dereference;
    walk.Excludes = o.Excludes;
    struct stat st {};
    if (o.Archive != "-" && stat(o.Archive.c_str(), &st) == 0) {
        walk.HasArchive = true;
        walk.ArchiveDevice = st.st_dev;
        walk.ArchiveInode = st.st_ino;
    }
    const WalkReport report{[&](const std::string& message) {
                                Warn(message);
                                Failed = true;
                            },
                            [](const std::string& message) { Warn(message); }};
    std::vector<FoundFile> files;
    for (const std::string& path : o.Names)
        for (FoundFile& file : FilesToAdd(path, walk, report))
            files.push_back(std::move(file));
    return files;
}

void Add(const ArchiveOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    Session s(o, "adding");
    s.Zorp.SetTargetPath(o.Directory);
    s.Zorp.SetExceptionOnFileError(true);
    s.Zorp.SetKeepPermissions(true);
    s.Zorp.SetThreads(JobsOf(o));
    bool failed = false;
    const std::vector<FoundFile> found = CollectFiles(o, failed);
    if (found.empty())
        throw EarlierErrors(); // nothing to add: the archive is not touched
    fw::TStringList files;
    int64_t total = 0;
    for (const FoundFile& file : found) {
        files.Add(file.Path);
        total += file.Size;
    }
    s.Bar.Begin(total, files.Count());
    size_t next = 0;
    bool noticed = false;
    // On one thread an entry's work follows its OnCheckFile at once; on
    // more, OnCheckFile runs ahead, and the bar follows the entries as the
    // operation begins each one.
    const bool ahead = s.Zorp.Threads() > 1;
    s.Zorp.OnCheckFile = [&](std::string& name, TCProcessMode) {
        if (!o.AbsoluteNames && !name.empty() && name[0] == '/') {
            if (!noticed)
                Warn("Removing leading '/' from member names");
            noticed = true;
            name.erase(0, name.find_first_not_of('/'));
        }
        if (!ahead)
            s.Bar.StartEntry(Printable(name), found[next++].Size);
        if (o.Verbose)
            s.Bar.Print("a " + Printable(name));
    };
    if (ahead)
        s.Zorp.OnOperationProgress = [&](const TOperationProgress& p) {
            if (p.Index < 0 || static_cast<size_t>(p.Index) >= found.size() ||
                next == static_cast<size_t>(p.Index) + 1)
                return;
            next = static_cast<size_t>(p.Index) + 1;
            s.Bar.StartEntry(Printable(p.Name), found[next - 1].Size);
        };
    s.Zorp.OnShowProgress = [&s](int32_t& percent) { s.Bar.ShowEntry(percent); };
    try {
        if (o.Archive == "-") {
            // A new archive on standard output, made whole first: its header
            // is written last.
            const std::unique_ptr<fw::TFileStream> spool =
                fw::UnnamedTemporaryFile("standard output");
            WriteThroughBuffer(*spool, [&](fw::TStream& archive) {
                s.Zorp.CompressFilesToStream(archive, files, method);
            });
            SinkStream out(false);
            out.CopyFrom(*spool, 0);
        } else {
            s.Zorp.CompressFiles(o.Archive, files, method);
        }
    } catch (const EArchiveDamaged& e) {
        throw std::runtime_error(o.Archive + ": damaged after entry " +
                                 std::to_string(e.EntriesRead()) + "; not changed");
    } catch (const EInvalidHeader&) {
        throw std::runtime_error(o.Archive + ": not a zorp archive; not changed");
    } catch (const EInvalidHeaderArchiveType&) {
        throw std::runtime_error(o.Archive + " holds a single stream, not an archive; not changed");
    }
    if (failed)
        throw EarlierErrors();
}

// Fills Names with the entries the names on the command line select (none
// given: Names stays empty, for every entry) and Sizes with the size of
// every entry by its target-relative name. Returns the count and the total
// size of the entries selected.
std::pair<int, int64_t> SelectForExtraction(const Listing& listing, const ArchiveOptions& o,
                                            fw::TStringList& Names,
                                            std::unordered_map<std::string, int64_t>& Sizes,
                                            bool& Failed) {
    int count = listing.Count();
    if (!o.Names.empty()) {
        for (const std::string& name : SelectEntries(listing, o, Failed))
            Names.Add(name);
        if (Names.Count() == 0 && !listing.Damage)
            throw EarlierErrors();
        count = Names.Count();
    }
    int64_t total = 0;
    for (int i = 0; i < listing.Count(); ++i) {
        Sizes[HostPath(listing.Name(i))] = listing.Info(i).UncompressedSize;
        if (o.Names.empty() || NameInList(Names, listing.Name(i), o.IgnoreCase))
            total += listing.Info(i).UncompressedSize;
    }
    return {count, total};
}

void Extract(const ArchiveOptions& o) {
    Session s(o, "extracting");
    ArchiveSource source(o.Archive);
    Listing listing(s.Zorp, source);
    bool failed = false;
    fw::TStringList names;
    std::unordered_map<std::string, int64_t> sizes; // by target-relative name
    const auto [count, total] = SelectForExtraction(listing, o, names, sizes, failed);

    s.Zorp.SetTargetPath(o.Directory);
    s.Zorp.SetMakeDirectories(o.MakeDirs && !o.NoMakeDirs);
    s.Zorp.SetExceptionOnFileError(true);
    s.Zorp.SetKeepPermissions(true);
    const std::string base = s.Zorp.TargetPath();
    // The entry each target comes from, as messages name it.
    const auto entryOf = [&base](const std::string& target) {
        return !base.empty() && target.starts_with(base) ? target.substr(base.size()) : target;
    };
    std::string current;
    s.Bar.Begin(total, count);
    // On one thread an entry's work follows its OnCheckFile at once; on
    // more, OnCheckFile runs ahead, so what is said of an entry waits until
    // the operation begins the entries after it (see AheadReports).
    s.Zorp.SetThreads(JobsOf(o));
    AheadReports reports(s.Zorp.Threads() > 1);
    const auto startEntry = [&](const std::string& entry) {
        current = entry;
        const auto size = sizes.find(current);
        s.Bar.StartEntry(Printable(current), size == sizes.end() ? 0 : size->second);
        if (o.Verbose)
            s.Bar.Print("x " + Printable(current));
    };
    s.Zorp.OnCheckFile = [&](std::string& target, TCProcessMode) {
        const std::string entry = entryOf(target);
        const bool underBase = !base.empty() && target.starts_with(base);
        if (!o.AbsoluteNames && !underBase && !target.empty() && target[0] == '/') {
            reports.Say(s.Bar, "zorp: not extracting " + Printable(target) +
                                   ": absolute name (use --absolute-names)");
            failed = true;
            target.clear();
            return;
        }
        if (!reports.Checked(entry))
            startEntry(entry);
    };
    if (reports.Ahead())
        s.Zorp.OnOperationProgress = [&](const TOperationProgress& p) {
            if (const std::optional<std::string> entry = reports.Begins(s.Bar, p.Index))
                startEntry(*entry);
        };
    s.Zorp.OnShowProgress = [&s](int32_t& percent) { s.Bar.ShowEntry(percent); };
    if (!o.StopOnError) {
        s.Zorp.OnExpandError = [&](const std::string& target, const std::exception& e) {
            s.Bar.Print("zorp: " +
                        Printable(source.Name() + ": " + entryOf(target) + ": " + e.what()));
            failed = true;
        };
    }
    try {
        source.Stream().SetPosition(0);
        s.Zorp.ExpandFilesFromStream(source.Stream(), o.Names.empty() ? nullptr : &names);
        reports.Flush(s.Bar);
    } catch (const EArchiveDamaged& e) {
        reports.Flush(s.Bar);
        s.Bar.Print("zorp: " + Printable(source.Name()) + ": damaged after entry " +
                    std::to_string(e.EntriesRead()));
        failed = true;
    } catch (const fw::Exception& e) {
        // --stop-on-error: the first failed entry ends the command.
        throw std::runtime_error(source.Name() + ": " + Printable(current) + ": " + e.what());
    }
    if (failed)
        throw EarlierErrors();
}

void Delete(const ArchiveOptions& o) {
    Session s(o, "deleting");
    bool missing = false;
    fw::TStringList names;
    {
        ArchiveSource source(o.Archive);
        const Listing listing(s.Zorp, source);
        if (listing.Damage)
            throw std::runtime_error(*listing.Damage + "; not changed");
        for (const std::string& name : SelectEntries(listing, o, missing)) {
            names.Add(name);
            if (o.Verbose)
                std::fprintf(stderr, "d %s\n", Printable(name).c_str());
        }
    }
    if (names.Count() > 0) // otherwise the archive is not rewritten
        s.Zorp.DeleteFiles(o.Archive, names);
    if (missing)
        throw EarlierErrors();
}

void AddKey(CLI::App& c, ArchiveOptions& o) {
    c.add_option("-k,--key", o.Key, "Key: a 32-bit number in decimal or 0x hexadecimal")
        ->type_name("KEY")
        ->default_str("0");
}

void AddIgnoreCase(CLI::App& c, ArchiveOptions& o) {
    c.add_flag("--ignore-case", o.IgnoreCase,
               "Compare entry names without regard to case (archives made on systems that do "
               "not tell case apart)");
}

void AddJobs(CLI::App& c, ArchiveOptions& o) {
    c.add_option("-j,--jobs", o.Jobs,
                 "Work on N threads (default: one for each online processor; 1: one thread)")
        ->type_name("N")
        ->check(CLI::Range(1, 1024).description(""));
}

void AddCommon(CLI::App& c, ArchiveOptions& o, const char* quiet) {
    c.add_flag("-q,--quiet", o.Quiet, quiet);
    c.add_flag("-v,--verbose", o.Verbose, "Name each entry as it is handled");
}

} // namespace

void AddArchiveCommands(CLI::App& App) {
    auto o = std::make_shared<ArchiveOptions>();

    CLI::App* add = App.add_subcommand(
        "add", "Add files to an archive (created when missing; entries of the same name are "
               "replaced); - writes a new archive to standard output");
    add->add_option("-m,--method", o->Method, "Method: none, rle, lzh or lh5")
        ->type_name("METHOD")
        ->default_str("lh5");
    AddKey(*add, *o);
    add->add_option("-C,--directory", o->Directory,
                    "Store paths that begin with BASEDIR relative to it")
        ->type_name("BASEDIR");
    add->add_flag("-r,--recursive", o->Recurse, "Enter subdirectories (the default)");
    add->add_flag("--no-recursion", o->NoRecursion,
                  "Take only the files directly in a directory given");
    add->add_flag("-L,--dereference", o->Dereference,
                  "Add what symbolic links point to (links are skipped otherwise)");
    add->add_flag("-P,--absolute-names", o->AbsoluteNames,
                  "Keep a leading / in stored names (removed otherwise)");
    add->add_flag("--exclude-hidden", o->ExcludeHidden,
                  "Leave out files and directories whose names begin with .");
    add->add_option("--exclude", o->Excludes,
                    "Leave out paths that match PATTERN (repeatable; * ? [...])")
        ->type_name("PATTERN")
        ->allow_extra_args(false);
    AddJobs(*add, *o);
    AddCommon(*add, *o, "No progress bar");
    AddIgnoreCase(*add, *o);
    add->add_option("ARCHIVE", o->Archive, "Archive file, or - for standard output")->required();
    add->add_option("PATHS", o->Names, "Files, directories or masks such as dir/*.txt")
        ->type_name("PATH")
        ->required();
    add->callback([o] { Add(*o); });

    CLI::App* list = App.add_subcommand("list", "List the entries of an archive");
    list->add_flag("--json", o->Json, "One JSON array of entries instead of the table");
    list->add_option("ARCHIVE", o->Archive, "Archive file, or - for standard input")->required();
    list->callback([o] { ListArchive(*o); });

    CLI::App* extract = App.add_subcommand(
        "extract",
        "Extract entries (all, or those named or matching patterns such as 'src/*.txt')");
    extract->add_option("-C,--directory", o->Directory, "Extract under DIR")->type_name("DIR");
    extract->add_flag("--mkdirs", o->MakeDirs, "Create missing directories (the default)");
    extract->add_flag("--no-mkdirs", o->NoMakeDirs, "Fail entries whose directory is missing");
    AddKey(*extract, *o);
    extract->add_flag("-P,--absolute-names", o->AbsoluteNames,
                      "Also extract entries whose names are absolute paths");
    extract->add_flag("--stop-on-error", o->StopOnError,
                      "Stop at the first entry that fails (otherwise report it and go on)");
    AddJobs(*extract, *o);
    AddCommon(*extract, *o, "No progress bar");
    AddIgnoreCase(*extract, *o);
    extract->add_option("ARCHIVE", o->Archive, "Archive file, or - for standard input")->required();
    extract->add_option("NAMES", o->Names, "Entry names or patterns")->type_name("NAME");
    extract->callback([o] { Extract(*o); });

    CLI::App* del = App.add_subcommand("delete", "Delete the named entries from an archive");
    AddIgnoreCase(*del, *o);
    del->add_flag("-v,--verbose", o->Verbose, "Name each entry deleted");
    del->add_option("ARCHIVE", o->Archive, "Archive file")->required();
    del->add_option("NAMES", o->Names, "Entry names or patterns")->type_name("NAME")->required();
    del->callback([o] { Delete(*o); });

    CLI::App* test = App.add_subcommand(
        "test", "Verify an archive (every entry) or a single compressed stream without writing "
                "files");
    AddKey(*test, *o);
    AddJobs(*test, *o);
    AddCommon(*test, *o, "No progress bar and no summary");
    test->add_option("ARCHIVE", o->Archive, "Archive or compressed file, or - for standard input")
        ->required();
    test->callback([o] { TestArchive(*o); });

    CLI::App* cat = App.add_subcommand("cat", "Expand one entry to standard output");
    AddKey(*cat, *o);
    cat->add_flag("-q,--quiet", o->Quiet, "No progress bar");
    AddIgnoreCase(*cat, *o);
    cat->add_option("ARCHIVE", o->Archive, "Archive file, or - for standard input")->required();
    cat->add_option("NAME", o->Names, "Entry name")->type_name("NAME")->required()->expected(1);
    cat->callback([o] { CatEntry(*o); });
}

} // namespace zorp::tool
