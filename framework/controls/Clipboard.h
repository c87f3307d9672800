// The clipboard and the formats of its data.
#pragma once

#include "../base/Export.h"
#include "../base/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorp::fw {

class TBitmap;
class TGraphic;
class TPicture;

/// A format of the clipboard's data.
using TClipboardFormat = uint32_t;
/// Text.
inline constexpr TClipboardFormat CF_TEXT = 1;
/// A bitmap (held together with CF_PICTURE).
inline constexpr TClipboardFormat CF_BITMAP = 2;
/// A graphic of any class (the framework's registered picture format).
inline constexpr TClipboardFormat CF_PICTURE = 0xC000;

/// The clipboard: one process-wide store of data in several formats at once
/// (reached through Clipboard()). Text is kept as CF_TEXT; a bitmap as
/// CF_BITMAP together with CF_PICTURE; any other graphic as CF_PICTURE only.
/// Putting something on the clipboard replaces everything that was there.
class ZORP_API TClipboard : public TObject {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TClipboard";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Makes an empty clipboard.
    TClipboard() = default;
    /// Frees the held graphic.
    ~TClipboard() override;

    /// True when the clipboard holds data in Format.
    bool HasFormat(TClipboardFormat Format) const;
    /// How many formats the clipboard holds.
    int FormatCount() const { return static_cast<int>(FFormats.size()); }
    /// The formats held, in the order they were put; raises EListError for an
    /// index outside 0 to FormatCount - 1.
    TClipboardFormat Formats(int Index) const;

    /// The text, or "" when the clipboard holds none.
    std::string AsText() const;
    /// Replaces the content by Value as CF_TEXT.
    void SetAsText(const std::string& Value);

    /// Puts a copy of the picture's graphic (nothing for a picture without
    /// one: the clipboard is then empty).
    void Assign(const TPicture& Source);
    /// Replaces the content by a copy of Source: CF_BITMAP and CF_PICTURE for
    /// a bitmap, CF_PICTURE for another graphic.
    void Assign(const TGraphic& Source);
    /// Copies the clipboard's graphic into Dest; a bitmap target takes the
    /// bitmap (EInvalidGraphic when the clipboard holds none), a picture
    /// target any graphic (EInvalidGraphic when it holds none).
    /// @{
    void AssignTo(TBitmap& Dest) const;
    void AssignTo(TPicture& Dest) const;
    /// @}
    /// The held graphic, or nullptr.
    const TGraphic* Graphic() const { return FGraphic.get(); }

    /// Empties the clipboard (counts as a change).
    void Clear();
    /// How many times the content was replaced or cleared.
    int ChangeCount() const { return FChangeCount; }

private:
    std::vector<TClipboardFormat> FFormats;
    std::string FText;
    std::unique_ptr<TGraphic> FGraphic;
    int FChangeCount = 0;
};

/// The process-wide clipboard.
ZORP_API TClipboard& Clipboard();

} // namespace zorp::fw
