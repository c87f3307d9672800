// TGraphic, the abstract image of the controls layer, and the palette handle type.
#pragma once

#include "../base/Export.h"
#include "../base/Object.h"
#include "../base/Stream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zorp::fw {

/// A palette as a canvas selects it: 0 for none.
using HPALETTE = uintptr_t;

/// The abstract image of the controls layer. A graphic knows its size, reads
/// and writes itself as the bytes of its file format, and fires OnChange
/// after every change of its content. A picture (TPicture) holds one graphic
/// and listens to that event; whoever else sets OnChange replaces the
/// picture's handler.
class ZORP_API TGraphic : public TObject {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TGraphic";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The graphic's size in pixels; 0 when empty.
    /// @{
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    /// @}
    /// Change the graphic's size; a graphic whose size comes from its content
    /// raises EInvalidGraphic.
    /// @{
    virtual void SetWidth(int32_t Value) = 0;
    virtual void SetHeight(int32_t Value) = 0;
    /// @}
    /// True when there is nothing to show.
    virtual bool Empty() const = 0;
    /// True when the graphic carries a colour table worth selecting before
    /// drawing it; the base has none.
    virtual bool HasPalette() const { return false; }
    /// The colour table as a canvas selects it; 0 without one.
    virtual HPALETTE PaletteHandle() const { return 0; }

    /// Reads the graphic from Stream's current position, leaving the position
    /// after the graphic's bytes. On failure the graphic is unchanged.
    virtual void LoadFromStream(TStream& Stream) = 0;
    /// Writes the graphic's file-format bytes at Stream's position.
    virtual void SaveToStream(TStream& Stream) const = 0;
    /// Reads the graphic from the whole file (LoadFromStream over the file).
    void LoadFromFile(const std::string& FileName);
    /// Creates (or empties) the file and writes the graphic into it
    /// (SaveToStream).
    void SaveToFile(const std::string& FileName) const;

    /// Copies Source's content into this graphic. A graphic accepts its own
    /// class; other classes raise EInvalidGraphic.
    virtual void Assign(const TGraphic& Source) = 0;
    /// A new graphic of the same class holding a copy of this one's content.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    /// Fired after every change of the content (by Changed).
    std::function<void()> OnChange;

protected:
    /// Makes a graphic without an OnChange handler; for subclasses only.
    TGraphic() = default;
    /// Fires OnChange; every change of the content ends here.
    virtual void Changed();
    /// Raises EInvalidGraphic for an Assign from an unsupported class.
    [[noreturn]] void AssignError(const TGraphic& Source) const;
};

} // namespace zorp::fw
