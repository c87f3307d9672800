#include "qtcontrols/ControlHost.h"

#include "framework/controls/Dialogs.h"

#include <QFocusEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
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

void TControlHost::FocusIn(fw::TWinControl& Control) {
    if (FEntered)
        return;
    FEntered = true;
    RunReported([&] { FForm->SetActiveControl(&Control); });
}

void TControlHost::FocusOut(QWidget& Widget, const QFocusEvent& Event) {
    if (!FEntered || Event.reason() == Qt::PopupFocusReason ||
        Event.reason() == Qt::ActiveWindowFocusReason)
        return;
    // A control that fails to write its record raises here and keeps the focus.
    if (RunReported([&] { FForm->SetActiveControl(nullptr); })) {
        FEntered = false;
        return;
    }
    QTimer::singleShot(0, &Widget, [widget = QPointer<QWidget>(&Widget)] {
        if (widget)
            widget->setFocus(Qt::OtherFocusReason);
    });
}

} // namespace zorp::qt
