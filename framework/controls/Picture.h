#pragma once

#include "../base/Export.h"
#include "../base/Object.h"
#include "Bitmap.h"
#include "Graphic.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zorp::fw {

/// A holder of one graphic (or none). The picture owns its graphic and fires
/// OnChange whenever it gets another graphic or its graphic changes. Bitmap()
/// makes the picture hold a bitmap, creating an empty one when it holds
/// another kind of graphic or nothing.
///
/// Files are read by extension through a registry of graphic classes; ".bmp"
/// is registered for TBitmap, and later graphic classes add their own.
class ZORP_API TPicture : public TObject {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TPicture";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Makes a picture without a graphic.
    TPicture() = default;
    /// Frees the graphic, without firing OnChange.
    ~TPicture() override;

    /// The held graphic, or nullptr. It stays the picture's; the pointer lasts
    /// until the picture gets another graphic.
    TGraphic* Graphic() const { return FGraphic.get(); }
    /// Holds a copy of Value (nullptr: no graphic).
    void SetGraphic(const TGraphic* Value);
    /// Holds Value itself.
    void AdoptGraphic(std::unique_ptr<TGraphic> Value);
    /// The held bitmap; replaces any other graphic (or none) by a new empty
    /// bitmap first, which counts as a change.
    TBitmap& Bitmap();

    /// The graphic's size; 0 without a graphic.
    /// @{
    int32_t Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int32_t Height() const { return FGraphic ? FGraphic->Height() : 0; }
    /// @}

    /// Copies the other picture's graphic (or its lack of one).
    void Assign(const TPicture& Source);
    /// Holds a copy of Source.
    void Assign(const TGraphic& Source) { SetGraphic(&Source); }

    /// Loads the file into a new graphic of the class registered for its
    /// extension (EInvalidGraphic for an unknown one). On failure the picture
    /// is unchanged.
    void LoadFromFile(const std::string& FileName);
    /// Saves the graphic in its own format; without a graphic nothing is
    /// written.
    void SaveToFile(const std::string& FileName) const;

    /// Makes a new, empty graphic of a registered class.
    using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;
    /// Registers the graphic class for files with Extension (without the dot,
    /// compared case-insensitively); a later registration replaces an
    /// earlier one.
    static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                   TGraphicFactory Factory);
    /// The description registered for Extension, or "" when there is none.
    static std::string FileFormatDescription(const std::string& Extension);

    /// Fired when the picture gets another graphic or its graphic changes.
    std::function<void()> OnChange;

protected:
    /// Fires OnChange; every change ends here.
    virtual void Changed();

private:
    void Take(std::unique_ptr<TGraphic> Value);

    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace zorp::fw
