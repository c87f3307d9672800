#pragma once

#include "Export.h"
#include "Object.h"
#include "Properties.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zorp::fw {

/// What Notification tells of a component.
enum TOperation : uint8_t {
    opInsert, ///< It was inserted into the owner's components.
    opRemove  ///< It is being removed from them, or freed.
};

// Component state flags, as ComponentState returns them.

/// Set by BeginLoading; cleared when Loaded runs.
inline constexpr uint32_t csLoading = 0x0001;
/// Set by BeginLoading while a form file's properties are read; cleared by
/// EndLoading before Loaded runs.
inline constexpr uint32_t csReading = 0x0002;
/// Kept for the set of state flags; the framework does not set it.
inline constexpr uint32_t csWriting = 0x0004;
/// Set when the component is being freed (its destructor, or NotifyRemoval).
inline constexpr uint32_t csDestroying = 0x0008;
/// Set by SetDesigning(true): the component is being designed, not run.
inline constexpr uint32_t csDesigning = 0x0010;

/// The framework's component base. A component created with an owner belongs to
/// it: the owner frees its components when it is freed. A component that is
/// removed (freed) is announced with Notification(opRemove) to its owner's
/// components and to every component that asked with FreeNotification. Loaded
/// runs after a component's properties were read.
class ZORP_API TComponent : public TObject {
public:
    /// The class name, as ClassName returns it and the class registry knows it.
    static constexpr const char* StaticClassName = "TComponent";

    /// Starts with no name and no owned components; a non-null AOwner takes
    /// the component among its own (see InsertComponent) and frees it.
    explicit TComponent(TComponent* AOwner);
    /// Tells the components that asked (FreeNotification) that this one is
    /// going, frees the owned components, last first, and leaves the owner.
    ~TComponent() override;

    /// Returns "TComponent".
    std::string ClassName() const override { return StaticClassName; }

    /// The component that owns this one and frees it, or null.
    TComponent* Owner() const { return FOwner; }
    /// The component's name; empty when it has none.
    const std::string& Name() const { return FName; }
    /// Raises EComponentError for a name that is not an identifier or that
    /// another component of the same owner already has (case-insensitively).
    void SetName(const std::string& NewName);

    /// The number of components this one owns.
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    /// The owned component at Index, in insertion order; an index out of range
    /// raises EListError.
    TComponent* Components(int Index) const;
    /// The owned component named AName (ignoring case), or null; an empty
    /// name finds nothing.
    TComponent* FindComponent(const std::string& AName) const;

    /// The state flags (csLoading, csReading, csDestroying, csDesigning).
    uint32_t ComponentState() const { return FComponentState; }
    /// Marks this component and the ones it owns as being designed.
    void SetDesigning(bool Value);
    /// Marks this component and the ones it owns as loading from a form file;
    /// EndLoading then runs Loaded on the owned components and on this one.
    /// @{
    void BeginLoading();
    void EndLoading();
    /// @}

    /// Asks to be told (by Notification) when AComponent is freed, and tells
    /// AComponent the same of this one.
    void FreeNotification(TComponent* AComponent);
    /// Withdraws FreeNotification both ways: neither component is told of
    /// the other's freeing any more.
    void RemoveFreeNotification(TComponent* AComponent);

    /// Makes this component the owner of AComponent, taking it from its
    /// former owner; raises EComponentError when this one owns a component
    /// of the same name already. Notification(opInsert) follows.
    void InsertComponent(TComponent* AComponent);
    /// Takes AComponent from the components this one owns, after
    /// Notification(opRemove); it then has no owner.
    void RemoveComponent(TComponent* AComponent);

    /// The published properties form files keep, in declaration order.
    TPropertyList PublishedProperties();

    /// Publishes Method of this component under Name. A form publishes its
    /// handler methods so that form files can bind events of its components
    /// to them, as in
    /// PublishMethod("Form1Progress", &TNotesForm::Form1Progress).
    template <class C, class R, class... A>
    void PublishMethod(const std::string& Name, R (C::*Method)(A...)) {
        C* self = static_cast<C*>(this);
        FMethods[Name] = std::function<R(A...)>(
            [self, Method](A... Args) { return (self->*Method)(std::forward<A>(Args)...); });
    }
    /// The published method of that name (a std::function), or nullptr.
    const std::any* FindMethod(const std::string& Name) const;
    /// Binds the event property EventName to Root's published method, as a
    /// form file does, so that writing the form keeps the binding. Raises
    /// EComponentError for an unknown event or method, EReadError for a
    /// method of another type. An event assigned directly in code is not
    /// kept in form files.
    void BindEvent(const std::string& EventName, TComponent& Root, const std::string& MethodName);
    /// The published method an event is bound to, or "".
    std::string EventHandlerName(const std::string& EventName) const;
    /// A component that a form file nests under another one rather than
    /// under the root (a field under its data set, a control under its
    /// parent) answers HasParent true and names that component; the base
    /// answers false and null.
    /// @{
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    /// @}
    /// Puts the component under Value while a form file is read; the base
    /// does nothing.
    virtual void SetParentComponent(TComponent* Value);

protected:
    /// Called when AComponent is inserted into or removed from the owner's
    /// components, or freed while this one asked for it. Overrides call the
    /// base, which passes the notice on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    /// Runs after the component's properties have been read; the base clears
    /// csLoading.
    virtual void Loaded();
    /// Tells the components that asked and the owner's components that this
    /// one is going, while it is still whole. A destructor that lets go of
    /// others (as a data source detaches its links) calls it first, so that
    /// they hear of the removal before; the base destructor then tells only
    /// those who asked since.
    void NotifyRemoval();
    /// Lists the published properties; overrides call the base first, so
    /// that a base class's properties come before those of its descendants.
    /// The base lists none.
    virtual void DefineProperties(TPropertyList& Properties);

private:
    void TellFreeNotifies();
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;   // owned
    std::vector<TComponent*> FFreeNotifies; // not owned
    std::map<std::string, std::any> FMethods;
    std::map<std::string, std::string> FEventHandlerNames;
    friend class TPropertyList; // records the names of bound events
    uint32_t FComponentState = 0;
};

/// True when Ident is an identifier: a letter or "_" followed by letters,
/// digits and "_".
ZORP_API bool IsValidIdent(const std::string& Ident);

} // namespace zorp::fw
