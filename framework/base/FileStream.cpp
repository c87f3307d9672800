#include "framework/base/FileStream.h"

#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorp::fw {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// Takes the sharing lock of the mode on the whole file; false when another
// handle holds a lock that the mode cannot live with.
bool TakeShareLock(int fd, uint16_t mode, bool writes) {
    const uint16_t share = mode == fmCreate ? fmShareExclusive : (mode & 0x00F0);
    if (share != fmShareDenyWrite && share != fmShareExclusive && share != fmShareDenyRead)
        return true;
    struct flock lock {};
    lock.l_type = (writes || share != fmShareDenyWrite) ? F_WRLCK : F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool IsDirectory(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
    const bool create = Mode == fmCreate;
    const uint16_t access = create ? fmOpenReadWrite : (Mode & 0x0003);
    int flags = O_CLOEXEC;
    if (access == fmOpenWrite)
        flags |= O_WRONLY;
    else if (access == fmOpenReadWrite)
        flags |= O_RDWR;
    else
        flags |= O_RDONLY;
    if (create)
        flags |= O_CREAT;

    std::string reason;
    FHandle = ::open(FileName.c_str(), flags, 0666);
    if (FHandle < 0) {
        reason = Reason(errno);
    } else if (IsDirectory(FHandle)) {
        reason = Reason(EISDIR);
    } else if (!TakeShareLock(FHandle, Mode, access != fmOpenRead)) {
        reason = "The file is in use by another process";
    } else if (create && ftruncate(FHandle, 0) != 0) {
        // Truncated only once the lock is ours, so a refused create destroys nothing.
        reason = Reason(errno);
    }
    if (!reason.empty()) {
        if (FHandle >= 0)
            ::close(FHandle);
        FHandle = -1;
        if (create)
            throw EFCreateError("Cannot create file \"" + FileName + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + reason);
    }
}

std::unique_ptr<TFileStream> TFileStream::Adopt(int Handle, const std::string& FileName) {
    return std::unique_ptr<TFileStream>(new TFileStream(Handle, FileName));
}

TFileStream::~TFileStream() {
    if (FHandle >= 0)
        ::close(FHandle);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    auto* out = static_cast<char*>(Buffer);
    int32_t done = 0;
    while (done < Count) {
        const ssize_t n = ::read(FHandle, out + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EReadError(FFileName + ": " + Reason(errno));
        if (n == 0)
            break; // the end of the file
        done += static_cast<int32_t>(n);
    }
    return done;
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    const auto* in = static_cast<const char*>(Buffer);
    int32_t done = 0;
    while (done < Count) {
        const ssize_t n = ::write(FHandle, in + done, static_cast<size_t>(Count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EWriteError(FFileName + ": " + Reason(errno));
        if (n == 0)
            throw EWriteError(FFileName + ": " + Reason(ENOSPC));
        done += static_cast<int32_t>(n);
    }
    return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    const int whence =
        Origin == soBeginning ? SEEK_SET : (Origin == soCurrent ? SEEK_CUR : SEEK_END);
    const off_t pos = ::lseek(FHandle, Offset, whence);
    if (pos < 0)
        throw EStreamError("Invalid stream position in \"" + FFileName + "\". " + Reason(errno));
    return pos;
}

void TFileStream::SetSize(int64_t NewSize) {
    if (NewSize < 0 || ftruncate(FHandle, NewSize) != 0)
        throw EStreamError("Cannot resize file \"" + FFileName + "\". " + Reason(errno));
    if (Position() > NewSize)
        Seek(NewSize, soBeginning);
}

int64_t TFileStream::Size() {
    struct stat st {};
    if (fstat(FHandle, &st) != 0)
        throw EStreamError("Cannot read size of \"" + FFileName + "\". " + Reason(errno));
    return st.st_size;
}

} // namespace zorp::fw
