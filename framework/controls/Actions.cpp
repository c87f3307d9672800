#include "framework/controls/Actions.h"

namespace zorp::fw {

bool TBasicAction::HandlesTarget(TObject*) {
    return false;
}

void TBasicAction::ExecuteTarget(TObject*) {}

void TBasicAction::UpdateTarget(TObject*) {}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(*this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate)
        return false;
    OnUpdate(*this);
    return true;
}

} // namespace zorp::fw
