// TBasicAction: a command object that components can carry out. An action
// offers itself to a target with HandlesTarget; a control's ExecuteAction
// and UpdateAction, and a data link's, ask it and then let it ExecuteTarget
// or UpdateTarget on them. Execute and Update fire OnExecute / OnUpdate and
// answer whether a handler was there.
//
// It lives with the components rather than the controls, so that the data
// layer (data links and data-set actions) can use it too.
#pragma once

#include "Component.h"
#include "Export.h"

#include <functional>

namespace zorp::fw {

class ZORP_API TBasicAction : public TComponent {
public:
    static constexpr const char* StaticClassName = "TBasicAction";
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    // True when the action can work on Target; the base handles none.
    virtual bool HandlesTarget(TObject*) { return false; }
    virtual void ExecuteTarget(TObject*) {}
    virtual void UpdateTarget(TObject*) {}

    virtual bool Execute() {
        if (!OnExecute)
            return false;
        OnExecute(*this);
        return true;
    }
    virtual bool Update() {
        if (!OnUpdate)
            return false;
        OnUpdate(*this);
        return true;
    }

    std::function<void(TBasicAction& Sender)> OnExecute;
    std::function<void(TBasicAction& Sender)> OnUpdate;
};

} // namespace zorp::fw
