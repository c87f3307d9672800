// TCustomControl: a windowed control that paints itself. On WM_PAINT its
// Canvas draws into the message's device context (the paint target of
// PaintTo, or the window's own surface) and Paint runs; outside painting
// the canvas has no target. Subclasses override Paint.
#pragma once

#include "../base/Export.h"
#include "WinControl.h"

namespace zorp::fw {

class ZORP_API TCustomControl : public TWinControl {
public:
    static constexpr const char* StaticClassName = "TCustomControl";
    explicit TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    // The control's canvas: brush, pen, font and palette state persist
    // between paints; the target is the device context of the paint.
    TCanvas& Canvas() { return FCanvas; }

protected:
    virtual void Paint() {}
    // Points Canvas at the device context, runs Paint, and leaves Canvas
    // without a target again.
    void PaintWindow(TCanvas& DC) override;

private:
    TCanvas FCanvas;
};

} // namespace zorp::fw
