#include "component/Zorp.h"

#include "engine/CompThreadSafety.h"
#include "framework/base/ClassRegistry.h"

#include <utility>

namespace zorp {

namespace {

// Clears the published events of Zorp and the names of the form's methods
// they were bound to.
void UnbindEvents(TZorp& Zorp) {
    const fw::TPropertyList properties = Zorp.PublishedProperties();
    for (const fw::TPropertyInfo& property : properties.Items())
        if (property.Kind == fw::TPropertyKind::Event)
            property.SetMethod("", nullptr);
}

} // namespace

TZorp::TZorp(fw::TComponent* AOwner)
    : fw::TComponent(AOwner), FEngine(std::make_unique<TCompThreadSafety>()) {}

// Not noexcept, as Zorp.h says why.
// NOLINTNEXTLINE(performance-noexcept-move-constructor)
TZorp::TZorp(TZorp&& Other) : fw::TComponent(nullptr) {
    TakeStateOf(Other);
}

// NOLINTNEXTLINE(performance-noexcept-move-constructor)
TZorp& TZorp::operator=(TZorp&& Other) {
    if (this != &Other)
        TakeStateOf(Other);
    return *this;
}

TZorp::~TZorp() = default;

void TZorp::TakeStateOf(TZorp& Other) {
    auto freshEngine = std::make_unique<TCompThreadSafety>(); // the one step that may fail
    UnbindEvents(*this);
    OnCompress = std::exchange(Other.OnCompress, nullptr);
    OnExpand = std::exchange(Other.OnExpand, nullptr);
    OnCheckFile = std::exchange(Other.OnCheckFile, nullptr);
    OnRecognize = std::exchange(Other.OnRecognize, nullptr);
    OnShowProgress = std::exchange(Other.OnShowProgress, nullptr);
    OnExpandError = std::exchange(Other.OnExpandError, nullptr);
    OnOperationProgress = std::exchange(Other.OnOperationProgress, nullptr);
    UnbindEvents(Other);
    FTargetPath = std::exchange(Other.FTargetPath, {});
    FMakeDirectories = std::exchange(Other.FMakeDirectories, false);
    FKey = std::exchange(Other.FKey, 0);
    FExceptionOnFileError = std::exchange(Other.FExceptionOnFileError, false);
    FCheckSpaceBeforeExpand = std::exchange(Other.FCheckSpaceBeforeExpand, false);
    FIgnoreCase = std::exchange(Other.FIgnoreCase, false);
    FKeepPermissions = std::exchange(Other.FKeepPermissions, false);
    FThreads = std::exchange(Other.FThreads, 1);
    FLastRatio = std::exchange(Other.FLastRatio, 0);
    FLastDuration = std::exchange(Other.FLastDuration, 0);
    FHeaderReserve = 0;
    FEngine = std::exchange(Other.FEngine, std::move(freshEngine));
}

void TZorp::SetTargetPath(const std::filesystem::path& Value) {
    FTargetPath = Value.string();
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
