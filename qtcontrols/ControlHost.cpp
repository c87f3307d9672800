#include "qtcontrols/ControlHost.h"

#include "framework/controls/Dialogs.h"

#include <exception>

namespace zorp::qt {

bool RunReported(const std::function<void()>& Action) {
    try {
        Action();
        return true;
    } catch (const std::exception& e) {
        fw::ShowMessage(e.what());
        return false;
    }
}

TControlHost::TControlHost() : FForm(std::make_unique<fw::TForm>(nullptr)) {
    FForm->Show();
}

TControlHost::~TControlHost() = default;

void TControlHost::Enter(fw::TWinControl& Control) {
    RunReported([&] { FForm->SetActiveControl(&Control); });
}

bool TControlHost::Leave() {
    // A control that fails to write its record raises here and keeps the focus.
    return RunReported([&] { FForm->SetActiveControl(nullptr); });
}

} // namespace zorp::qt
