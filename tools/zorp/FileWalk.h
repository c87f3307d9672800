// The files that "zorp add" takes from a path on its command line: a file
// as it is; the files of a directory and, unless recursion is off, of its
// subdirectories; or the files that a mask such as dir/*.txt matches (its
// last part holds "*" or "?"; the library's mask rules, component/
// FileMasks.h; dir/*.txt/S also asks for subdirectories). Subdirectories
// come at the place where they are met.
//
// Names beginning with "." are taken like any other unless ExcludeHidden;
// paths that match an exclusion pattern (see NamePatterns.h) are left out,
// and excluded directories are not entered. The archive has no entries for
// symbolic links: a link is reported and left out, unless Dereference, when
// what it points to is taken (a directory is entered, once however many
// links lead to it). A path that does not exist or yields no file, a
// dangling link and a subdirectory that cannot be read are reported as
// problems; the archive file itself and files that are neither regular
// files nor directories (devices, sockets, pipes) are left out with a
// notice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zorp::tool {

struct WalkOptions {
    bool Recurse = true;
    bool ExcludeHidden = false;
    bool Dereference = false;
    std::vector<std::string> Excludes;
    // The archive being written, when it exists already: never taken.
    bool HasArchive = false;
    dev_t ArchiveDevice = 0;
    ino_t ArchiveInode = 0;
};

struct WalkReport {
    std::function<void(const std::string& Message)> Problem; // the command then fails
    std::function<void(const std::string& Message)> Notice;  // for information only
};

struct FoundFile {
    std::string Path;
    int64_t Size = 0;
};

std::vector<FoundFile> FilesToAdd(const std::string& Path, const WalkOptions& Options,
                                  const WalkReport& Report);

} // namespace zorp::tool
