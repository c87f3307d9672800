// File functions. Paths use "/" as the separator. Attributes follow the
// framework's bits, mapped from the file system:
//   faReadOnly  (1)  the owner may not write the file
//   faHidden    (2)  the name begins with "."
//   faSysFile   (4)  neither a regular file nor a directory (devices, fifos,
//                    sockets, and symbolic links to directories, which are
//                    thus never entered by a directory walk)
//   faDirectory (16) a directory
//   faArchive   (32) a regular file
// File dates are packed DOS date-time values in local time: the date in the
// high 16 bits (years since 1980 << 9 | month << 5 | day), the time in the
// low 16 bits (hour << 11 | minute << 5 | seconds / 2).
#pragma once

#include "Export.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::fw {

/// File attribute bits, as the comment at the top of this file maps them.
/// faVolumeID is never set by the file system here; in a search, the bit
/// asks for volume labels, of which there are none. faAnyFile holds every bit.
/// @{
inline constexpr int32_t faReadOnly = 0x01;
inline constexpr int32_t faHidden = 0x02;
inline constexpr int32_t faSysFile = 0x04;
inline constexpr int32_t faVolumeID = 0x08;
inline constexpr int32_t faDirectory = 0x10;
inline constexpr int32_t faArchive = 0x20;
inline constexpr int32_t faAnyFile = 0x3F;
/// @}

struct TSearchState;

/// One entry of a directory search, and the search itself.
struct ZORP_API TSearchRec {
    int32_t Time = 0; ///< Last write, packed DOS date-time
    int64_t Size = 0; ///< Size in bytes
    int32_t Attr = 0; ///< Attribute bits
    std::string Name; ///< The entry's name, without its directory

    /// Starts with no search running.
    TSearchRec();
    /// Ends a search still running.
    ~TSearchRec();
    /// Takes Other's entry and its running search.
    /// @{
    TSearchRec(TSearchRec&&) noexcept;
    TSearchRec& operator=(TSearchRec&&) noexcept;
    /// @}

    /// The running search (the open directory and the pattern); null when
    /// none runs.
    std::unique_ptr<TSearchState> State;
};

//// Starts a search for Path ("dir/pattern", with "*" and "?" wildcards
/// compared case-insensitively; "*.*" matches every name). Entries that are
/// hidden, system files, volume labels or directories are found only when
/// their bits are in Attr; other entries always. Returns 0 and fills F with
/// the first entry, or an error code (ENOENT when nothing matched).
ZORP_API int FindFirst(const std::string& Path, int32_t Attr, TSearchRec& F);
/// Next entry: 0, or ENOENT when there are no more.
ZORP_API int FindNext(TSearchRec& F);
/// Ends the search and releases what it holds.
ZORP_API void FindClose(TSearchRec& F);

/// True for an existing entry that is not a directory.
ZORP_API bool FileExists(const std::string& FileName);
/// True for an existing directory (symbolic links followed).
ZORP_API bool DirectoryExists(const std::string& Directory);
/// Removes a file (not a directory); false on failure.
ZORP_API bool DeleteFile(const std::string& FileName);
/// Renames a file; false on failure, and when NewName already exists.
ZORP_API bool RenameFile(const std::string& OldName, const std::string& NewName);

/// FileName with its extension (see ExtractFileExt) replaced by Extension,
/// which includes its "."; added when the name has none.
ZORP_API std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
/// Everything up to and including the last "/"; empty when there is none.
ZORP_API std::string ExtractFilePath(const std::string& FileName);
/// Everything after the last "/".
ZORP_API std::string ExtractFileName(const std::string& FileName);
/// The extension of the name part, "." included, taken from its last ".";
/// empty when the name part has none.
ZORP_API std::string ExtractFileExt(const std::string& FileName);

/// Last-write date of an open file (a file descriptor), packed, or -1.
ZORP_API int32_t FileGetDate(int Handle);
/// Sets the last-write date of an open file to the packed date Age; 0, or an
/// error code (EINVAL for a date that is not valid).
ZORP_API int FileSetDate(int Handle, int32_t Age);
/// Attribute bits of a file or directory, or -1 when it doesn't exist.
ZORP_API int32_t FileGetAttr(const std::string& FileName);
/// Applies faReadOnly to the write permission bits; 0, or an error code.
/// A symbolic link is not followed (ELOOP): its target is left alone.
ZORP_API int FileSetAttr(const std::string& FileName, int32_t Attr);
/// The same on an open file (a file descriptor).
ZORP_API int FileSetAttr(int Handle, int32_t Attr);

/// Creates one directory; raises EInOutError on failure.
ZORP_API void MkDir(const std::string& Directory);

/// Conversions between time_t and packed DOS date-time (local time), clamped
/// to the range DOS dates can hold (1980 to 2107).
/// @{
ZORP_API int32_t DateTimeToFileDate(int64_t UnixTime);
ZORP_API int64_t FileDateToUnixTime(int32_t FileDate);
/// @}

} // namespace zorp::fw
