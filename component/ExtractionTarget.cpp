#include "component/ExtractionTarget.h"

#include "component/PathRules.h"
#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace zorp {

namespace {

[[noreturn]] void CannotCreate(const std::string& Target, const std::string& Reason) {
    throw fw::EFCreateError("Cannot create file \"" + Target + "\". " + Reason);
}

// The components of a relative path, without empty and "." ones.
std::vector<std::string> Components(const std::string& Path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= Path.size()) {
        size_t end = Path.find('/', start);
        if (end == std::string::npos)
            end = Path.size();
        const std::string part = Path.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

std::string BelowReason(int Error, const std::string& Component) {
    if (Error == ELOOP)
        return "\"" + Component + "\" is a symbolic link, which is not followed";
    if (Error == ENOTDIR)
        return "\"" + Component + "\" is not a directory";
    return std::strerror(Error);
}

} // namespace

TExtractionTarget OpenExtractionTarget(const std::string& Target, const std::string& TargetPath,
                                       bool MakeDirectories) {
    std::string base;
    std::string rest = Target;
    if (!TargetPath.empty() && Target.starts_with(TargetPath)) {
        base = TargetPath;
        rest = Target.substr(TargetPath.size());
    } else if (!Target.empty() && Target[0] == '/') {
        base = "/";
    }
    std::vector<std::string> parts = Components(rest);
    if (parts.empty())
        CannotCreate(Target, std::strerror(EISDIR));
    for (const std::string& part : parts)
        if (part == "..")
            CannotCreate(Target, "The entry name leads out of the target directory");

    TExtractionTarget place;
    int error = place.Directory.Open(base);
    if (error == ENOENT && MakeDirectories && !base.empty()) {
        MakeDirectoryPath(base);
        error = place.Directory.Open(base);
    }
    if (error != 0)
        CannotCreate(Target, std::strerror(error));
    place.Name = parts.back();
    parts.pop_back();
    for (const std::string& part : parts) {
        fw::TDirectory below;
        if (const int e = below.OpenBelow(place.Directory, part, MakeDirectories))
            CannotCreate(Target, BelowReason(e, part));
        place.Directory = std::move(below);
    }
    struct stat st {};
    if (fstatat(place.Directory.Handle(), place.Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(st.st_mode))
        CannotCreate(Target, std::strerror(EISDIR));
    return place;
}

} // namespace zorp
