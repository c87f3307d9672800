#include "framework/base/Component.h"

#include "framework/base/Exceptions.h"
#include "framework/base/TextUtils.h"

#include <algorithm>

namespace zorp::fw {

namespace {

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

} // namespace

bool IsValidIdent(const std::string& Ident) {
    if (Ident.empty() || !IsIdentStart(Ident[0]))
        return false;
    return std::all_of(Ident.begin() + 1, Ident.end(),
                       [](char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FComponentState |= csDestroying;
    TellFreeNotifies();
    // Free the owned components, last first.
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        Remove(child);
        delete child;
    }
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::TellFreeNotifies() {
    // Newest first; each removes itself from our list.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
}

void TComponent::NotifyRemoval() {
    FComponentState |= csDestroying;
    TellFreeNotifies();
    if (FOwner != nullptr)
        FOwner->Notification(this, opRemove);
}

void TComponent::SetName(const std::string& NewName) {
    if (NewName == FName)
        return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner != nullptr && !NewName.empty()) {
        const TComponent* same = FOwner->FindComponent(NewName);
        if (same != nullptr && same != this)
            throw EComponentError("A component named " + NewName + " already exists");
    }
    FName = NewName;
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FComponents[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
    if (AName.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (CompareText(c->FName, AName) == 0)
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool Value) {
    if (Value)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~csDesigning;
    for (TComponent* c : FComponents)
        c->SetDesigning(Value);
}

void TComponent::BeginLoading() {
    FComponentState |= csLoading | csReading;
    for (TComponent* c : FComponents)
        c->BeginLoading();
}

void TComponent::EndLoading() {
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        c->EndLoading();
    FComponentState &= ~csReading;
    if (FComponentState & csLoading)
        Loaded();
}

void TComponent::Loaded() {
    FComponentState &= ~csLoading;
}

TPropertyList TComponent::PublishedProperties() {
    TPropertyList properties;
    DefineProperties(properties);
    return properties;
}

void TComponent::DefineProperties(TPropertyList&) {}

const std::any* TComponent::FindMethod(const std::string& Name) const {
    const auto found = FMethods.find(Name);
    return found == FMethods.end() ? nullptr : &found->second;
}

void TComponent::BindEvent(const std::string& EventName, TComponent& Root,
                           const std::string& MethodName) {
    const TPropertyList properties = PublishedProperties();
    const TPropertyInfo* event = properties.Find(EventName);
    if (event == nullptr || event->Kind != TPropertyKind::Event)
        throw EComponentError(ClassName() + " has no event " + EventName);
    const std::any* method = Root.FindMethod(MethodName);
    if (method == nullptr)
        throw EComponentError("Method " + MethodName + " not found");
    event->SetMethod(MethodName, method);
}

std::string TComponent::EventHandlerName(const std::string& EventName) const {
    const auto found = FEventHandlerNames.find(EventName);
    return found == FEventHandlerNames.end() ? std::string() : found->second;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr)
        return;
    std::erase(FFreeNotifies, AComponent);
    std::erase(AComponent->FFreeNotifies, this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent->FOwner != nullptr)
        AComponent->FOwner->RemoveComponent(AComponent);
    if (!AComponent->FName.empty()) {
        const TComponent* same = FindComponent(AComponent->FName);
        if (same != nullptr)
            throw EComponentError("A component named " + AComponent->FName + " already exists");
    }
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr)
        RemoveFreeNotification(AComponent);
    // Pass the notice on, last component first; a handler may free others.
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (i < FComponents.size())
            FComponents[i]->Notification(AComponent, Operation);
    }
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
    std::erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

} // namespace zorp::fw
