#include "framework/base/ResourceStream.h"

#include "framework/base/Exceptions.h"
#include "framework/base/Resources.h"

#include <span>

namespace zorp::fw {

TResourceStream::TResourceStream(HMODULE Instance, const std::string& ResName,
                                 const std::string& ResType)
    : TResourceStream(GetModuleFileName(Instance), ResName, ResType) {}

TResourceStream::TResourceStream(const std::string& ModuleFileName, const std::string& ResName,
                                 const std::string& ResType)
    : TReadOnlyMemoryStream(std::span<const std::byte>()),
      FData(LoadResourceData(ModuleFileName, ResName, ResType)) {
    SetBytes(std::as_bytes(std::span(FData)));
}

int32_t TResourceStream::Write(const void*, int32_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

} // namespace zorp::fw
