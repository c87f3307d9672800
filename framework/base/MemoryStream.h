// TMemoryStream: a growable in-memory stream. SetSize may grow it ahead of
// writing; writing past the end grows it as needed.
#pragma once

#include "framework/base/Stream.h"

#include <string>
#include <vector>

namespace zorp::fw {

class TMemoryStream : public TStream {
public:
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

    // The stream's bytes; valid until the next write or resize.
    char* Memory() { return FData.data(); }
    const char* Memory() const { return FData.data(); }
    // A copy of the whole content as a byte string.
    std::string DataString() const { return std::string(FData.begin(), FData.end()); }

    void Clear();
    void LoadFromStream(TStream& Source);
    void SaveToStream(TStream& Dest);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

private:
    std::vector<char> FData;
    int64_t FPosition = 0;
};

} // namespace zorp::fw
