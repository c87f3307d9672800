// TZorp's string operations: a byte string through Compress or Expand.
#include "component/Zorp.h"

#include "framework/base/MemoryStream.h"
#include "framework/base/ReadOnlyMemoryStream.h"

#include <limits>

namespace zorp {

namespace {

// Compresses or expands S, read where it is, into Output.
void ProcessBytes(TZorp& Zorp, fw::TMemoryStream& Output, std::string_view S, TZorpMethod Method,
                  TCProcessMode Mode) {
    if (S.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EDataTooLarge();
    fw::TReadOnlyMemoryStream input(S);
    if (Mode == cmCompress)
        Zorp.Compress(Output, input, Method);
    else
        Zorp.Expand(Output, input);
}

std::string_view AsChars(std::span<const std::byte> Bytes) {
    return {reinterpret_cast<const char*>(Bytes.data()), Bytes.size()};
}

} // namespace

std::string TZorp::ProcessString(std::string_view S, TZorpMethod Method, TCProcessMode Mode) {
    fw::TMemoryStream output;
    ProcessBytes(*this, output, S, Method, Mode);
    return output.DataString();
}

std::string TZorp::CompressString(std::string_view S, TZorpMethod Method) {
    return ProcessString(S, Method, cmCompress);
}

std::string TZorp::ExpandString(std::string_view S) {
    return ProcessString(S, coNone, cmExpand);
}

std::vector<std::byte> TZorp::ProcessString(std::span<const std::byte> S, TZorpMethod Method,
                                            TCProcessMode Mode) {
    fw::TMemoryStream output;
    ProcessBytes(*this, output, AsChars(S), Method, Mode);
    const auto* bytes = reinterpret_cast<const std::byte*>(output.Memory());
    return {bytes, bytes + output.Size()};
}

std::vector<std::byte> TZorp::CompressString(std::span<const std::byte> S, TZorpMethod Method) {
    return ProcessString(S, Method, cmCompress);
}

std::vector<std::byte> TZorp::ExpandString(std::span<const std::byte> S) {
    return ProcessString(S, coNone, cmExpand);
}

} // namespace zorp
