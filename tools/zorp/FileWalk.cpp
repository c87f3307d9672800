#include "tools/zorp/FileWalk.h"

#include "component/FileMasks.h"
#include "framework/base/FileUtils.h"
#include "tools/zorp/NamePatterns.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace zorp::tool {

namespace {

class Walker {
public:
    Walker(const WalkOptions& Options, const WalkReport& Report, std::vector<FoundFile>& Files)
        : FOptions(Options), FReport(Report), FFiles(Files) {}

    // Takes the path Path as a walk meets it: Name is its last part; Mask
    // applies to files met in directories only.
    void Take(const std::string& Path, const std::string& Name, const std::string& Mask,
              bool Named);
    // The files of the directory Directory ("" is the current one).
    void Enter(const std::string& Directory, const std::string& Mask, const struct stat& St);

private:
    // For Path, a symbolic link: whether it is followed (-L) to something
    // that exists, whose status then replaces St. Reported when Wanted.
    bool FollowLink(const std::string& Path, struct stat& St, bool Wanted) const;

    bool Excluded(const std::string& Path) const {
        for (const std::string& pattern : FOptions.Excludes)
            if (MatchesExclude(Path, pattern))
                return true;
        return false;
    }

    const WalkOptions& FOptions;
    const WalkReport& FReport;
    std::vector<FoundFile>& FFiles;
    std::set<std::pair<dev_t, ino_t>> FEntered; // directories entered through links
};

void Walker::Take(const std::string& Path, const std::string& Name, const std::string& Mask,
                  bool Named) {
    if (Excluded(Path))
        return;
    struct stat st {};
    if (lstat(Path.c_str(), &st) != 0) {
        if (Named)
            FReport.Problem(Path + ": " + std::strerror(errno));
        return; // gone meanwhile
    }
    // What a mask leaves out is passed over in silence, links included.
    const bool wanted = Named || MatchFileMask(Name, Mask);
    if (S_ISLNK(st.st_mode) && !FollowLink(Path, st, wanted))
        return;
    if (S_ISDIR(st.st_mode)) {
        if (Named || FOptions.Recurse)
            Enter(Path.ends_with("/") ? Path : Path + "/", Mask, st);
        return;
    }
    if (!wanted)
        return;
    if (!S_ISREG(st.st_mode)) {
        FReport.Notice(Path + ": not a regular file, not added");
        return;
    }
    if (FOptions.HasArchive && st.st_dev == FOptions.ArchiveDevice &&
        st.st_ino == FOptions.ArchiveInode) {
        FReport.Notice(Path + ": file is the archive; not added");
        return;
    }
    FFiles.push_back({Path, st.st_size});
}

bool Walker::FollowLink(const std::string& Path, struct stat& St, bool Wanted) const {
    if (!FOptions.Dereference) {
        if (Wanted)
            FReport.Problem(Path + ": symbolic link, not added (-L adds what it points to)");
        return false;
    }
    if (stat(Path.c_str(), &St) != 0) {
        if (Wanted)
            FReport.Problem(Path + ": dangling symbolic link, not added");
        return false;
    }
    return true;
}

void Walker::Enter(const std::string& Directory, const std::string& Mask, const struct stat& St) {
    if (!FEntered.insert({St.st_dev, St.st_ino}).second)
        return; // a link led back into a directory already entered
    std::string path = Directory.empty() ? "." : Directory;
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path.c_str()), closedir);
    if (!dir) {
        FReport.Problem(path + ": " + std::strerror(errno));
        return;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || (FOptions.ExcludeHidden && name[0] == '.'))
            continue;
        Take(Directory + name, name, Mask, false);
    }
}

bool HasWildcards(const std::string& Path) {
    return fw::ExtractFileName(Path).find_first_of("*?") != std::string::npos;
}

// A mask ending in "/S" (any case) asks for subdirectories.
bool EndsWithRecursion(const std::string& Path) {
    return Path.size() > 2 && (Path.ends_with("/S") || Path.ends_with("/s"));
}

} // namespace

std::vector<FoundFile> FilesToAdd(const std::string& Path, const WalkOptions& Options,
                                  const WalkReport& Report) {
    std::vector<FoundFile> files;
    int problems = 0;
    const WalkReport counted{[&](const std::string& Message) {
                                 ++problems;
                                 Report.Problem(Message);
                             },
                             Report.Notice};
    struct stat st {};
    if (lstat(Path.c_str(), &st) != 0 && (HasWildcards(Path) || EndsWithRecursion(Path))) {
        const bool recurse = EndsWithRecursion(Path);
        const std::string spec = recurse ? Path.substr(0, Path.size() - 2) : Path;
        WalkOptions masked = Options;
        masked.Recurse = recurse || Options.Recurse;
        Walker walker(masked, counted, files);
        const std::string directory = fw::ExtractFilePath(spec);
        struct stat dirSt {};
        if (stat(directory.empty() ? "." : directory.c_str(), &dirSt) != 0)
            counted.Problem(directory + ": " + std::strerror(errno));
        else
            walker.Enter(directory, fw::ExtractFileName(spec), dirSt);
    } else {
        Walker walker(Options, counted, files);
        walker.Take(Path, fw::ExtractFileName(Path), "*.*", true);
    }
    if (files.empty() && problems == 0)
        Report.Problem(Path + ": no files to add");
    return files;
}

} // namespace zorp::tool
