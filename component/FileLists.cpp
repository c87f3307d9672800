// TZorp's file lists and disk-space queries.
#include "component/FileMasks.h"
#include "component/Zorp.h"

#include "framework/base/FileUtils.h"
#include "framework/base/TextUtils.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace zorp {

namespace {

constexpr int32_t MaxSpace = 2147483647;

// Free bytes of the file system that holds Path (the nearest directory of
// it that exists), or -1.
double FreeBytesAt(const std::string& Path) {
    std::string dir = fw::ExtractFilePath(Path);
    while (!dir.empty() && !fw::DirectoryExists(dir)) {
        dir.pop_back(); // the trailing "/"
        dir = fw::ExtractFilePath(dir);
    }
    struct statvfs fs {};
    if (statvfs(dir.empty() ? "." : dir.c_str(), &fs) != 0)
        return -1;
    return static_cast<double>(fs.f_bavail) * static_cast<double>(fs.f_frsize);
}

// A mask ending in "/S" (any case) asks for subdirectories.
bool SplitRecursion(const std::string& Mask, std::string& Pattern) {
    if (Mask.size() > 2 && fw::SameText(Mask.substr(Mask.size() - 2), "/S")) {
        Pattern = Mask.substr(0, Mask.size() - 2);
        return true;
    }
    Pattern = Mask;
    return false;
}

} // namespace

void TZorp::GetAllFilesInDir(fw::TStrings* List, const std::filesystem::path& Directory,
                             const std::string& Mask, bool TakeEvery) {
    if (List == nullptr)
        return;
    List->Clear();
    std::string dir = Directory.string();
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    std::string pattern;
    const bool recurse = SplitRecursion(Mask, pattern);

    fw::TSearchRec rec;
    for (int found = fw::FindFirst(dir + "*.*", fw::faAnyFile, rec); found == 0;
         found = fw::FindNext(rec)) {
        if (!rec.Name.empty() && rec.Name[0] == '.')
            continue;
        const bool isDirectory = (rec.Attr & fw::faDirectory) != 0;
        if (recurse && isDirectory) {
            fw::TStringList inner;
            GetAllFilesInDir(&inner, dir + rec.Name, Mask, TakeEvery);
            List->AddStrings(inner);
        }
        if (!TakeEvery) {
            constexpr int32_t skipped =
                fw::faDirectory | fw::faHidden | fw::faSysFile | fw::faVolumeID;
            if ((rec.Attr & skipped) != 0 || !MatchFileMask(rec.Name, pattern))
                continue;
        }
        List->Add(dir + rec.Name);
    }
    fw::FindClose(rec);
}

void TZorp::GetMatchingFiles(fw::TStrings* List, const std::filesystem::path& FileSpec) {
    if (FileSpec.empty())
        return;
    // "/S" is taken off before the path is split, since "/" also separates.
    std::string path;
    const bool recurse = SplitRecursion(FileSpec.string(), path);
    const std::string mask = fw::ExtractFileName(path) + (recurse ? "/S" : "");
    GetAllFilesInDir(List, fw::ExtractFilePath(path), mask, false);
}

void TZorp::FreeFileList(fw::TStrings* List) {
    if (List == nullptr)
        return;
    const int count = List->Count();
    for (int i = 0; i < count; ++i) {
        delete List->GetObject(i);
        List->PutObject(i, nullptr);
    }
    List->Clear();
}

float TZorp::DiskFree(uint8_t Drive) {
    if (Drive != 0)
        return -1; // no drive letters here
    return static_cast<float>(FreeBytesAt("./"));
}

int32_t TZorp::CheckDiskSpace(const std::filesystem::path& Path) {
    if (!FCheckSpaceBeforeExpand)
        return MaxSpace;
    const auto free = static_cast<double>(static_cast<float>(FreeBytesAt(Path)));
    int32_t result = free < MaxSpace ? static_cast<int32_t>(free) : MaxSpace;
    struct stat existing {};
    if (result < MaxSpace && lstat(Path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        // The file will be replaced, so its space counts as free. Only a
        // regular file's: a link or a device there is not read.
        const auto size = static_cast<double>(existing.st_size);
        result = size + free < MaxSpace ? result + static_cast<int32_t>(size) : MaxSpace;
    }
    return result;
}

} // namespace zorp
