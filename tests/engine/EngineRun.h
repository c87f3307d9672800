// A run of the engine started as the stream driver starts it, for tests that
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
        Settings.SourceSize = static_cast<int32_t>(Input.size());
        Settings.OutBudget = Budget;
        Settings.Key = static_cast<uint32_t>(Key);
        Settings.ScrambleOutput = Scramble;
        Settings.DescrambleInput = Descramble;
        Begin();
    }

    // Starts the run again with Settings, for a test that changes them
    // before the first byte.
    void Begin() { Engine.BeginRun(Source, Dest, Settings); }

    // Records every refill event; CancelAt (0-based event number) answers -1.
    void RecordProgress(int CancelAt = -1) {
        Engine.Progress = [this, CancelAt](int32_t& percent) {
            Events.push_back(percent);
            if (static_cast<int>(Events.size()) - 1 == CancelAt)
                percent = -1;
        };
    }

    // Writes what is left in the output buffer, as the driver does.
    void Flush() { Engine.FinishRun(); }

    TCompThreadSafety Engine;
    CountingStream Source;
    CountingStream Dest;
    std::unique_ptr<TRunBuffers> Buffers;
    TRunSettings Settings;
    std::vector<int32_t> Events;
};

} // namespace zorp::test
