#pragma once

#include "Export.h"
#include "Modules.h"
#include "ReadOnlyMemoryStream.h"

#include <string>

namespace zorp::fw {

/// A read-only stream over the bytes of a resource of a module (see
/// Resources.h). The bytes are copied out of the module's file when the stream
/// is made, so the module may be released at once; they are read as a
/// TReadOnlyMemoryStream reads its bytes.
class ZORP_API TResourceStream : public TReadOnlyMemoryStream {
public:
    /// The resource ResName of type ResType of a loaded module. Raises
    /// EResNotFound when the module has no such resource, EModuleError when
    /// its file is damaged.
    TResourceStream(HMODULE Instance, const std::string& ResName, const std::string& ResType);
    /// The same from the module's file, loaded or not.
    TResourceStream(const std::string& ModuleFileName, const std::string& ResName,
                    const std::string& ResType);

    /// Raises EStreamError: resources cannot be written.
    int32_t Write(const void* Buffer, int32_t Count) override;

    /// The resource's bytes, held by the stream.
    const char* Memory() const { return FData.data(); }

private:
    std::string FData;
};

} // namespace zorp::fw
