#include "framework/base/Properties.h"

#include "framework/base/Component.h"
#include "framework/base/Exceptions.h"
#include "framework/base/TextUtils.h"

namespace zorp::fw {

bool TPropertyInfo::IsStored() const {
    switch (Kind) {
    case TPropertyKind::String:
        return !GetString().empty();
    case TPropertyKind::Component:
        return GetComponent() != nullptr;
    case TPropertyKind::Event:
        return !GetMethodName().empty();
    default:
        return !Default.has_value() || GetOrdinal() != *Default;
    }
}

void TPropertyList::AddInteger(std::string Name, std::function<int64_t()> Get,
                               std::function<void(int64_t)> Set, std::optional<int64_t> Default) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::Integer;
    info.GetOrdinal = std::move(Get);
    info.SetOrdinal = std::move(Set);
    info.Default = Default;
    FItems.push_back(std::move(info));
}

void TPropertyList::AddBoolean(std::string Name, std::function<bool()> Get,
                               std::function<void(bool)> Set, std::optional<bool> Default) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::Boolean;
    info.GetOrdinal = [Get = std::move(Get)] { return Get() ? 1 : 0; };
    info.SetOrdinal = [Set = std::move(Set)](int64_t Value) { Set(Value != 0); };
    if (Default.has_value())
        info.Default = *Default ? 1 : 0;
    FItems.push_back(std::move(info));
}

void TPropertyList::AddEnumeration(std::string Name, std::vector<std::string> Names,
                                   std::function<int64_t()> Get, std::function<void(int64_t)> Set,
                                   std::optional<int64_t> Default) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::Enumeration;
    info.EnumNames = std::move(Names);
    info.GetOrdinal = std::move(Get);
    info.SetOrdinal = std::move(Set);
    info.Default = Default;
    FItems.push_back(std::move(info));
}

void TPropertyList::AddString(std::string Name, std::function<std::string()> Get,
                              std::function<void(const std::string&)> Set) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::String;
    info.GetString = std::move(Get);
    info.SetString = std::move(Set);
    FItems.push_back(std::move(info));
}

void TPropertyList::AddComponentReference(std::string Name, std::function<TComponent*()> Get,
                                          std::function<void(TComponent*)> Set) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::Component;
    info.GetComponent = std::move(Get);
    info.SetComponent = std::move(Set);
    FItems.push_back(std::move(info));
}

void TPropertyList::AddEventBinding(std::string Name, std::function<std::string()> GetName,
                                    std::function<void(const std::string&, const std::any*)> Set) {
    TPropertyInfo info;
    info.Name = std::move(Name);
    info.Kind = TPropertyKind::Event;
    info.GetMethodName = std::move(GetName);
    info.SetMethod = std::move(Set);
    FItems.push_back(std::move(info));
}

std::string TPropertyList::EventHandlerName(const TComponent& Owner, const std::string& Event) {
    return Owner.EventHandlerName(Event);
}

void TPropertyList::SetEventHandlerName(TComponent& Owner, const std::string& Event,
                                        const std::string& MethodName) {
    Owner.FEventHandlerNames[Event] = MethodName;
}

const TPropertyInfo* TPropertyList::Find(const std::string& Name) const {
    for (const TPropertyInfo& info : FItems)
        if (SameText(info.Name, Name))
            return &info;
    return nullptr;
}

void TPropertyList::RaiseInvalidPropertyValue() {
    throw EReadError("Invalid property value");
}

} // namespace zorp::fw
