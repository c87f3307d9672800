#include "component/Zorp.h"

#include "framework/base/ClassRegistry.h"

namespace zorp {

TZorp::TZorp(fw::TComponent* AOwner)
    : fw::TComponent(AOwner), FEngine(std::make_unique<TCompThreadSafety>()) {}

TZorp::~TZorp() = default;

void TZorp::SetTargetPath(const std::string& Value) {
    FTargetPath = Value;
    if (!FTargetPath.empty() && FTargetPath.back() != '/')
        FTargetPath += '/';
}

void Register() {
    fw::RegisterComponents("Compress", {&fw::ClassOf<TZorp>()});
}

} // namespace zorp
