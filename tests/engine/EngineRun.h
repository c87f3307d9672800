// The engine test harness. A run is started as the stream driver starts it,
// from a RunSetup (input, budget, key, read size, byte-at-a-time, a progress
// event that cancels); its source reads, destination writes and progress
// events are logged in order; any codec runs on it; and the finished run
// gives a RunTrace, which SameTrace compares field by field.
#pragma once

#include "engine/CompThreadSafety.h"
#include "support/CountingStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorp::test {

constexpr int32_t NoLimit = 0x7FFFFFFF;

struct RunSetup {
    std::string Input{};
    int32_t Budget = NoLimit;
    uint32_t Key = 0;
    bool Scramble = false;   // the key applies to every byte put out
    bool Descramble = false; // the key applies to every byte taken in
    int32_t ReadChunk = BufferSize;
    bool ByteAtATime = false; // every codec takes its byte-at-a-time path
    int CancelAt = -1;        // the progress event (from 0) whose handler cancels
    int32_t SourceSize = -1;  // the size announced to the engine; -1: the input's
};

enum class Codec {
    StoredCopy,
    CompressRLE,
    ExpandRLE,
    CompressLZH,
    ExpandLZH,
    CompressLZH5,
    ExpandLZH5
};

const char* CodecName(Codec C);
bool IsExpander(Codec C);

// What a finished run leaves that fast paths must leave exactly as
// byte-at-a-time I/O does.
struct RunTrace {
    std::string Output;           // the bytes in the destination
    std::vector<std::string> Log; // reads, writes, progress events and notes, in order
    std::string Raised;           // what() of the exception the run raised; "" for none
    uint32_t InSum = 0;
    uint32_t OutSum = 0;
    int32_t InDone = 0;
    int32_t InRemaining = 0;
    int32_t InTaken = 0;       // source bytes taken out of the input buffer
    bool InSumOfTaken = false; // InSum adds up exactly the bytes taken
    int32_t OutCount = 0;
    int32_t OutBudget = 0;
    int16_t KeyIndex = 0;
    bool EndOfInput = false;
};

// Leaves out how far the input was taken (InTaken, InSum, KeyIndex): a bit
// reader may hold bytes it took ahead of use. InSumOfTaken is still compared.
constexpr unsigned IgnoreTakenAhead = 1;

// Success when the traces agree; otherwise the message names every field
// that differs and where.
testing::AssertionResult SameTrace(const RunTrace& Fast, const RunTrace& Reference,
                                   unsigned Skip = 0);

// A counting stream that also notes each call in the run's log.
class LoggedStream : public CountingStream {
public:
    LoggedStream(std::vector<std::string>& Log, const char* Name, const std::string& Data)
        : CountingStream(Data), FLog(Log), FName(Name) {}
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;

private:
    std::vector<std::string>& FLog;
    const char* FName;
};

class EngineRun {
public:
    explicit EngineRun(RunSetup Setup);
    explicit EngineRun(const std::string& Input) : EngineRun(RunSetup{Input}) {}

    // Runs Body, catching what it raises, writes what is left in the output
    // buffer, and returns the trace.
    RunTrace Run(const std::function<void(TCompThreadSafety&)>& Body);
    // Runs C; Count is the most bytes an expander puts out.
    RunTrace Run(Codec C, int32_t Count = NoLimit);

    // Writes what is left in the output buffer, as the driver does.
    void Flush() { Engine.FinishRun(); }
    // Adds an entry of the test's own to the log.
    void Note(std::string Entry) { Log.push_back(std::move(Entry)); }
    RunTrace Trace(std::string Raised = "");

    const RunSetup Setup;
    std::vector<std::string> Log;
    std::vector<int32_t> Events; // the percentage of each progress event
    TCompThreadSafety Engine;
    LoggedStream Source;
    LoggedStream Dest;

private:
    std::unique_ptr<TRunBuffers> FBuffers;
};

// Runs C on a started run, letting what it raises through.
void RunCodec(TCompThreadSafety& Engine, Codec C, int32_t Count = NoLimit);

// The output of C over Input, raising what the run raises.
std::string CodecOutput(Codec C, const std::string& Input, int32_t Count = NoLimit,
                        int32_t Budget = NoLimit);

inline std::string CompressRLE(const std::string& Input, int32_t Budget = NoLimit) {
    return CodecOutput(Codec::CompressRLE, Input, NoLimit, Budget);
}
inline std::string ExpandRLE(const std::string& Packed) {
    return CodecOutput(Codec::ExpandRLE, Packed);
}
inline std::string CompressLZH(const std::string& Input, int32_t Budget = NoLimit) {
    return CodecOutput(Codec::CompressLZH, Input, NoLimit, Budget);
}
inline std::string ExpandLZH(const std::string& Packed, int32_t Count) {
    return CodecOutput(Codec::ExpandLZH, Packed, Count);
}
inline std::string CompressLZH5(const std::string& Input, int32_t Budget = NoLimit) {
    return CodecOutput(Codec::CompressLZH5, Input, NoLimit, Budget);
}
inline std::string ExpandLZH5(const std::string& Packed, int32_t Count) {
    return CodecOutput(Codec::ExpandLZH5, Packed, Count);
}

// Data with Key applied as the engine applies it, from the lowest key byte.
std::string Scrambled(const std::string& Data, uint32_t Key);

} // namespace zorp::test
