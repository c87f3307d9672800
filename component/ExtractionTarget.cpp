#include "component/ExtractionTarget.h"

#include "component/PathRules.h"
#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstring>
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

const fw::TDirectory& TExtractionPlaces::Open(const std::string& Target,
                                              const std::string& TargetPath, bool MakeDirectories,
                                              std::string& Name) {
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
    Name = parts.back();
    parts.pop_back();
    std::string key = base;
    for (const std::string& part : parts)
        key += '\0' + part;

    if (key != FKey || !FDirectory.IsOpen()) {
        FKey.clear();
        int error = FDirectory.Open(base);
        if (error == ENOENT && MakeDirectories && !base.empty()) {
            MakeDirectoryPath(base);
            error = FDirectory.Open(base);
        }
        if (error != 0)
            CannotCreate(Target, std::strerror(error));
        for (const std::string& part : parts) {
            fw::TDirectory below;
            if (const int e = below.OpenBelow(FDirectory, part, MakeDirectories)) {
                FDirectory = fw::TDirectory();
                CannotCreate(Target, BelowReason(e, part));
            }
            FDirectory = std::move(below);
        }
        FKey = key;
    }
    return FDirectory;
}

} // namespace zorp
