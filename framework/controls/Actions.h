// TBasicAction: a command object that controls can carry out. An action
// offers itself to a target with HandlesTarget; the target's ExecuteAction
// and UpdateAction (TControl) ask it and then let it ExecuteTarget or
// UpdateTarget on them. Execute and Update fire OnExecute / OnUpdate and
// answer whether a handler was there.
#pragma once

#include "framework/base/Component.h"

#include <functional>

namespace zorp::fw {

class TBasicAction : public TComponent {
public:
    static constexpr const char* StaticClassName = "TBasicAction";
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    // True when the action can work on Target; the base handles none.
    virtual bool HandlesTarget(TObject* Target);
    virtual void ExecuteTarget(TObject* Target);
    virtual void UpdateTarget(TObject* Target);

    virtual bool Execute();
    virtual bool Update();

    std::function<void(TBasicAction& Sender)> OnExecute;
    std::function<void(TBasicAction& Sender)> OnUpdate;
};

} // namespace zorp::fw
