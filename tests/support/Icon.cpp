#include "support/Icon.h"

#include "framework/base/Exceptions.h"

#include <limits>

namespace zorp::test {

namespace {

uint16_t Word(const std::string& Data, size_t At) {
    return static_cast<uint16_t>(static_cast<uint8_t>(Data[At]) |
                                 (static_cast<uint8_t>(Data[At + 1]) << 8));
}

} // namespace

void TIcon::SetWidth(int32_t) {
    throw fw::EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::SetHeight(int32_t) {
    throw fw::EInvalidGraphic("Cannot change the size of an icon");
}

void TIcon::LoadFromStream(fw::TStream& Stream) {
    const int64_t left = Stream.Size() - Stream.Position();
    if (left > std::numeric_limits<int32_t>::max())
        throw fw::EInvalidGraphic("Icon file too large");
    std::string data(static_cast<size_t>(left > 0 ? left : 0), '\0');
    Stream.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    int32_t width = 0;
    int32_t height = 0;
    if (!data.empty()) {
        if (data.size() < 6 || Word(data, 0) != 0 || Word(data, 2) != 1 || Word(data, 4) == 0 ||
            data.size() < 6 + 16 * static_cast<size_t>(Word(data, 4)))
            throw fw::EInvalidGraphic("Invalid icon file");
        width = static_cast<uint8_t>(data[6]);
        height = static_cast<uint8_t>(data[7]);
        width = width == 0 ? 256 : width;
        height = height == 0 ? 256 : height;
    }
    FData = std::move(data);
    FWidth = width;
    FHeight = height;
    Changed();
}

void TIcon::SaveToStream(fw::TStream& Stream) const {
    Stream.WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void TIcon::Assign(const fw::TGraphic& Source) {
    const auto* icon = dynamic_cast<const TIcon*>(&Source);
    if (icon == nullptr)
        AssignError(Source);
    if (icon == this)
        return;
    FData = icon->FData;
    FWidth = icon->FWidth;
    FHeight = icon->FHeight;
    Changed();
}

std::unique_ptr<fw::TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->FData = FData;
    copy->FWidth = FWidth;
    copy->FHeight = FHeight;
    return copy;
}

} // namespace zorp::test
