// One codec run over a byte buffer, the engine started as the stream driver
// starts it but without an output budget, for the fuzz targets.
#pragma once

#include "engine/CompThreadSafety.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <string>

namespace zorp::fuzz {

template <typename Codec> std::string RunCodec(const uint8_t* Data, size_t Size, Codec&& Run) {
    fw::TMemoryStream source;
    if (Size > 0)
        source.WriteBuffer(Data, static_cast<int32_t>(Size));
    source.SetPosition(0);
    fw::TMemoryStream dest;
    TCompThreadSafety engine;
    TRunBuffers buffers(engine);
    TRunSettings settings;
    settings.SourceSize = static_cast<int32_t>(Size);
    engine.BeginRun(source, dest, settings);
    Run(engine);
    engine.FinishRun();
    return dest.DataString();
}

inline const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

} // namespace zorp::fuzz
