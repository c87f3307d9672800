#include "framework/controls/Graphic.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"

namespace zorp::fw {

void TGraphic::LoadFromFile(const std::string& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) const {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::Changed() {
    if (OnChange)
        OnChange();
}

void TGraphic::AssignError(const TGraphic& Source) const {
    throw EInvalidGraphic("Cannot assign a " + Source.ClassName() + " to a " + ClassName());
}

} // namespace zorp::fw
