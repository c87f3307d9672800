// TIcon, the icon graphic, and the registration of its picture file format.
#pragma once

#include "../base/Export.h"
#include "Graphic.h"

#include <string>

namespace zorp::fw {

/// An icon kept as the bytes of its .ico file. The size is that of the
/// file's first image; an icon without bytes is empty. The canvas does not
/// draw icons (they draw nothing), and their size cannot be changed. The
/// picture file format "ico" is registered for TIcon (RegisterIconFileFormat,
/// done once by the library).
class ZORP_API TIcon : public TGraphic {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TIcon";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Makes an empty icon.
    TIcon() = default;

    /// The size of the file's first image (a stored 0 counts as 256); 0 when
    /// empty.
    /// @{
    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    /// @}
    /// Raise EInvalidGraphic: an icon's size is that of its images.
    /// @{
    void SetWidth(int32_t Value) override;
    void SetHeight(int32_t Value) override;
    /// @}
    /// True when the icon has no bytes.
    bool Empty() const override { return FData.empty(); }

    /// Reads the rest of the stream as an .ico file (its header and image
    /// directory are checked; EInvalidGraphic when damaged). No bytes read
    /// as an empty icon.
    void LoadFromStream(TStream& Stream) override;
    /// Writes the file's bytes as they were read (nothing for an empty icon).
    void SaveToStream(TStream& Stream) const override;
    /// The file's bytes.
    const std::string& Data() const { return FData; }

    /// Accepts another TIcon (its bytes and size).
    void Assign(const TGraphic& Source) override;
    /// A new TIcon with the same bytes and size.
    std::unique_ptr<TGraphic> Clone() const override;

private:
    std::string FData;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

/// Registers ".ico" with TPicture for TIcon; harmless to call again.
ZORP_API void RegisterIconFileFormat();

} // namespace zorp::fw
