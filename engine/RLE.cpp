// The run-length codec. A run of three or more equal bytes is written as its
// first byte followed by the marker 0x94 and the run length (3 to 255); the
// marker itself is escaped as 0x94 0x00 and never starts or continues a run.
#include "engine/CompThreadSafety.h"

namespace zorp {

void TCompThreadSafety::CompressRLE() {
    for (;;) {
        const uint8_t b = GetChar();
        if (EndOfInput) {
            if (rleInRun)
                emit(rleRunCount, rleLastByte);
            return;
        }
        if (rleInRun) {
            if (b == rleLastByte && rleRunCount < 255) {
                ++rleRunCount;
            } else {
                emit(rleRunCount, rleLastByte);
                rleLastByte = b;
                if (b == RLEMarker)
                    emit(0, b);
                else
                    PutChar(b);
                rleInRun = false;
            }
        } else {
            if (b == RLEMarker) {
                emit(0, b);
            } else if (b == rleLastByte && !rleFirstByte) {
                rleRunCount = 2;
                rleInRun = true;
            } else {
                PutChar(b);
            }
            rleLastByte = b;
        }
        rleFirstByte = false;
    }
}

void TCompThreadSafety::ExpandRLE() {
    for (;;) {
        const uint8_t a = GetChar();
        if (EndOfInput)
            return;
        if (a != RLEMarker) {
            PutChar(a);
        } else {
            // At the end of the data the count reads as 0: a final lone marker
            // stands for itself.
            const uint8_t n = GetChar();
            if (n == 0) {
                PutChar(RLEMarker);
            } else {
                for (rleRunCount = n - 1; rleRunCount > 0; --rleRunCount)
                    PutChar(rleLastByte);
            }
        }
        rleLastByte = a;
    }
}

} // namespace zorp
