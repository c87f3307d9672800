#include "component/OutputMark.h"

namespace zorp {

TOutputMark::TOutputMark(fw::TStream& Dest) : FDest(Dest) {
    try {
        FPosition = Dest.Position();
        FSize = Dest.Size();
    } catch (const fw::EStreamError&) {
        FPosition = -1; // nothing to go back to
    }
}

void TOutputMark::TakeBack() const {
    if (FPosition < 0)
        return;
    try {
        if (FDest.Size() > FSize)
            FDest.SetSize(FSize);
        FDest.SetPosition(FPosition);
    } catch (const fw::EStreamError&) {
        // A stream that cannot be cut, or not go back (a pipe), keeps what
        // was written.
    }
}

} // namespace zorp
