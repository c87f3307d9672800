#include "engine/EngineRun.h"

#include "support/TestFiles.h"

#include <exception>
#include <sstream>

namespace zorp::test {

const char* CodecName(Codec C) {
    switch (C) {
    case Codec::StoredCopy:
        return "StoredCopy";
    case Codec::CompressRLE:
        return "CompressRLE";
    case Codec::ExpandRLE:
        return "ExpandRLE";
    case Codec::CompressLZH:
        return "CompressLZH";
    case Codec::ExpandLZH:
        return "ExpandLZH";
    case Codec::CompressLZH5:
        return "CompressLZH5";
    case Codec::ExpandLZH5:
        return "ExpandLZH5";
    }
    return "?";
}

bool IsExpander(Codec C) {
    return C == Codec::ExpandRLE || C == Codec::ExpandLZH || C == Codec::ExpandLZH5;
}

namespace {

// Adds "Name: fast F, reference R" to Message when the values differ.
template <typename T>
void CompareField(std::ostringstream& Message, const char* Name, const T& Fast,
                  const T& Reference) {
    if (Fast != Reference)
        Message << "\n  " << Name << ": fast " << +Fast << ", reference " << +Reference;
}

void CompareField(std::ostringstream& Message, const char* Name, const std::string& Fast,
                  const std::string& Reference) {
    if (Fast == Reference)
        return;
    size_t at = 0;
    while (at < Fast.size() && at < Reference.size() && Fast[at] == Reference[at])
        ++at;
    Message << "\n  " << Name << ": " << Fast.size() << " bytes fast, " << Reference.size()
            << " reference, first difference at byte " << at;
    if (Fast.size() + Reference.size() < 200)
        Message << " (fast \"" << Fast << "\", reference \"" << Reference << "\")";
}

void CompareField(std::ostringstream& Message, const char* Name,
                  const std::vector<std::string>& Fast, const std::vector<std::string>& Reference) {
    if (Fast == Reference)
        return;
    size_t at = 0;
    while (at < Fast.size() && at < Reference.size() && Fast[at] == Reference[at])
        ++at;
    const auto entry = [at](const std::vector<std::string>& Log) {
        return at < Log.size() ? "\"" + Log[at] + "\"" : std::string("(the end)");
    };
    Message << "\n  " << Name << ": " << Fast.size() << " entries fast, " << Reference.size()
            << " reference, first difference at entry " << at << ": fast " << entry(Fast)
            << ", reference " << entry(Reference);
}

} // namespace

testing::AssertionResult SameTrace(const RunTrace& Fast, const RunTrace& Reference, unsigned Skip) {
    std::ostringstream m;
    CompareField(m, "Output", Fast.Output, Reference.Output);
    CompareField(m, "Log", Fast.Log, Reference.Log);
    CompareField(m, "Raised", Fast.Raised, Reference.Raised);
    CompareField(m, "OutSum", Fast.OutSum, Reference.OutSum);
    CompareField(m, "InDone", Fast.InDone, Reference.InDone);
    CompareField(m, "InRemaining", Fast.InRemaining, Reference.InRemaining);
    CompareField(m, "InSumOfTaken", Fast.InSumOfTaken, Reference.InSumOfTaken);
    CompareField(m, "OutCount", Fast.OutCount, Reference.OutCount);
    CompareField(m, "OutBudget", Fast.OutBudget, Reference.OutBudget);
    CompareField(m, "EndOfInput", Fast.EndOfInput, Reference.EndOfInput);
    if ((Skip & IgnoreTakenAhead) == 0) {
        CompareField(m, "InSum", Fast.InSum, Reference.InSum);
        CompareField(m, "InTaken", Fast.InTaken, Reference.InTaken);
        CompareField(m, "KeyIndex", Fast.KeyIndex, Reference.KeyIndex);
    }
    const std::string differences = m.str();
    if (differences.empty())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the traces differ:" << differences;
}

int32_t LoggedStream::Read(void* Buffer, int32_t Count) {
    const int32_t n = CountingStream::Read(Buffer, Count);
    FLog.push_back(std::string(FName) + " read " + std::to_string(n));
    return n;
}

int32_t LoggedStream::Write(const void* Buffer, int32_t Count) {
    FLog.push_back(std::string(FName) + " write " + std::to_string(Count));
    return CountingStream::Write(Buffer, Count);
}

EngineRun::EngineRun(RunSetup RunSettings)
    : Setup(std::move(RunSettings)), Source(Log, "source", Setup.Input), Dest(Log, "dest", ""),
      FBuffers(std::make_unique<TRunBuffers>(Engine)) {
    TRunSettings settings;
    settings.SourceSize =
        Setup.SourceSize >= 0 ? Setup.SourceSize : static_cast<int32_t>(Setup.Input.size());
    settings.OutBudget = Setup.Budget;
    settings.Key = Setup.Key;
    settings.ScrambleOutput = Setup.Scramble;
    settings.DescrambleInput = Setup.Descramble;
    settings.ReadChunk = Setup.ReadChunk;
    settings.ByteAtATime = Setup.ByteAtATime;
    Engine.BeginRun(Source, Dest, settings);
    Engine.Progress = [this](int32_t& percent) {
        Log.push_back("progress " + std::to_string(percent));
        Events.push_back(percent);
        if (static_cast<int>(Events.size()) - 1 == Setup.CancelAt)
            percent = -1;
    };
}

RunTrace EngineRun::Run(const std::function<void(TCompThreadSafety&)>& Body) {
    std::string raised;
    try {
        Body(Engine);
    } catch (const std::exception& e) {
        raised = e.what();
    }
    Flush();
    return Trace(raised);
}

RunTrace EngineRun::Run(Codec C, int32_t Count) {
    return Run([C, Count](TCompThreadSafety& e) { RunCodec(e, C, Count); });
}

RunTrace EngineRun::Trace(std::string Raised) {
    RunTrace t;
    t.Output = Dest.DataString();
    t.Log = Log;
    t.Raised = std::move(Raised);
    t.InSum = Engine.InSum();
    t.OutSum = Engine.OutSum();
    t.InDone = Engine.InDone();
    t.InRemaining = Engine.InRemaining();
    t.InTaken = static_cast<int32_t>(Source.Position() - (Engine.InEnd - Engine.InPos));
    t.InSumOfTaken =
        t.InTaken >= 0 &&
        Engine.InSum() == ByteSum(Setup.Input.substr(0, static_cast<size_t>(t.InTaken)));
    t.OutCount = Engine.OutCount();
    t.OutBudget = Engine.OutBudget();
    t.KeyIndex = Engine.KeyIndex();
    t.EndOfInput = Engine.EndOfInput();
    return t;
}

void RunCodec(TCompThreadSafety& Engine, Codec C, int32_t Count) {
    switch (C) {
    case Codec::StoredCopy:
        Engine.CopyWithCRC();
        return;
    case Codec::CompressRLE:
        Engine.CompressRLE();
        return;
    case Codec::ExpandRLE:
        Engine.ExpandRLE();
        return;
    case Codec::CompressLZH:
        Engine.CompressLZH();
        return;
    case Codec::ExpandLZH:
        Engine.ExpandLZH(Count);
        return;
    case Codec::CompressLZH5:
        Engine.CompressLZH5();
        return;
    case Codec::ExpandLZH5:
        Engine.ExpandLZH5(Count);
        return;
    }
}

std::string CodecOutput(Codec C, const std::string& Input, int32_t Count, int32_t Budget) {
    RunSetup setup{Input};
    setup.Budget = Budget;
    EngineRun run(setup);
    RunCodec(run.Engine, C, Count);
    run.Flush();
    return run.Dest.DataString();
}

std::string Scrambled(const std::string& Data, uint32_t Key) {
    std::string out = Data;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ static_cast<char>(Key >> (8 * (i & 3))));
    return out;
}

} // namespace zorp::test
