#include "tools/zorp/SingleStream.h"

#include "common/Errors.h"
#include "component/Headers.h"

#include <array>
#include <limits>

namespace zorp::tool {

namespace {

constexpr int32_t HeaderSize = TZorpHeader::RecordSize;

void WriteHeader(fw::TStream& Dest, const TZorpHeader& Header) {
    const auto bytes = Header.Encode();
    Dest.WriteBuffer(bytes.data(), HeaderSize);
}

// Holds back room for the header from the compressed data's budget while a
// compression run lasts, so that data that do not shrink are stored.
class HeaderReserve {
public:
    HeaderReserve(TZorp& Zorp, int32_t Bytes) : FZorp(Zorp) { FZorp.SetHeaderReserve(Bytes); }
    ~HeaderReserve() { FZorp.SetHeaderReserve(0); }
    HeaderReserve(const HeaderReserve&) = delete;
    HeaderReserve& operator=(const HeaderReserve&) = delete;

private:
    TZorp& FZorp;
};

} // namespace

void CompressStream(TZorp& Zorp, fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method,
                    bool Headerless) {
    if (Headerless) {
        Zorp.Compress(Dest, Source, Method);
        return;
    }
    const int64_t size = Source.Size() - Source.Position();
    if (size == 0)
        return; // nothing to keep, nothing to lock
    if (Zorp.Key() != 0) {
        Zorp.Compress(Dest, Source, Method); // with a key it always writes a header
        return;
    }
    if (size > std::numeric_limits<int32_t>::max())
        throw EDataTooLarge();
    if (size < HeaderSize)
        Method = coNone; // too small to gain anything
    const int64_t destStart = Dest.Position();
    const int64_t sourceStart = Source.Position();
    std::string methodID = MethodIDs[Method];
    TZorpHeader header;
    Zorp.SetHeader(header, methodID, caSingle, static_cast<int32_t>(size));
    WriteHeader(Dest, header);
    int32_t checksum = 0;
    try {
        const HeaderReserve reserve(Zorp, Method != coNone ? HeaderSize : 0);
        Zorp.DoCompress(Dest, Source, Method, methodID, checksum);
    } catch (const EUnableToCompress&) {
        // Stored behind the header instead.
        Source.SetPosition(sourceStart);
        Dest.SetPosition(destStart + HeaderSize);
        methodID = MethodIDs[coNone];
        checksum = 0;
        Zorp.DoCompress(Dest, Source, coNone, methodID, checksum);
    }
    const int64_t end = Dest.Position();
    header.SetMethodID(methodID);
    header.Checksum = checksum;
    Dest.SetPosition(destStart);
    WriteHeader(Dest, header);
    Dest.SetPosition(end);
}

bool BeginsWithHeader(fw::TStream& Source) {
    const int64_t start = Source.Position();
    if (Source.Size() - start < HeaderSize)
        return false;
    std::array<uint8_t, HeaderSize> bytes{};
    Source.ReadBuffer(bytes.data(), HeaderSize);
    Source.SetPosition(start);
    return TZorpHeader::Decode(bytes.data()).HasMagic();
}

} // namespace zorp::tool
