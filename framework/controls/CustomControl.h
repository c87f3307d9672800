#pragma once

#include "../base/Export.h"
#include "WinControl.h"

namespace zorp::fw {

/// A windowed control that paints itself. On WM_PAINT its Canvas draws into
/// the message's device context (the paint target of PaintTo, or the window's
/// own surface) and Paint runs; outside painting the canvas has no target.
/// Subclasses override Paint.
class ZORP_API TCustomControl : public TWinControl {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TCustomControl";
    /// Makes a control whose canvas has no target, owned by AOwner.
    explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The control's canvas: brush, font and palette state persist
    /// between paints; the target is the device context of the paint.
    TCanvas& Canvas() { return FCanvas; }

protected:
    /// Draws the control with Canvas; the base draws nothing.
    virtual void Paint() {}
    /// Points Canvas at the device context, runs Paint, and leaves Canvas
    /// without a target again (also when Paint raises).
    void PaintWindow(TCanvas& DC) override;

private:
    TCanvas FCanvas;
};

} // namespace zorp::fw
