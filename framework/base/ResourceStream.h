#pragma once

#include "Export.h"
#include "Modules.h"
#include "Stream.h"

#include <string>

namespace zorp::fw {

/// A read-only stream over the bytes of a resource of a module (see
/// Resources.h). The bytes are copied out of the module's file when the stream
/// is made, so the module may be released at once.
class ZORP_API TResourceStream : public TStream {
public:
    /// The resource ResName of type ResType of a loaded module. Raises
    /// EResNotFound when the module has no such resource, EModuleError when
    /// its file is damaged.
    TResourceStream(HMODULE Instance, const std::string& ResName, const std::string& ResType);
    /// The same from the module's file, loaded or not.
    TResourceStream(const std::string& ModuleFileName, const std::string& ResName,
                    const std::string& ResType);

    /// Copies bytes of the resource; nothing past its end.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Raises EStreamError: resources cannot be written.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Any position from 0 on; a negative one raises EStreamError.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// Returns the resource's size without seeking.
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    /// The resource's bytes, held by the stream.
    const char* Memory() const { return FData.data(); }

private:
    std::string FData;
    int64_t FPosition = 0;
};

} // namespace zorp::fw
