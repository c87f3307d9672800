// Forms: the top-level windowed controls that hold the focus.
#pragma once

#include "../base/Export.h"
#include "WinControl.h"

#include <string>

namespace zorp::fw {

/// A top-level windowed control that holds the focus. A form keeps one
/// active control, the control with the input focus. Moving the focus
/// (SetActiveControl, or a control's SetFocus) performs CM_EXIT on the
/// control that had it and then CM_ENTER on the new one; when CM_EXIT
/// raises, the focus stays where it was and the exception propagates (a
/// control that refuses to be left takes the focus back this way). A form
/// starts hidden; Show makes it visible and makes the windows of it and its
/// controls.
class ZORP_API TCustomForm : public TWinControl {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TCustomForm";
    /// Makes a hidden form in clBtnFace that accepts controls, owned by AOwner.
    explicit TCustomForm(TComponent* AOwner);
    /// Drops the active control without messages.
    ~TCustomForm() override;
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The control with the focus, or nullptr.
    TWinControl* ActiveControl() const { return FActiveControl; }
    /// Moves the focus to Control (nullptr: to no control), making Control's
    /// window first. Raises EInvalidOperation for a control on another form or
    /// one that cannot take the focus.
    void SetActiveControl(TWinControl* Control);
    /// A form is focusable when it is visible and enabled.
    bool CanFocus() const override { return Visible() && Enabled(); }
    /// Makes the form's window; the active control keeps the focus. Raises
    /// EInvalidOperation when the form cannot take the focus.
    void SetFocus() override;

    /// Makes the form visible and makes the windows of it and its controls.
    void Show();

private:
    friend class TWinControl;
    // Control (or one of its children) leaves the form: the focus is
    // dropped without messages when it was there.
    void ControlRemoving(const TControl* Control);

    TWinControl* FActiveControl = nullptr;
};

/// The form class programs use; it adds nothing to TCustomForm but its name.
class ZORP_API TForm : public TCustomForm {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TForm";
    /// Makes a hidden form, owned by AOwner (see TCustomForm).
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

/// The form at the top of Control's parents (Control itself when it is a
/// form), or nullptr when the top is not a form or Control is nullptr.
ZORP_API TCustomForm* GetParentForm(const TControl* Control);

} // namespace zorp::fw
