// TIcon: an icon kept as the bytes of its .ico file. The size is that of
// the file's first image; an icon without bytes is empty. The canvas does
// not draw icons (they draw nothing), and their size cannot be changed.
// The picture file format "ico" is registered for TIcon
// (RegisterIconFileFormat, done once by the library).
#pragma once

#include "../base/Export.h"
#include "Graphic.h"

#include <string>

namespace zorp::fw {

class ZORP_API TIcon : public TGraphic {
public:
    static constexpr const char* StaticClassName = "TIcon";
    std::string ClassName() const override { return StaticClassName; }

    TIcon() = default;

    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    // Raise EInvalidGraphic: an icon's size is that of its images.
    void SetWidth(int32_t Value) override;
    void SetHeight(int32_t Value) override;
    bool Empty() const override { return FData.empty(); }

    // Reads the rest of the stream as an .ico file (its header and image
    // directory are checked; EInvalidGraphic when damaged). No bytes read
    // as an empty icon.
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) const override;
    // The file's bytes.
    const std::string& Data() const { return FData; }

    void Assign(const TGraphic& Source) override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    std::string FData;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

// Registers ".ico" with TPicture for TIcon; harmless to call again.
ZORP_API void RegisterIconFileFormat();

} // namespace zorp::fw
