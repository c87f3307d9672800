#include "tools/zorp/Files.h"

#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zorp::tool {

namespace {

// Creates a new empty file from a mkstemp template; returns its name.
std::string MakeTempFile(std::string Template) {
    const int fd = mkstemp(Template.data());
    if (fd < 0)
        throw fw::EFCreateError("Cannot create file \"" + Template + "\". " + std::strerror(errno));
    close(fd);
    return Template;
}

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

void CopyAll(int From, int To, const std::string& What) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = read(From, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fw::EReadError("Cannot read " + What + ". " + std::strerror(errno));
        if (n == 0)
            return;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(To, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                throw fw::EWriteError("Cannot write " + What + ". " + std::strerror(errno));
            done += w;
        }
    }
}

} // namespace

InputFile::InputFile(const std::string& Name) {
    if (Name != "-") {
        FFile = std::make_unique<fw::TFileStream>(Name, fw::fmOpenRead | fw::fmShareDenyWrite);
    } else {
        const std::string spool = MakeTempFile(TempDirectory() + "/zorp-stdin-XXXXXX");
        FFile = std::make_unique<fw::TFileStream>(spool, fw::fmOpenReadWrite);
        unlink(spool.c_str()); // gone when closed
        CopyAll(STDIN_FILENO, FFile->Handle(), "standard input");
        FFile->SetPosition(0);
    }
    FBuffered = std::make_unique<fw::TBufferedStream>(*FFile, FileBufferSize);
}

OutputFile::OutputFile(std::string Name) : FName(std::move(Name)) {
    if (FName == "-") {
        FTempName = MakeTempFile(TempDirectory() + "/zorp-stdout-XXXXXX");
    } else {
        FTempName = MakeTempFile(FName + ".zorp-XXXXXX");
        // A new file gets the usual permissions; a replaced one keeps its own.
        const mode_t mask = umask(0);
        umask(mask);
        mode_t mode = 0666 & ~mask;
        struct stat st {};
        if (stat(FName.c_str(), &st) == 0)
            mode = st.st_mode & 07777;
        chmod(FTempName.c_str(), mode);
    }
    FStream = std::make_unique<fw::TFileStream>(FTempName, fw::fmOpenReadWrite);
    FBuffered = std::make_unique<fw::TBufferedStream>(*FStream, FileBufferSize);
}

OutputFile::~OutputFile() {
    FBuffered.reset();
    FStream.reset();
    if (!FCommitted)
        unlink(FTempName.c_str());
}

void OutputFile::Commit() {
    FBuffered->Flush();
    FBuffered.reset();
    if (FName == "-") {
        FStream->SetPosition(0);
        CopyAll(FStream->Handle(), STDOUT_FILENO, "standard output");
        FStream.reset();
        unlink(FTempName.c_str());
    } else {
        FStream.reset();
        if (rename(FTempName.c_str(), FName.c_str()) != 0)
            throw fw::EFCreateError("Cannot create file \"" + FName + "\". " +
                                    std::strerror(errno));
    }
    FCommitted = true;
}

} // namespace zorp::tool
