#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::fw {

/// Access modes of TFileStream: read only, write only, or both.
/// @{
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
/// @}
/// Sharing modes of TFileStream, or-ed with an access mode. fmShareCompat
/// and fmShareDenyNone take no lock; fmShareDenyWrite refuses writers (a
/// shared lock when the handle only reads); fmShareExclusive and
/// fmShareDenyRead refuse every other locking handle.
/// @{
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;
/// @}
/// Creates the file or truncates an existing one, for reading and writing,
/// exclusively; used alone, not or-ed with other modes.
inline constexpr uint16_t fmCreate = 0xFF00;

/// A stream over an open file. The open mode combines an access mode with a
/// sharing mode, as the framework's file functions do:
///
/// @verbatim
///   fmOpenRead | fmShareDenyWrite      read; other readers welcome, writers refused
///   fmOpenRead | fmShareDenyNone       read; no restriction
///   fmOpenReadWrite | fmShareDenyWrite read and write; others may only read
///   fmCreate                           create or truncate; exclusive
/// @endverbatim
///
/// Sharing is enforced between the handles of this framework with open file
/// description locks on the whole file: a handle that denies writers holds a
/// shared lock when it only reads and an exclusive lock when it writes, so a
/// second handle that would break either promise fails to open. Handles opened
/// with fmShareDenyNone take no lock and are not refused by anyone.
class ZORP_API TFileStream : public TStream {
public:
    /// Opens or creates FileName in Mode (an access mode or-ed with a
    /// sharing mode, or fmCreate). Raises EFOpenError ("Cannot open file
    /// ...") or, for fmCreate, EFCreateError ("Cannot create file ..."),
    /// naming the file and the reason; a directory, or a file another handle
    /// holds against the sharing mode, is refused too.
    TFileStream(const std::string& FileName, uint16_t Mode);
    /// A stream over a file descriptor that is already open (for reading,
    /// writing or both), which the stream then owns and closes. FileName is
    /// the name its errors give; no sharing lock is taken.
    static std::unique_ptr<TFileStream> Adopt(int Handle, const std::string& FileName);
    /// Closes the file, which releases its sharing lock.
    ~TFileStream() override;
    /// A file stream is not copied.
    /// @{
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    /// @}

    /// Reads until Count bytes or the end of the file; a system error raises
    /// EReadError naming the file.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Writes all Count bytes; a system error or a full disk raises
    /// EWriteError naming the file.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Moves the file position; a position the system refuses raises
    /// EStreamError.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// Truncates or extends the file, moving the position back to the new end
    /// when it lay beyond; failure raises EStreamError.
    void SetSize(int64_t NewSize) override;
    /// Returns the file's size as the system reports it, without seeking.
    int64_t Size() override;

    /// The name the stream was opened with, which its errors give.
    const std::string& FileName() const { return FFileName; }
    /// The operating-system file descriptor, for FileGetDate and FileSetDate.
    int Handle() const { return FHandle; }

private:
    TFileStream(int Handle, const std::string& FileName) : FFileName(FileName), FHandle(Handle) {}

    std::string FFileName;
    int FHandle = -1;
};

} // namespace zorp::fw
