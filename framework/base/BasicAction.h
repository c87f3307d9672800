#pragma once

#include "Component.h"
#include "Export.h"

#include <functional>

namespace zorp::fw {

/// A command object that components can carry out. An action offers itself to a
/// target with HandlesTarget; a control's ExecuteAction and UpdateAction, and a
/// data link's, ask it and then let it ExecuteTarget or UpdateTarget on them.
/// Execute and Update fire OnExecute / OnUpdate and answer whether a handler
/// was there.
///
/// It lives with the components rather than the controls, so that the data
/// layer (data links) can use it too.
class ZORP_API TBasicAction : public TComponent {
public:
    /// The class name, as ClassName returns it and the class registry knows it.
    static constexpr const char* StaticClassName = "TBasicAction";
    /// Starts with no handlers; AOwner, when not null, owns the action.
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    /// Returns "TBasicAction".
    std::string ClassName() const override { return StaticClassName; }

    /// True when the action can work on Target; the base handles none.
    virtual bool HandlesTarget(TObject*) { return false; }
    /// Carries the action out on a target that HandlesTarget accepted; the
    /// base does nothing.
    virtual void ExecuteTarget(TObject*) {}
    /// Brings the action's own state (such as whether it is enabled) in line
    /// with a target that HandlesTarget accepted; the base does nothing.
    virtual void UpdateTarget(TObject*) {}

    /// Fires OnExecute; false when no handler is bound.
    virtual bool Execute() {
        if (!OnExecute)
            return false;
        OnExecute(*this);
        return true;
    }
    /// Fires OnUpdate; false when no handler is bound.
    virtual bool Update() {
        if (!OnUpdate)
            return false;
        OnUpdate(*this);
        return true;
    }

    /// Carries the action out when Execute is called.
    std::function<void(TBasicAction& Sender)> OnExecute;
    /// Brings the action's state up to date when Update is called.
    std::function<void(TBasicAction& Sender)> OnUpdate;
};

} // namespace zorp::fw
