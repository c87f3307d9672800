// TZorp's header operations: method IDs, stream headers and per-file headers.
#include "component/Zorp.h"

#include <limits>

namespace zorp {

TZorpMethod TZorp::Recognize(const std::string& MethodID) {
    for (int i = 0; i < 5; ++i)
        if (MethodID == MethodIDs[i])
            return static_cast<TZorpMethod>(i);
    if (OnRecognize) {
        bool recognized = false;
        OnRecognize(MethodID, recognized);
        if (recognized)
            return coCustom;
    }
    throw EUnrecognizedCompressionMethod(MethodID);
}

void TZorp::SetHeader(TZorpHeader& Header, const std::string& MethodID,
                      TZorpArchiveType ArchiveType, int32_t Size) {
    Header.Magic = HeaderMagic;
    Header.SetMethodID(MethodID);
    Header.Size = Size;
    Header.ArchiveType = ArchiveType;
    Header.Checksum = 0;
    // Any nonzero key scrambles, so any nonzero key must mark the data locked.
    Header.Lock = FKey != 0 ? LockScrambled : 0;
}

void TZorp::CheckHeader(fw::TStream& Stream, TZorpHeader& Header, std::string& MethodID) {
    MethodID.resize(3, '\0');
    if (Stream.Size() - Stream.Position() < TZorpHeader::RecordSize) {
        SetHeader(Header, MethodID, caMulti, 0);
        return;
    }
    std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
    Stream.ReadBuffer(bytes.data(), TZorpHeader::RecordSize);
    Header = TZorpHeader::Decode(bytes.data());
    if (!Header.HasMagic())
        throw EInvalidHeader();
    if (Header.ArchiveType != caMulti)
        throw EInvalidHeaderArchiveType(SArchiveTypeMustBeMulti);
    MethodID = Header.MethodIDString();
    Recognize(MethodID);
}

bool TZorp::GetFileHeader(fw::TStream& Stream, TZorpFileHeader& FileHeader, std::string& Name) {
    std::array<uint8_t, TZorpFileHeader::RecordSize> bytes{};
    if (Stream.Read(bytes.data(), TZorpFileHeader::RecordSize) < TZorpFileHeader::RecordSize)
        return false;
    FileHeader = TZorpFileHeader::Decode(bytes.data());
    if (FileHeader.NameLength < 0)
        return false;
    Name.assign(static_cast<size_t>(FileHeader.NameLength), '\0');
    return Stream.Read(Name.data(), FileHeader.NameLength) == FileHeader.NameLength;
}

void TZorp::PutFileHeader(fw::TStream& Stream, TZorpFileHeader& FileHeader,
                          const std::string& Name) {
    if (Name.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        throw EFileNameTooLong(Name);
    FileHeader.NameLength = static_cast<int16_t>(Name.size());
    const auto bytes = FileHeader.Encode();
    Stream.WriteBuffer(bytes.data(), TZorpFileHeader::RecordSize);
    Stream.WriteBuffer(Name.data(), FileHeader.NameLength);
}

} // namespace zorp
