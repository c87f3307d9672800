#pragma once

#include "Directory.h"
#include "Export.h"
#include "FileStream.h"

#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

namespace zorp::fw {

/// A new file that takes a name only once it is complete.
///
/// The file is written in the directory of the name it will take: unnamed
/// where the file system allows it (it then vanishes by itself however the
/// program ends), otherwise under a unique name "NAME.zorp-XXXXXX" created
/// exclusively, which a destructor or a signal handler removes (see
/// TemporaryNames.h). Commit puts it in place in one atomic step: a new name
/// is linked to it, or it is renamed over what had the name (a file or a
/// symbolic link, which is replaced, never written through). Until then the
/// old file is untouched, and a file that is never committed leaves nothing.
///
/// A regular file that the new one replaces passes on its permissions (and,
/// where the process may, its owner and group).
class ZORP_API TReplacementFile {
public:
    /// A new, empty file that will take the name Name in Directory, which
    /// must stay open as long as this object lives. With Mode, the new file
    /// gets those permission bits (less the umask) rather than the replaced
    /// file's.
    /// DisplayName is the name that errors give: the final one, never a
    /// temporary name. Raises EFCreateError when no file can be made there,
    /// and when Name is a directory.
    TReplacementFile(const TDirectory& Directory, const std::string& Name,
                     const std::string& DisplayName, std::optional<mode_t> Mode = std::nullopt);
    /// The same for the file Path. When Path is a symbolic link, the file it
    /// points to is the one replaced, and the link stays.
    explicit TReplacementFile(const std::string& Path);
    /// Closes the new file and, unless it was committed, removes it.
    ~TReplacementFile();
    /// A replacement file is not copied.
    /// @{
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;
    /// @}

    /// The new file, open for reading and writing.
    TFileStream& Stream() { return *FStream; }

    /// Puts the file in place under its name. With Durable, its data reach
    /// the disk before the name does, and the directory is synced after, so
    /// a crash leaves either the old file or the complete new one. Raises
    /// EWriteError or EFCreateError, naming the file, when a step fails; the
    /// old file is then as it was unless only the final sync failed.
    void Commit(bool Durable);

private:
    void Create(std::optional<mode_t> Mode);
    // Links the unnamed file to Name, or to a temporary name that is then
    // renamed over Name.
    void LinkInPlace();
    [[noreturn]] void Fail(int Error) const;

    // The file that had the name when this one was made.
    struct TOldFile {
        bool IsRegular = false;
        mode_t Mode = 0;
        uid_t Owner = 0;
        gid_t Group = 0;
    };

    TDirectory FOwnDirectory; // opened by the path constructor
    int FDirectory = -1;      // the directory's handle
    TOldFile FOld;
    std::string FName;
    std::string FDisplayName;
    std::string FTempName; // empty while the file has no name
    int FTempSlot = -1;    // its slot in the temporary names, or -1
    std::unique_ptr<TFileStream> FStream;
};

} // namespace zorp::fw
