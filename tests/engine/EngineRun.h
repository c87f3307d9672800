// A run of the engine set up as the stream driver sets it up, for tests that
// drive GetChar, PutChar and the codecs directly.
#pragma once

#include "engine/CompThreadSafety.h"
#include "support/CountingStream.h"

#include <memory>
#include <string>
#include <vector>

namespace zorp::test {

struct EngineRun {
    explicit EngineRun(const std::string& Input, int32_t Budget = 0x7FFFFFFF, int32_t Key = 0,
                       bool Scramble = false, bool Descramble = false)
        : Source(Input), Buffers(std::make_unique<TRunBuffers>(Engine)) {
        Engine.Source = &Source;
        Engine.Dest = &Dest;
        Engine.EndOfInput = false;
        Engine.rleFirstByte = true;
        Engine.InRemaining = static_cast<int32_t>(Input.size());
        Engine.ReadChunk = BufferSize;
        Engine.OutBudget = Budget;
        Engine.ScrambleOutput = Scramble;
        Engine.DescrambleInput = Descramble;
        for (int i = 0; i < 4; ++i)
            Engine.KeyBytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(Key) >> (8 * i));
    }

    // Records every refill event; CancelAt (0-based event number) answers -1.
    void RecordProgress(int CancelAt = -1) {
        Engine.Progress = [this, CancelAt](int32_t& percent) {
            Events.push_back(percent);
            if (static_cast<int>(Events.size()) - 1 == CancelAt)
                percent = -1;
        };
    }

    // Writes what is left in the output buffer, as the driver does.
    void Flush() {
        if (Engine.OutPos > Engine.OutBuffer)
            Dest.WriteBuffer(Engine.OutBuffer,
                             static_cast<int32_t>(Engine.OutPos - Engine.OutBuffer));
    }

    TCompThreadSafety Engine;
    CountingStream Source;
    CountingStream Dest;
    std::unique_ptr<TRunBuffers> Buffers;
    std::vector<int32_t> Events;
};

} // namespace zorp::test
