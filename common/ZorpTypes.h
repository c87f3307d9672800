// Enumerations and event types shared by the engine and the component.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/base/Stream.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorp {

enum TZorpMethod : uint8_t { coNone = 0, coRLE = 1, coLZH = 2, coCustom = 3, coLZH5 = 4 };

enum TCProcessMode : uint8_t { cmCompress = 0, cmExpand = 1, cmDelete = 2 };

enum TZorpArchiveType : uint8_t { caSingle = 0, caMulti = 1 };

// Compresses Source into Dest with the application's own method.
using TZorpEvent =
    std::function<void(fw::TStream& dest, fw::TStream& source, std::string& CompressID,
                       int32_t& Outputsize, int32_t& checksum)>;
// Expands data of the application's own method.
using TExpandEvent =
    std::function<void(fw::TStream& dest, fw::TStream& source, int32_t Sourcesize, int32_t Destsize,
                       const std::string& CompressID, int32_t& checksum)>;
// Accepts a method ID other than the built-in ones.
using TRecognizeEvent = std::function<void(const std::string& CompressID, bool& recognized)>;
// Vets or renames one file of a multi-file operation.
using TFilenameCheckEvent = std::function<void(std::string& filepath, TCProcessMode mode)>;
// Progress in percent; setting -1 cancels.
using TShowProgressEvent = std::function<void(int32_t& PercentageDone)>;
// One entry of an archive could not be expanded to the file FilePath.
using TExpandErrorEvent =
    std::function<void(const std::string& FilePath, const std::exception& Error)>;

// Where a whole archive operation stands: the entry it is at and the bytes
// done of all it has to do. Bytes are uncompressed bytes of the entries.
struct ZORP_API TOperationProgress {
    std::string Name;  // the entry being handled
    int Index = 0;     // its place among the entries of the operation, from 0
    int Count = 0;     // the entries the operation takes on
    int64_t Done = 0;  // bytes done, never going back
    int64_t Total = 0; // bytes of the whole operation
};
using TOperationProgressEvent = std::function<void(const TOperationProgress& Progress)>;

} // namespace zorp
