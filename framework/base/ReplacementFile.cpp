#include "framework/base/ReplacementFile.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileUtils.h"
#include "framework/base/TemporaryNames.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorp::fw {

namespace {

constexpr const char* TempInfix = ".zorp-";
constexpr size_t TempSuffixLength = 6;

// NAME.zorp-XXXXXX with six random letters and digits, NAME shortened when
// the whole would be too long for a file name.
std::string UniqueName(const std::string& Name) {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[TempSuffixLength] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static unsigned counter = 0;
        const unsigned seed = static_cast<unsigned>(getpid()) * 2654435761u + ++counter;
        for (size_t i = 0; i < TempSuffixLength; ++i)
            random[i] = static_cast<unsigned char>(seed >> (4 * i));
    }
    const size_t room = NAME_MAX - std::strlen(TempInfix) - TempSuffixLength;
    std::string unique = Name.substr(0, room) + TempInfix;
    for (const unsigned char r : random)
        unique += Letters[r % (sizeof Letters - 1)];
    return unique;
}

// An unnamed file can be given a name through /proc only.
bool CanLinkUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

} // namespace

TReplacementFile::TReplacementFile(const TDirectory& Directory, const std::string& Name,
                                   const std::string& DisplayName, std::optional<mode_t> Mode)
    : FDirectory(Directory.Handle()), FName(Name), FDisplayName(DisplayName) {
    Create(Mode);
}

TReplacementFile::TReplacementFile(const std::string& Path) : FDisplayName(Path) {
    std::string target = Path;
    struct stat st {};
    if (::lstat(Path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(Path.c_str(), nullptr),
                                                         &std::free);
        if (real)
            target = real.get();
    }
    FName = ExtractFileName(target);
    if (const int error = FOwnDirectory.Open(ExtractFilePath(target)))
        Fail(error);
    FDirectory = FOwnDirectory.Handle();
    Create(std::nullopt);
}

TReplacementFile::~TReplacementFile() {
    FStream.reset();
    if (!FTempName.empty())
        ::unlinkat(FDirectory, FTempName.c_str(), 0);
    ForgetTemporaryName(FTempSlot);
}

void TReplacementFile::Create(std::optional<mode_t> Mode) {
    const int dir = FDirectory;
    const mode_t creationMode = Mode.value_or(0666);
    // What has the name now: a directory cannot be replaced by a file, and a
    // regular file passes on its permissions.
    struct stat old {};
    if (::fstatat(dir, FName.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(old.st_mode))
            Fail(EISDIR);
        FOld = {S_ISREG(old.st_mode), old.st_mode & 07777, old.st_uid, old.st_gid};
    }
    int fd = -1;
    if (CanLinkUnnamedFiles()) {
        fd = ::openat(dir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, creationMode);
        // Some file systems cannot hold unnamed files: a named one instead.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            Fail(errno);
    }
    while (fd < 0) {
        const std::string temp = UniqueName(FName);
        fd = ::openat(dir, temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      creationMode);
        if (fd >= 0) {
            FTempName = temp;
            FTempSlot = NoteTemporaryName(dir, temp);
        } else if (errno != EEXIST) {
            Fail(errno);
        }
    }
    FStream = TFileStream::Adopt(fd, FDisplayName);
    if (FOld.IsRegular && !Mode) {
        const bool ours = FOld.Owner == ::geteuid() && FOld.Group == ::getegid();
        if (!ours && ::fchown(fd, FOld.Owner, FOld.Group) != 0) {
            // Only a privileged process may give a file away: it stays ours.
        }
        ::fchmod(fd, FOld.Mode);
    }
}

void TReplacementFile::Commit(bool Durable) {
    if (Durable && ::fsync(FStream->Handle()) != 0)
        throw EWriteError(FDisplayName + ": " + std::strerror(errno));
    if (FTempName.empty()) {
        LinkInPlace();
    } else if (::renameat(FDirectory, FTempName.c_str(), FDirectory, FName.c_str()) != 0) {
        Fail(errno);
    }
    FTempName.clear();
    ForgetTemporaryName(FTempSlot);
    FTempSlot = -1;
    if (Durable && ::fsync(FDirectory) != 0)
        throw EWriteError(FDisplayName + ": " + std::strerror(errno));
}

void TReplacementFile::LinkInPlace() {
    const int dir = FDirectory;
    const std::string self = "/proc/self/fd/" + std::to_string(FStream->Handle());
    if (::linkat(AT_FDCWD, self.c_str(), dir, FName.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != EEXIST)
        Fail(errno);
    // The name is taken: link under a temporary name, then rename over it.
    for (;;) {
        const std::string temp = UniqueName(FName);
        if (::linkat(AT_FDCWD, self.c_str(), dir, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            FTempName = temp;
            FTempSlot = NoteTemporaryName(dir, temp);
            break;
        }
        if (errno != EEXIST)
            Fail(errno);
    }
    if (::renameat(dir, FTempName.c_str(), dir, FName.c_str()) != 0)
        Fail(errno);
}

void TReplacementFile::Fail(int Error) const {
    throw EFCreateError("Cannot create file \"" + FDisplayName + "\". " + std::strerror(Error));
}

} // namespace zorp::fw
