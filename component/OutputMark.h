// TOutputMark: where an operation began writing to a caller's stream, so
// that a cancelled operation can take back what it wrote.
#pragma once

#include "common/Errors.h"
#include "framework/base/Stream.h"

#include <cstdint>

namespace zorp {

class TOutputMark {
public:
    // Notes Dest's position and size. A stream that cannot tell them (one
    // that cannot seek) is taken back as far as it can be: not at all.
    explicit TOutputMark(fw::TStream& Dest);

    // Cuts Dest back to the size it had and sets it back to the position it
    // had. Bytes written over what Dest held before its end stay written;
    // a stream that cannot be cut or go back (a pipe) keeps what it got.
    void TakeBack() const;

private:
    fw::TStream& FDest;
    int64_t FPosition = -1;
    int64_t FSize = -1;
};

// Runs Work, which writes to Dest; when it is cancelled (EOperationCancelled),
// takes back what it wrote before the exception goes on.
template <class Work> void TakeBackWhenCancelled(fw::TStream& Dest, Work&& work) {
    const TOutputMark mark(Dest);
    try {
        work();
    } catch (const EOperationCancelled&) {
        mark.TakeBack();
        throw;
    }
}

} // namespace zorp
