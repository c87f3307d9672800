#include "tools/zorp/FileWalk.h"

#include "component/FileMasks.h"
#include "framework/base/FileUtils.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace zorp::tool {

namespace {

// Appends the files of Directory ("" or ending in "/") that match Mask.
void Walk(const std::string& Directory, const std::string& Mask, bool Recurse,
          std::vector<std::string>& Files, const WarnFunction& Warn) {
    std::string path = Directory.empty() ? "." : Directory;
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path.c_str()), closedir);
    if (!dir) {
        Warn(path + ": " + std::strerror(errno));
        return;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        const std::string path = Directory + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            continue; // gone meanwhile
        if (S_ISLNK(st.st_mode)) {
            if (stat(path.c_str(), &st) != 0) {
                Warn(path + ": dangling symbolic link, not added");
                continue;
            }
            if (S_ISDIR(st.st_mode))
                continue; // a link to a directory is not entered
        } else if (S_ISDIR(st.st_mode)) {
            if (Recurse)
                Walk(path + "/", Mask, Recurse, Files, Warn);
            continue;
        }
        if (S_ISREG(st.st_mode) && MatchFileMask(name, Mask))
            Files.push_back(path);
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

std::vector<std::string> FilesToAdd(const std::string& Path, bool Recurse,
                                    const WarnFunction& Warn) {
    std::vector<std::string> files;
    if (fw::DirectoryExists(Path)) {
        Walk(Path.ends_with("/") ? Path : Path + "/", "*.*", Recurse, files, Warn);
    } else if (HasWildcards(Path) || EndsWithRecursion(Path)) {
        const bool recurse = EndsWithRecursion(Path);
        const std::string spec = recurse ? Path.substr(0, Path.size() - 2) : Path;
        Walk(fw::ExtractFilePath(spec), fw::ExtractFileName(spec), recurse || Recurse, files, Warn);
    } else {
        struct stat st {};
        if (stat(Path.c_str(), &st) != 0) {
            Warn(Path + ": " + std::strerror(errno));
            return files;
        }
        files.push_back(Path);
    }
    if (files.empty())
        Warn(Path + ": no files to add");
    return files;
}

} // namespace zorp::tool
