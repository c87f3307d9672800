#include "framework/base/Directory.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorp::fw {

TDirectory::~TDirectory() {
    Close();
}

TDirectory::TDirectory(TDirectory&& Other) noexcept : FHandle(Other.FHandle) {
    Other.FHandle = -1;
}

TDirectory& TDirectory::operator=(TDirectory&& Other) noexcept {
    if (this != &Other) {
        Close();
        FHandle = Other.FHandle;
        Other.FHandle = -1;
    }
    return *this;
}

void TDirectory::Close() {
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
}

int TDirectory::Open(const std::string& Path) {
    Close();
    FHandle = ::open(Path.empty() ? "." : Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return FHandle >= 0 ? 0 : errno;
}

int TDirectory::OpenBelow(const TDirectory& Parent, const std::string& Name, bool Create) {
    Close();
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    FHandle = ::openat(Parent.FHandle, Name.c_str(), flags);
    if (FHandle < 0 && errno == ENOENT && Create) {
        if (::mkdirat(Parent.FHandle, Name.c_str(), 0777) != 0 && errno != EEXIST)
            return errno;
        FHandle = ::openat(Parent.FHandle, Name.c_str(), flags);
    }
    if (FHandle >= 0)
        return 0;
    const int error = errno;
    // O_NOFOLLOW reports a link as ELOOP, and O_DIRECTORY a file as
    // ENOTDIR; a link to a file may come as either.
    struct stat st {};
    if ((error == ELOOP || error == ENOTDIR) &&
        ::fstatat(Parent.FHandle, Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return S_ISLNK(st.st_mode) ? ELOOP : ENOTDIR;
    return error;
}

} // namespace zorp::fw
