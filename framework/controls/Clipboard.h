// The clipboard: one process-wide store of data in several formats at once.
// Text is kept as CF_TEXT; a bitmap as CF_BITMAP together with CF_PICTURE;
// any other graphic as CF_PICTURE only. Putting something on the clipboard
// replaces everything that was there.
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

using TClipboardFormat = uint32_t;
inline constexpr TClipboardFormat CF_TEXT = 1;
inline constexpr TClipboardFormat CF_BITMAP = 2;
// A graphic of any class (the framework's registered picture format).
inline constexpr TClipboardFormat CF_PICTURE = 0xC000;

class ZORP_API TClipboard : public TObject {
public:
    static constexpr const char* StaticClassName = "TClipboard";
    std::string ClassName() const override { return StaticClassName; }

    TClipboard() = default;
    ~TClipboard() override;

    bool HasFormat(TClipboardFormat Format) const;
    int FormatCount() const { return static_cast<int>(FFormats.size()); }
    // The formats held, in the order they were put.
    TClipboardFormat Formats(int Index) const;

    // The text, or "" when the clipboard holds none.
    std::string AsText() const;
    void SetAsText(const std::string& Value);

    // Puts a copy of the picture's graphic (nothing for a picture without
    // one: the clipboard is then empty).
    void Assign(const TPicture& Source);
    void Assign(const TGraphic& Source);
    // Copies the clipboard's graphic into Dest; a bitmap target takes the
    // bitmap (EInvalidGraphic when the clipboard holds none), a picture
    // target any graphic.
    void AssignTo(TBitmap& Dest) const;
    void AssignTo(TPicture& Dest) const;
    // The held graphic, or nullptr.
    const TGraphic* Graphic() const { return FGraphic.get(); }

    void Clear();
    // How many times the content was replaced or cleared.
    int ChangeCount() const { return FChangeCount; }

private:
    std::vector<TClipboardFormat> FFormats;
    std::string FText;
    std::unique_ptr<TGraphic> FGraphic;
    int FChangeCount = 0;
};

ZORP_API TClipboard& Clipboard();

} // namespace zorp::fw
