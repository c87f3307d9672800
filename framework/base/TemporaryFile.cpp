#include "framework/base/TemporaryFile.h"

#include "framework/base/Exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zorp::fw {

namespace {

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir != nullptr && *dir != '\0' ? dir : "/tmp";
}

} // namespace

std::unique_ptr<TFileStream> UnnamedTemporaryFile(const std::string& What) {
    const std::string dir = TempDirectory();
    int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // No unnamed files there: a named one, removed at once.
        std::string name = dir + "/zorp-XXXXXX";
        fd = mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0)
            unlink(name.c_str());
    }
    if (fd < 0)
        throw EFCreateError("Cannot create a temporary file in \"" + dir + "\" for " + What + ". " +
                            std::strerror(errno));
    return TFileStream::Adopt(fd, What);
}

} // namespace zorp::fw
