// Enumerations and event types shared by the engine and the component.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/base/Stream.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorp {

/// The compression methods; the ordinal indexes the method IDs stored in headers.
enum TZorpMethod : uint8_t {
    coNone = 0,   ///< Stored as it is.
    coRLE = 1,    ///< Run-length encoding.
    coLZH = 2,    ///< The LZH codec.
    coCustom = 3, ///< The application's own method, run by OnCompress and OnExpand.
    coLZH5 = 4    ///< The LZH5 codec.
};

/// What an operation does with the data or the file it handles.
enum TCProcessMode : uint8_t {
    cmCompress = 0, ///< Compresses.
    cmExpand = 1,   ///< Expands.
    cmDelete = 2    ///< Removes an entry from an archive (told to OnCheckFile only).
};

/// The kind of data a stream header introduces.
enum TZorpArchiveType : uint8_t {
    caSingle = 0, ///< One compressed stream.
    caMulti = 1   ///< An archive of named entries.
};

/// Compresses Source into Dest with the application's own method. The handler
/// may change CompressID (its first three characters go to the header), and
/// stores the bytes it wrote in Outputsize and a checksum of the source in
/// checksum.
using TZorpEvent =
    std::function<void(fw::TStream& dest, fw::TStream& source, std::string& CompressID,
                       int32_t& Outputsize, int32_t& checksum)>;
/// Expands Sourcesize bytes of the application's own method into Destsize
/// bytes, storing their checksum in checksum for the component to compare with
/// the stored one.
using TExpandEvent =
    std::function<void(fw::TStream& dest, fw::TStream& source, int32_t Sourcesize, int32_t Destsize,
                       const std::string& CompressID, int32_t& checksum)>;
/// Accepts a method ID other than the built-in ones by setting recognized;
/// such data then counts as coCustom.
using TRecognizeEvent = std::function<void(const std::string& CompressID, bool& recognized)>;
/// Vets or renames one file of a multi-file operation: an empty filepath skips
/// the file, "*" stops the operation there, another path replaces the name
/// (not when deleting).
using TFilenameCheckEvent = std::function<void(std::string& filepath, TCProcessMode mode)>;
/// Progress in percent; setting -1 cancels.
using TShowProgressEvent = std::function<void(int32_t& PercentageDone)>;
/// One entry of an archive could not be expanded to the file FilePath.
using TExpandErrorEvent =
    std::function<void(const std::string& FilePath, const std::exception& Error)>;

/// Where a whole archive operation stands: the entry it is at and the bytes
/// done of all it has to do. Bytes are uncompressed bytes of the entries.
struct ZORP_API TOperationProgress {
    std::string Name;  ///< The entry being handled.
    int Index = 0;     ///< Its place among the entries of the operation, from 0.
    int Count = 0;     ///< The entries the operation takes on.
    int64_t Done = 0;  ///< Bytes done, never going back.
    int64_t Total = 0; ///< Bytes of the whole operation.
};
/// Receives the progress of a whole archive operation.
using TOperationProgressEvent = std::function<void(const TOperationProgress& Progress)>;

} // namespace zorp
