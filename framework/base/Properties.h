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

/// The kind of value a published property holds, which says which accessors
/// of its TPropertyInfo are set.
enum class TPropertyKind : uint8_t {
    Integer,     ///< A whole number (GetOrdinal, SetOrdinal).
    Boolean,     ///< 0 or 1 (GetOrdinal, SetOrdinal).
    Enumeration, ///< An ordinal, written as one of EnumNames.
    String,      ///< A string (GetString, SetString).
    Component,   ///< A reference to a component (GetComponent, SetComponent).
    Event        ///< An event bound by name (GetMethodName, SetMethod).
};

/// One published property of a component: its name, its kind and the
/// accessors that read and write it.
struct ZORP_API TPropertyInfo {
    std::string Name;                            ///< The name form files give it
    TPropertyKind Kind = TPropertyKind::Integer; ///< Which accessors are set
    /// Integer, Boolean (0 or 1) and Enumeration (the ordinal) values.
    /// @{
    std::function<int64_t()> GetOrdinal;
    std::function<void(int64_t)> SetOrdinal;
    /// @}
    /// The ordinal a form file leaves out; none: every value is written.
    std::optional<int64_t> Default;
    /// The identifiers of an enumeration, by ordinal.
    std::vector<std::string> EnumNames;
    /// String values.
    /// @{
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    /// @}
    /// Component references. SetComponent raises EReadError "Invalid
    /// property value" for a component of the wrong class.
    /// @{
    std::function<TComponent*()> GetComponent;
    std::function<void(TComponent*)> SetComponent;
    /// @}
    /// Events: the name of the published method the event is bound to ("" for
    /// none), and binding one (Method null: unbinding). SetMethod raises
    /// EReadError "Invalid property value" for a method of another type.
    /// @{
    std::function<std::string()> GetMethodName;
    std::function<void(const std::string& Name, const std::any* Method)> SetMethod;
    /// @}

    /// False when the value is the one a form file leaves out.
    bool IsStored() const;
};

/// The published properties of a component, in the order they were added.
class ZORP_API TPropertyList {
public:
    /// Adds an Integer property read by Get and written by Set; with Default,
    /// that value is not written to form files.
    void AddInteger(std::string Name, std::function<int64_t()> Get,
                    std::function<void(int64_t)> Set,
                    std::optional<int64_t> Default = std::nullopt);
    /// Adds a Boolean property read by Get and written by Set; with Default,
    /// that value is not written to form files.
    void AddBoolean(std::string Name, std::function<bool()> Get, std::function<void(bool)> Set,
                    std::optional<bool> Default = std::nullopt);
    /// Adds an Enumeration property read by Get and written by Set as an
    /// ordinal; Names lists the enumeration's identifiers by ordinal, and
    /// with Default that ordinal is not written to form files.
    void AddEnumeration(std::string Name, std::vector<std::string> Names,
                        std::function<int64_t()> Get, std::function<void(int64_t)> Set,
                        std::optional<int64_t> Default = std::nullopt);
    /// Adds a String property read by Get and written by Set.
    void AddString(std::string Name, std::function<std::string()> Get,
                   std::function<void(const std::string&)> Set);

    /// Adds a reference to a component of class T (or a descendant), or none.
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

    /// Adds an event of type TEvent (a std::function) of Owner, bound by name
    /// to a method its form publishes (TComponent::PublishMethod).
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

    /// The properties, in the order they were added.
    const std::vector<TPropertyInfo>& Items() const { return FItems; }
    /// The property of that name (ignoring case), or nullptr.
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
