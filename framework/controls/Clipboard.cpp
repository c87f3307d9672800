#include "framework/controls/Clipboard.h"

#include "framework/base/Exceptions.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Picture.h"

#include <algorithm>

namespace zorp::fw {

TClipboard::~TClipboard() = default;

bool TClipboard::HasFormat(TClipboardFormat Format) const {
    return std::find(FFormats.begin(), FFormats.end(), Format) != FFormats.end();
}

TClipboardFormat TClipboard::Formats(int Index) const {
    if (Index < 0 || Index >= FormatCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FFormats[static_cast<size_t>(Index)];
}

std::string TClipboard::AsText() const {
    return HasFormat(CF_TEXT) ? FText : std::string();
}

void TClipboard::SetAsText(const std::string& Value) {
    Clear();
    FText = Value;
    FFormats.push_back(CF_TEXT);
}

void TClipboard::Assign(const TPicture& Source) {
    if (Source.Graphic() != nullptr)
        Assign(*Source.Graphic());
    else
        Clear();
}

void TClipboard::Assign(const TGraphic& Source) {
    std::unique_ptr<TGraphic> copy = Source.Clone();
    Clear();
    FGraphic = std::move(copy);
    if (dynamic_cast<const TBitmap*>(FGraphic.get()) != nullptr)
        FFormats.push_back(CF_BITMAP);
    FFormats.push_back(CF_PICTURE);
}

void TClipboard::AssignTo(TBitmap& Dest) const {
    const auto* bitmap = dynamic_cast<const TBitmap*>(FGraphic.get());
    if (bitmap == nullptr)
        throw EInvalidGraphic("The clipboard holds no bitmap");
    Dest.Assign(*bitmap);
}

void TClipboard::AssignTo(TPicture& Dest) const {
    if (!FGraphic)
        throw EInvalidGraphic("The clipboard holds no picture");
    Dest.Assign(*FGraphic);
}

void TClipboard::Clear() {
    FFormats.clear();
    FText.clear();
    FGraphic.reset();
    ++FChangeCount;
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

} // namespace zorp::fw
