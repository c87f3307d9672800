#include "framework/controls/Picture.h"

#include "framework/base/Exceptions.h"

#include <cctype>
#include <map>
#include <utility>

namespace zorp::fw {

namespace {

struct TFileFormat {
    std::string Description;
    TPicture::TGraphicFactory Factory;
};

std::string Lower(std::string Text) {
    for (char& c : Text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return Text;
}

std::map<std::string, TFileFormat>& FileFormats() {
    static std::map<std::string, TFileFormat> formats{
        {"bmp", {"Bitmaps", [] { return std::make_unique<TBitmap>(); }}}};
    return formats;
}

// The extension of the file name's last component, without the dot.
std::string ExtensionOf(const std::string& FileName) {
    const size_t slash = FileName.find_last_of('/');
    const size_t dot = FileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return FileName.substr(dot + 1);
}

} // namespace

TPicture::~TPicture() {
    if (FGraphic)
        FGraphic->OnChange = nullptr;
}

void TPicture::SetGraphic(const TGraphic* Value) {
    Take(Value ? Value->Clone() : nullptr);
}

void TPicture::AdoptGraphic(std::unique_ptr<TGraphic> Value) {
    Take(std::move(Value));
}

TBitmap& TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get()))
        return *bitmap;
    auto bitmap = std::make_unique<TBitmap>();
    TBitmap& result = *bitmap;
    Take(std::move(bitmap));
    return result;
}

void TPicture::Assign(const TPicture& Source) {
    if (&Source != this)
        SetGraphic(Source.Graphic());
}

void TPicture::LoadFromFile(const std::string& FileName) {
    const std::string extension = ExtensionOf(FileName);
    const auto found = FileFormats().find(Lower(extension));
    if (found == FileFormats().end())
        throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<TGraphic> graphic = found->second.Factory();
    graphic->LoadFromFile(FileName);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& FileName) const {
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicFactory Factory) {
    FileFormats()[Lower(Extension)] = TFileFormat{Description, std::move(Factory)};
}

std::string TPicture::FileFormatDescription(const std::string& Extension) {
    const auto found = FileFormats().find(Lower(Extension));
    return found == FileFormats().end() ? "" : found->second.Description;
}

void TPicture::Changed() {
    if (OnChange)
        OnChange();
}

void TPicture::Take(std::unique_ptr<TGraphic> Value) {
    if (FGraphic)
        FGraphic->OnChange = nullptr;
    FGraphic = std::move(Value);
    if (FGraphic)
        FGraphic->OnChange = [this] { Changed(); };
    Changed();
}

} // namespace zorp::fw
