// TComponent: the framework's component base. A component created with an
// owner belongs to it: the owner frees its components when it is freed. A
// component that is removed (freed) is announced with Notification(opRemove)
// to its owner's components and to every component that asked with
// FreeNotification. Loaded runs after a component's properties were read.
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

enum TOperation : uint8_t { opInsert, opRemove };

// Component state flags.
inline constexpr uint32_t csLoading = 0x0001;
inline constexpr uint32_t csReading = 0x0002;
inline constexpr uint32_t csWriting = 0x0004;
inline constexpr uint32_t csDestroying = 0x0008;
inline constexpr uint32_t csDesigning = 0x0010;

class ZORP_API TComponent : public TObject {
public:
    static constexpr const char* StaticClassName = "TComponent";

    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    std::string ClassName() const override { return StaticClassName; }

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has (case-insensitively).
    void SetName(const std::string& NewName);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const;
    TComponent* FindComponent(const std::string& AName) const;

    uint32_t ComponentState() const { return FComponentState; }
    // Marks this component and the ones it owns as being designed.
    void SetDesigning(bool Value);
    // Marks this component and the ones it owns as loading from a form file;
    // EndLoading then runs Loaded on the owned components and on this one.
    void BeginLoading();
    void EndLoading();

    // Asks to be told (by Notification) when AComponent is freed, and tells
    // AComponent the same of this one.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Hands this component to another owner (or none).
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    // The published properties form files keep, in declaration order.
    TPropertyList PublishedProperties();

    // Event handlers by name. A form publishes its handler methods so that
    // form files can bind events of its components to them:
    //   PublishMethod("Form1Progress", &TNotesForm::Form1Progress);
    template <class C, class R, class... A>
    void PublishMethod(const std::string& Name, R (C::*Method)(A...)) {
        C* self = static_cast<C*>(this);
        FMethods[Name] = std::function<R(A...)>(
            [self, Method](A... Args) { return (self->*Method)(std::forward<A>(Args)...); });
    }
    // The published method of that name (a std::function), or nullptr.
    const std::any* FindMethod(const std::string& Name) const;
    // Binds the event property EventName to Root's published method, as a
    // form file does, so that writing the form keeps the binding. Raises
    // EComponentError for an unknown event or method, EReadError for a
    // method of another type. An event assigned directly in code is not
    // kept in form files.
    void BindEvent(const std::string& EventName, TComponent& Root, const std::string& MethodName);
    // The published method an event is bound to, or "".
    std::string EventHandlerName(const std::string& EventName) const;
    // A component that a form file nests under another one rather than
    // under the root (a field under its data set, a control under its
    // parent) answers HasParent true and names that component.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Puts the component under Value while a form file is read.
    virtual void SetParentComponent(TComponent* Value);

protected:
    // Called when AComponent is inserted into or removed from the owner's
    // components, or freed while this one asked for it. Overrides call the
    // base, which passes the notice on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Runs after the component's properties have been read.
    virtual void Loaded();
    // Tells the components that asked and the owner's components that this
    // one is going, while it is still whole. A destructor that lets go of
    // others (as a data source detaches its links) calls it first, so that
    // they hear of the removal before; the base destructor then tells only
    // those who asked since.
    void NotifyRemoval();
    // Lists the published properties; overrides call the base first, so
    // that a base class's properties come before those of its descendants.
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

// True when Ident is a Pascal-style identifier: a letter or "_" followed by
// letters, digits and "_".
ZORP_API bool IsValidIdent(const std::string& Ident);

} // namespace zorp::fw
