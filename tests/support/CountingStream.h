// A memory stream that records every Read and Write call, so tests can see
// how a run moves its bytes.
#pragma once

#include "framework/base/MemoryStream.h"

#include <string>
#include <vector>

namespace zorp::test {

class CountingStream : public fw::TMemoryStream {
public:
    CountingStream() = default;
    explicit CountingStream(const std::string& Data) {
        if (!Data.empty())
            WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
        SetPosition(0);
    }

    int32_t Read(void* Buffer, int32_t Count) override {
        const int32_t n = fw::TMemoryStream::Read(Buffer, Count);
        Reads.push_back(n);
        return n;
    }
    int32_t Write(const void* Buffer, int32_t Count) override {
        Writes.push_back(Count);
        return fw::TMemoryStream::Write(Buffer, Count);
    }

    std::vector<int32_t> Reads;  // bytes delivered by each Read
    std::vector<int32_t> Writes; // bytes asked by each Write
};

} // namespace zorp::test
