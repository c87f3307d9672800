#include "component/Zorp.h"

#include "engine/CompThreadSafety.h"
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

void TZorp::DefineProperties(fw::TPropertyList& Properties) {
    fw::TComponent::DefineProperties(Properties);
    Properties.AddEvent("OnCompress", *this, OnCompress);
    Properties.AddEvent("OnExpand", *this, OnExpand);
    Properties.AddEvent("OnCheckFile", *this, OnCheckFile);
    Properties.AddEvent("OnRecognize", *this, OnRecognize);
    Properties.AddEvent("OnShowProgress", *this, OnShowProgress);
    Properties.AddString(
        "TargetPath", [this] { return FTargetPath; },
        [this](const std::string& Value) { SetTargetPath(Value); });
    Properties.AddBoolean(
        "MakeDirectories", [this] { return FMakeDirectories; },
        [this](bool Value) { FMakeDirectories = Value; });
    Properties.AddBoolean(
        "ExceptionOnFileError", [this] { return FExceptionOnFileError; },
        [this](bool Value) { FExceptionOnFileError = Value; });
    Properties.AddInteger(
        "Key", [this] { return FKey; },
        [this](int64_t Value) { FKey = static_cast<int32_t>(Value); });
    Properties.AddBoolean(
        "CheckSpaceBeforeExpand", [this] { return FCheckSpaceBeforeExpand; },
        [this](bool Value) { FCheckSpaceBeforeExpand = Value; });
    Properties.AddBoolean(
        "IgnoreCase", [this] { return FIgnoreCase; }, [this](bool Value) { FIgnoreCase = Value; },
        false);
    Properties.AddBoolean(
        "KeepPermissions", [this] { return FKeepPermissions; },
        [this](bool Value) { FKeepPermissions = Value; }, false);
}

const std::vector<std::string>& ZorpMethodNames() {
    static const std::vector<std::string> names{"coNone", "coRLE", "coLZH", "coCustom", "coLZH5"};
    return names;
}

void Register() {
    fw::RegisterComponents("Compress", {&fw::ClassOf<TZorp>()});
}

} // namespace zorp
