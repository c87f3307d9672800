#include "framework/base/ResourceStream.h"

#include "framework/base/Exceptions.h"
#include "framework/base/Resources.h"

#include <algorithm>
#include <cstring>

namespace zorp::fw {

TResourceStream::TResourceStream(HMODULE Instance, const std::string& ResName,
                                 const std::string& ResType)
    : TResourceStream(GetModuleFileName(Instance), ResName, ResType) {}

TResourceStream::TResourceStream(const std::string& ModuleFileName, const std::string& ResName,
                                 const std::string& ResType)
    : FData(LoadResourceData(ModuleFileName, ResName, ResType)) {}

int32_t TResourceStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0 || FPosition >= Size())
        return 0;
    const int64_t n = std::min<int64_t>(Count, Size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return static_cast<int32_t>(n);
}

int32_t TResourceStream::Write(const void*, int32_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = 0;
    if (Origin == soCurrent)
        base = FPosition;
    else if (Origin == soEnd)
        base = Size();
    const int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    FPosition = target;
    return FPosition;
}

} // namespace zorp::fw
