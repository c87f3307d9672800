#include "tools/zorp/DbValues.h"

#include "dbcontrols/CompressedFields.h"
#include "framework/base/MemoryStream.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/PlainPicture.h"

#include <cstdio>
#include <limits>

namespace zorp::tool {

namespace {

// A stream that keeps nothing and counts the bytes written to it, so an
// expansion can be measured without holding it.
class TByteCounter : public fw::TStream {
public:
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void*, int32_t Count) override {
        FCount += Count;
        return Count;
    }
    // Writes only append: the position is the count.
    int64_t Seek(int64_t, fw::TSeekOrigin) override { return FCount; }
    int64_t Count() const { return FCount; }

private:
    int64_t FCount = 0;
};

void ExpandInto(TZorp& Zorp, const std::string& Stored, fw::TStream& Dest) {
    fw::TMemoryStream source;
    if (!Stored.empty())
        source.WriteBuffer(Stored.data(), static_cast<int32_t>(Stored.size()));
    source.SetPosition(0);
    Zorp.Expand(Dest, source);
}

} // namespace

bool IsCompressed(const std::string& Value) {
    return Value.size() > static_cast<size_t>(TZorpHeader::RecordSize) &&
           Value.compare(0, 5, std::string(HeaderMagic.data(), 5)) == 0;
}

std::optional<std::string> PackValue(TZorp& Zorp, const std::string& Value, TZorpMethod Method,
                                     const ColumnName& Name, const std::string& Row) {
    std::string packed = Zorp.CompressString(Value, Method);
    if (!IsCompressed(packed)) // with a key, an empty value gets a bare header, which unpack keeps
        return std::nullopt;
    if (Zorp.ExpandString(packed) != Value)
        throw ValueError(Name, Row, "the value does not survive compression; nothing was changed");
    return packed;
}

std::string ExpandedValue(TZorp& Zorp, const std::string& Stored, const ColumnName& Name,
                          const std::string& Row) {
    std::string plain;
    ExpandingValue(Name, Row, [&] { plain = Zorp.ExpandString(Stored); });
    return plain;
}

void WriteExpanded(TZorp& Zorp, const std::string& Stored, bool Graphic, fw::TStream& Dest) {
    if (!Graphic) {
        ExpandInto(Zorp, Stored, Dest);
        return;
    }
    PictureWithoutHeader picture(Dest, ReadStoredInfo(Stored.substr(0, TZorpHeader::RecordSize),
                                                      static_cast<int64_t>(Stored.size()))
                                           .ExpandedSize);
    ExpandInto(Zorp, Stored, picture);
    picture.Finish();
}

void ColumnStats::Add(const std::string& Stored, const ColumnName& Name, const std::string& Row) {
    ++FRows;
    FStored += static_cast<int64_t>(Stored.size());
    if (IsCompressed(Stored))
        ++FCompressed;
    TByteCounter expanded;
    ExpandingValue(Name, Row, [&] { ExpandInto(FZorp, Stored, expanded); });
    FExpanded += expanded.Count();
}

void ColumnStats::Print() const {
    const double saving = FExpanded > 0 ? 100.0 * static_cast<double>(FExpanded - FStored) /
                                              static_cast<double>(FExpanded)
                                        : 0.0;
    std::printf("rows %lld\ncompressed %lld\nstored bytes %lld\nexpanded bytes %lld\n"
                "saving %.1f%%\n",
                static_cast<long long>(FRows), static_cast<long long>(FCompressed),
                static_cast<long long>(FStored), static_cast<long long>(FExpanded), saving);
}

int64_t CheckPutFile(InputFile& In, const std::string& File, bool Graphic, const ColumnName& Name) {
    const int64_t size = In.Stream().Size();
    if (Graphic && !IsBmpFile(In.Stream()))
        throw std::runtime_error(File + ": not a BMP file (column " + Name.Column + " of " +
                                 Name.Table + " holds pictures)");
    if (Graphic && size > std::numeric_limits<int32_t>::max() - GraphicHeaderSize)
        throw std::runtime_error(File + ": too large for a picture (2 GiB or more)");
    return size;
}

} // namespace zorp::tool
