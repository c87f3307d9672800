// Published properties: the values of a component that form files keep.
// A component lists them in DefineProperties, base class first, each with
// its name, kind and the accessors that read and write it; the form writer
// and reader use nothing else. A property with a default is not written
// while it holds that value; neither is an empty string, an unset
// component reference nor an event not bound to a published method.
#pragma once

#include "Export.h"

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorp::fw {

class TComponent;

enum class TPropertyKind : uint8_t { Integer, Boolean, Enumeration, String, Component, Event };

struct ZORP_API TPropertyInfo {
    std::string Name;
    TPropertyKind Kind = TPropertyKind::Integer;
    // Integer, Boolean (0 or 1) and Enumeration (the ordinal) values.
    std::function<int64_t()> GetOrdinal;
    std::function<void(int64_t)> SetOrdinal;
    std::optional<int64_t> Default;
    // The identifiers of an enumeration, by ordinal.
    std::vector<std::string> EnumNames;
    // String values.
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    // Component references. SetComponent raises EReadError "Invalid
    // property value" for a component of the wrong class.
    std::function<TComponent*()> GetComponent;
    std::function<void(TComponent*)> SetComponent;
    // Events: the name of the published method the event is bound to ("" for
    // none), and binding one (Method null: unbinding). SetMethod raises
    // EReadError "Invalid property value" for a method of another type.
    std::function<std::string()> GetMethodName;
    std::function<void(const std::string& Name, const std::any* Method)> SetMethod;

    // False when the value is the one a form file leaves out.
    bool IsStored() const;
};

class ZORP_API TPropertyList {
public:
    void AddInteger(std::string Name, std::function<int64_t()> Get,
                    std::function<void(int64_t)> Set,
                    std::optional<int64_t> Default = std::nullopt);
    void AddBoolean(std::string Name, std::function<bool()> Get, std::function<void(bool)> Set,
                    std::optional<bool> Default = std::nullopt);
    // Names lists the enumeration's identifiers by ordinal.
    void AddEnumeration(std::string Name, std::vector<std::string> Names,
                        std::function<int64_t()> Get, std::function<void(int64_t)> Set,
                        std::optional<int64_t> Default = std::nullopt);
    void AddString(std::string Name, std::function<std::string()> Get,
                   std::function<void(const std::string&)> Set);

    // A reference to a component of class T (or a descendant), or none.
    template <class T>
    void AddComponent(std::string Name, std::function<T*()> Get, std::function<void(T*)> Set) {
        AddComponentReference(
            std::move(Name), [Get] { return static_cast<TComponent*>(Get()); },
            [Set](TComponent* Value) {
                T* typed = dynamic_cast<T*>(Value);
                if (Value != nullptr && typed == nullptr)
                    RaiseInvalidPropertyValue();
                Set(typed);
            });
    }

    // An event of type TEvent (a std::function) of Owner, bound by name to
    // a method its form publishes (TComponent::PublishMethod).
    template <class TEvent> void AddEvent(std::string Name, TComponent& Owner, TEvent& Event) {
        const std::string event = Name;
        AddEventBinding(
            std::move(Name),
            [&Owner, &Event, event] { return Event ? EventHandlerName(Owner, event) : ""; },
            [&Owner, &Event, event](const std::string& MethodName, const std::any* Method) {
                if (Method == nullptr) {
                    Event = nullptr;
                    SetEventHandlerName(Owner, event, "");
                    return;
                }
                const auto* handler = std::any_cast<TEvent>(Method);
                if (handler == nullptr)
                    RaiseInvalidPropertyValue();
                Event = *handler;
                SetEventHandlerName(Owner, event, MethodName);
            });
    }

    const std::vector<TPropertyInfo>& Items() const { return FItems; }
    // The property of that name (ignoring case), or nullptr.
    const TPropertyInfo* Find(const std::string& Name) const;

private:
    void AddComponentReference(std::string Name, std::function<TComponent*()> Get,
                               std::function<void(TComponent*)> Set);
    void AddEventBinding(std::string Name, std::function<std::string()> GetName,
                         std::function<void(const std::string&, const std::any*)> Set);
    static std::string EventHandlerName(const TComponent& Owner, const std::string& Event);
    static void SetEventHandlerName(TComponent& Owner, const std::string& Event,
                                    const std::string& MethodName);
    [[noreturn]] static void RaiseInvalidPropertyValue();

    std::vector<TPropertyInfo> FItems;
};

} // namespace zorp::fw
