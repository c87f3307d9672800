#include "tools/zorp/Files.h"

#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zorp::tool {

namespace {

// Copies everything from From (read to its end) to To; What names the
// data in errors.
void CopyAll(int From, int To, const std::string& What) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = read(From, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fw::EReadError(What + ": " + std::strerror(errno));
        if (n == 0)
            return;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(To, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                throw fw::EWriteError(What + ": " + std::strerror(w < 0 ? errno : ENOSPC));
            done += w;
        }
    }
}

// Sets the permission bits and the modification time of the open file
// Handle, whose data are all written; Name names it in errors.
void SetStampOn(int Handle, const FileStamp& Stamp, const std::string& Name) {
    const timespec times[2] = {{0, UTIME_OMIT}, Stamp.Modified};
    if (fchmod(Handle, Stamp.Mode) != 0 || futimens(Handle, times) != 0)
        throw fw::EWriteError(Name + ": " + std::strerror(errno));
}

} // namespace

InputFile::InputFile(const std::string& Name) : FStandardInput(Name == "-") {
    if (!FStandardInput) {
        FFile = std::make_unique<fw::TFileStream>(Name, fw::fmOpenRead | fw::fmShareDenyWrite);
    } else {
        FFile = fw::UnnamedTemporaryFile("standard input");
        CopyAll(STDIN_FILENO, FFile->Handle(), "standard input");
        FFile->SetPosition(0);
    }
    FBuffered = std::make_unique<fw::TBufferedStream>(*FFile, FileBufferSize);
}

std::optional<FileStamp> InputFile::Stamp() const {
    if (FStandardInput)
        return std::nullopt;
    struct stat st {};
    if (fstat(FFile->Handle(), &st) != 0)
        throw fw::EReadError(FFile->FileName() + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return std::nullopt; // a device's or a pipe's stamp is not the data's
    return FileStamp{st.st_mode & 07777, st.st_mtim};
}

OutputFile::OutputFile(std::string Name) : FName(std::move(Name)) {
    fw::TStream* file = nullptr;
    if (FName == "-") {
        FSpool = fw::UnnamedTemporaryFile("standard output");
        file = FSpool.get();
    } else {
        FReplacement = std::make_unique<fw::TReplacementFile>(FName);
        file = &FReplacement->Stream();
    }
    FBuffered = std::make_unique<fw::TBufferedStream>(*file, FileBufferSize);
}

OutputFile::~OutputFile() = default;

void OutputFile::Commit() {
    FBuffered->Flush();
    FBuffered.reset();
    if (FSpool) {
        FSpool->SetPosition(0);
        CopyAll(FSpool->Handle(), STDOUT_FILENO, "standard output");
    } else {
        if (FStamp)
            SetStampOn(FReplacement->Stream().Handle(), *FStamp, FName);
        FReplacement->Commit(true);
    }
}

} // namespace zorp::tool
