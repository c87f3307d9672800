// The memory an expanded value is built in, bounded by the connection's
// length limit.
#pragma once

#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <exception>

namespace zorp::sql {

// A value would be longer than the connection's length limit allows; the
// function reports SQLite's own "string or blob too big".
class ETooBig : public std::exception {
public:
    const char* what() const noexcept override { return "string or blob too big"; }
};

// A memory stream that never grows past Limit bytes: a write or a size
// beyond it raises ETooBig before any memory is taken for it. Damaged data
// can expand to more than their header says (the run-length decoder does
// not stop at the stated size), and this is what keeps them to the limit.
class TLimitedBuffer : public fw::TMemoryStream {
public:
    explicit TLimitedBuffer(int64_t Limit) : FLimit(Limit) {}

    // Refuses a write that would end past the limit.
    int32_t Write(const void* Buffer, int32_t Count) override;
    // Refuses a size past the limit.
    void SetSize(int64_t NewSize) override;

private:
    int64_t FLimit;
};

} // namespace zorp::sql
