// TIcon, a graphic that is not a bitmap, for tests of what the controls and
// the canvas do with such graphics (the canvas draws nothing for it, the
// clipboard holds it only as a picture, an image field stores it empty).
#pragma once

#include "framework/controls/Graphic.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::test {

// An icon kept as the bytes of its .ico file. The size is that of the
// file's first image; an icon without bytes is empty. Its size cannot be
// changed.
class TIcon : public fw::TGraphic {
public:
    static constexpr const char* StaticClassName = "TIcon";
    std::string ClassName() const override { return StaticClassName; }

    TIcon() = default;

    // The size of the file's first image (a stored 0 counts as 256); 0 when
    // empty.
    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    // Raise EInvalidGraphic: an icon's size is that of its images.
    void SetWidth(int32_t Value) override;
    void SetHeight(int32_t Value) override;
    bool Empty() const override { return FData.empty(); }

    // Reads the rest of the stream as an .ico file (its header and image
    // directory are checked; EInvalidGraphic when damaged). No bytes read
    // as an empty icon.
    void LoadFromStream(fw::TStream& Stream) override;
    // Writes the file's bytes as they were read (nothing for an empty icon).
    void SaveToStream(fw::TStream& Stream) const override;

    // Accepts another TIcon (its bytes and size).
    void Assign(const fw::TGraphic& Source) override;
    std::unique_ptr<fw::TGraphic> Clone() const override;

private:
    std::string FData;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

} // namespace zorp::test
