// TZorp's string operations: a byte string through Compress or Expand.
#include "component/Zorp.h"

#include "framework/base/MemoryStream.h"

#include <limits>

namespace zorp {

std::string TZorp::ProcessString(const std::string& S, TZorpMethod Method, TCProcessMode Mode) {
    if (S.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EDataTooLarge();
    fw::TMemoryStream output;
    fw::TMemoryStream input;
    input.WriteBuffer(S.data(), static_cast<int32_t>(S.size()));
    input.SetPosition(0);
    if (Mode == cmCompress)
        Compress(output, input, Method);
    else
        Expand(output, input);
    return output.DataString();
}

std::string TZorp::CompressString(const std::string& S, TZorpMethod Method) {
    return ProcessString(S, Method, cmCompress);
}

std::string TZorp::ExpandString(const std::string& S) {
    return ProcessString(S, coNone, cmExpand);
}

} // namespace zorp
