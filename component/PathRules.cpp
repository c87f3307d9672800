#include "component/PathRules.h"

#include "framework/base/FileUtils.h"
#include "framework/base/TextUtils.h"

#include <algorithm>

namespace zorp {

std::string StripDrive(const std::string& Path) {
    if (Path.size() > 2 && Path[1] == ':')
        return Path.substr(2);
    return Path;
}

bool SameEntryName(const std::string& A, const std::string& B, bool IgnoreCase) {
    if (IgnoreCase)
        return fw::CompareText(HostPath(A), HostPath(B)) == 0;
    return HostPath(A) == HostPath(B);
}

bool NameInList(const fw::TStrings& List, const std::string& Name, bool IgnoreCase) {
    const int count = List.Count();
    for (int i = 0; i < count; ++i)
        if (SameEntryName(List.Get(i), Name, IgnoreCase))
            return true;
    return false;
}

std::string HostPath(const std::string& EntryName) {
    std::string path = EntryName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool LeavesTarget(const std::string& EntryName) {
    const std::string path = "/" + HostPath(EntryName) + "/";
    return path.find("/../") != std::string::npos;
}

bool IsDirectory(const std::string& Path) {
    const int32_t attr = fw::FileGetAttr(Path);
    return attr != -1 && (attr & fw::faDirectory) != 0;
}

void MakeDirectoryPath(const std::string& Path) {
    std::string dir = Path;
    if (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    // Without drive letters only the root and the current or parent
    // directory stop the climb; any other name, however short, is created.
    if (dir.empty() || dir == "." || dir == ".." || IsDirectory(dir))
        return;
    MakeDirectoryPath(fw::ExtractFilePath(dir));
    fw::MkDir(dir);
}

} // namespace zorp
