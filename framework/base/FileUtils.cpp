#include "framework/base/FileUtils.h"

#include "framework/base/Exceptions.h"
#include "framework/base/TextUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorp::fw {

struct TSearchState {
    std::unique_ptr<DIR, int (*)(DIR*)> Dir{nullptr, closedir};
    std::string Directory; // with a trailing "/" unless empty
    std::string Pattern;
    int32_t ExcludeAttr = 0;
};

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

namespace {

int32_t AttributesOf(const std::string& name, const struct stat& st, bool isLink) {
    int32_t attr = 0;
    if (S_ISDIR(st.st_mode) && !isLink)
        attr |= faDirectory;
    else if (S_ISREG(st.st_mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    if ((st.st_mode & S_IWUSR) == 0)
        attr |= faReadOnly;
    if (!name.empty() && name[0] == '.')
        attr |= faHidden;
    return attr;
}

// The permission bits of Mode with the write bits as faReadOnly says.
mode_t ModeWithAttr(mode_t Mode, int32_t Attr) {
    mode_t mode = Mode & 07777;
    if (Attr & faReadOnly)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return mode;
}

// Wildcard match, case-insensitive: "*" any run, "?" one character.
bool WildMatch(const char* p, const char* s) {
    while (*p != '\0') {
        if (*p == '*') {
            while (*p == '*')
                ++p;
            if (*p == '\0')
                return true;
            for (; *s != '\0'; ++s)
                if (WildMatch(p, s))
                    return true;
            return false;
        }
        if (*s == '\0')
            return false;
        if (*p != '?' && LowerCase(std::string(1, *p)) != LowerCase(std::string(1, *s)))
            return false;
        ++p;
        ++s;
    }
    return *s == '\0';
}

// A trailing ".*" also matches names without an extension, so "*.*" and
// "name.*" take names that have no ".".
bool NameMatches(const std::string& pattern, const std::string& name) {
    if (WildMatch(pattern.c_str(), name.c_str()))
        return true;
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos)
        return WildMatch(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
    return false;
}

// Fills F with the next entry that matches; 0 or ENOENT.
int FindMatching(TSearchRec& F) {
    TSearchState& state = *F.State;
    while (dirent* entry = readdir(state.Dir.get())) {
        const std::string name = entry->d_name;
        if (!NameMatches(state.Pattern, name))
            continue;
        const std::string full = state.Directory + name;
        struct stat st {};
        if (lstat(full.c_str(), &st) != 0)
            continue;
        const bool isLink = S_ISLNK(st.st_mode);
        if (isLink && stat(full.c_str(), &st) != 0)
            continue; // a dangling link
        const int32_t attr = AttributesOf(name, st, isLink);
        if ((attr & state.ExcludeAttr) != 0)
            continue;
        F.Name = name;
        F.Attr = attr;
        F.Size = st.st_size;
        F.Time = DateTimeToFileDate(st.st_mtime);
        return 0;
    }
    return ENOENT;
}

} // namespace

int FindFirst(const std::string& Path, int32_t Attr, TSearchRec& F) {
    FindClose(F);
    auto state = std::make_unique<TSearchState>();
    state->Directory = ExtractFilePath(Path);
    state->Pattern = ExtractFileName(Path);
    state->ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    state->Dir.reset(opendir(state->Directory.empty() ? "." : state->Directory.c_str()));
    if (!state->Dir)
        return errno;
    F.State = std::move(state);
    const int result = FindMatching(F);
    if (result != 0)
        FindClose(F);
    return result;
}

int FindNext(TSearchRec& F) {
    if (!F.State)
        return ENOENT;
    return FindMatching(F);
}

void FindClose(TSearchRec& F) {
    F.State.reset();
}

bool FileExists(const std::string& FileName) {
    struct stat st {};
    return stat(FileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
    struct stat st {};
    return stat(Directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& FileName) {
    return unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
    if (renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // The file system cannot refuse to replace by itself: check first.
    struct stat st {};
    if (lstat(NewName.c_str(), &st) == 0)
        return false;
    return rename(OldName.c_str(), NewName.c_str()) == 0;
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
    const std::string ext = ExtractFileExt(FileName);
    return FileName.substr(0, FileName.size() - ext.size()) + Extension;
}

std::string ExtractFilePath(const std::string& FileName) {
    const size_t slash = FileName.rfind('/');
    return slash == std::string::npos ? std::string() : FileName.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& FileName) {
    const size_t slash = FileName.rfind('/');
    return slash == std::string::npos ? FileName : FileName.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
    const std::string name = ExtractFileName(FileName);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

int32_t DateTimeToFileDate(int64_t UnixTime) {
    const auto t = static_cast<time_t>(UnixTime);
    struct tm local {};
    if (localtime_r(&t, &local) == nullptr || local.tm_year < 80)
        return (1 << 5 | 1) << 16; // 1980-01-01 00:00:00
    if (local.tm_year > 80 + 127)
        return static_cast<int32_t>((127u << 25 | 12u << 21 | 31u << 16) |
                                    (23u << 11 | 59u << 5 | 29u));
    const uint32_t date =
        static_cast<uint32_t>((local.tm_year - 80) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    const uint32_t time =
        static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    return static_cast<int32_t>(date << 16 | time);
}

int64_t FileDateToUnixTime(int32_t FileDate) {
    const auto packed = static_cast<uint32_t>(FileDate);
    const uint32_t date = packed >> 16;
    const uint32_t time = packed & 0xFFFF;
    struct tm local {};
    local.tm_year = static_cast<int>((date >> 9) + 80);
    local.tm_mon = static_cast<int>((date >> 5) & 15) - 1;
    local.tm_mday = static_cast<int>(date & 31);
    local.tm_hour = static_cast<int>(time >> 11);
    local.tm_min = static_cast<int>((time >> 5) & 63);
    local.tm_sec = static_cast<int>((time & 31) * 2);
    local.tm_isdst = -1;
    if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 ||
        local.tm_min > 59 || local.tm_sec > 59)
        return -1;
    return static_cast<int64_t>(mktime(&local));
}

int32_t FileGetDate(int Handle) {
    struct stat st {};
    if (fstat(Handle, &st) != 0)
        return -1;
    return DateTimeToFileDate(st.st_mtime);
}

int FileSetDate(int Handle, int32_t Age) {
    const int64_t when = FileDateToUnixTime(Age);
    if (when == -1)
        return EINVAL;
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(when);
    return futimens(Handle, times) == 0 ? 0 : errno;
}

int32_t FileGetAttr(const std::string& FileName) {
    struct stat st {};
    if (lstat(FileName.c_str(), &st) != 0)
        return -1;
    const bool isLink = S_ISLNK(st.st_mode);
    if (isLink && stat(FileName.c_str(), &st) != 0)
        return -1;
    return AttributesOf(ExtractFileName(FileName), st, isLink);
}

int FileSetAttr(const std::string& FileName, int32_t Attr) {
    struct stat st {};
    if (lstat(FileName.c_str(), &st) != 0)
        return errno;
    if (S_ISLNK(st.st_mode))
        return ELOOP;
    return fchmodat(AT_FDCWD, FileName.c_str(), ModeWithAttr(st.st_mode, Attr), 0) == 0 ? 0 : errno;
}

int FileSetAttr(int Handle, int32_t Attr) {
    struct stat st {};
    if (fstat(Handle, &st) != 0)
        return errno;
    return fchmod(Handle, ModeWithAttr(st.st_mode, Attr)) == 0 ? 0 : errno;
}

void MkDir(const std::string& Directory) {
    if (mkdir(Directory.c_str(), 0777) != 0) {
        const int error = errno;
        throw EInOutError("I/O error " + std::to_string(error) + ": " + std::strerror(error) +
                              " (\"" + Directory + "\")",
                          error);
    }
}

} // namespace zorp::fw
