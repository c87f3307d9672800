// TFileStream: a stream over an open file. The open mode combines an access
// mode with a sharing mode, as the framework's file functions do:
//
//   fmOpenRead | fmShareDenyWrite      read; other readers welcome, writers refused
//   fmOpenRead | fmShareDenyNone       read; no restriction
//   fmOpenReadWrite | fmShareDenyWrite read and write; others may only read
//   fmCreate                           create or truncate; exclusive
//
// Sharing is enforced between the handles of this framework with open file
// description locks on the whole file: a handle that denies writers holds a
// shared lock when it only reads and an exclusive lock when it writes, so a
// second handle that would break either promise fails to open. Handles opened
// with fmShareDenyNone take no lock and are not refused by anyone.
#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::fw {

inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;
inline constexpr uint16_t fmCreate = 0xFF00;

class ZORP_API TFileStream : public TStream {
public:
    // Raises EFOpenError ("Cannot open file ...") or, for fmCreate,
    // EFCreateError ("Cannot create file ..."), naming the file and the reason.
    TFileStream(const std::string& FileName, uint16_t Mode);
    // A stream over a file descriptor that is already open (for reading,
    // writing or both), which the stream then owns and closes. FileName is
    // the name its errors give; no sharing lock is taken.
    static std::unique_ptr<TFileStream> Adopt(int Handle, const std::string& FileName);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    int64_t Size() override;

    const std::string& FileName() const { return FFileName; }
    // The operating-system file descriptor, for FileGetDate and FileSetDate.
    int Handle() const { return FHandle; }

private:
    TFileStream(int Handle, const std::string& FileName) : FFileName(FileName), FHandle(Handle) {}

    std::string FFileName;
    int FHandle = -1;
};

} // namespace zorp::fw
