#include "framework/controls/Forms.h"

#include "framework/controls/ControlErrors.h"

namespace zorp::fw {

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    SetVisible(false);
    SetColor(clBtnFace);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TCustomForm::~TCustomForm() {
    FActiveControl = nullptr;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl)
        return;
    if (Control != nullptr) {
        if (Control == this || !ContainsControl(Control))
            throw EInvalidOperation("Control '" + Control->Name() + "' is not on form '" + Name() +
                                    "'");
        if (!Control->CanFocus())
            throw EInvalidOperation("Cannot focus a disabled or invisible window");
        Control->HandleNeeded();
    }
    if (TWinControl* old = FActiveControl) {
        old->Perform(CM_EXIT);
        // The exit handler may have moved the focus itself.
        if (FActiveControl != old)
            return;
    }
    FActiveControl = Control;
    if (Control)
        Control->Perform(CM_ENTER);
}

void TCustomForm::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    HandleNeeded();
}

void TCustomForm::Show() {
    SetVisible(true);
    HandleNeeded();
}

void TCustomForm::ControlRemoving(const TControl* Control) {
    if (FActiveControl != nullptr &&
        (FActiveControl == Control ||
         (dynamic_cast<const TWinControl*>(Control) != nullptr &&
          static_cast<const TWinControl*>(Control)->ContainsControl(FActiveControl))))
        FActiveControl = nullptr;
}

TCustomForm* GetParentForm(const TControl* Control) {
    if (Control == nullptr)
        return nullptr;
    const TControl* top = Control;
    while (top->Parent() != nullptr)
        top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

} // namespace zorp::fw
