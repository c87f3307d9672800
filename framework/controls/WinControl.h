// TWinControl: a control with a window. It holds child controls, can have
// the input focus, receives keyboard input, and paints into a device
// context (a TCanvas) on WM_PAINT.
//
// The window ("handle") is made on demand: by HandleNeeded, by SetFocus, by
// showing a form, or by getting a parent that has one. Making it runs
// CreateParams and performs WM_CREATE; RecreateWnd destroys and makes it
// again. Both are counted so that callers can see them.
//
// Keyboard input arrives as WM_KEYDOWN, WM_CHAR and WM_KEYUP (Keyboard.h
// sends them as a user's typing would). Each runs the virtual KeyDown,
// KeyPress or KeyUp, whose base fires OnKeyDown, OnKeyPress or OnKeyUp; a
// handler that sets the key or character to 0 swallows it, otherwise the
// message goes on to DefaultHandler, where an edit control does its
// editing.
//
// Focus belongs to the parent form (Forms.h): SetFocus asks the form to
// move it, which performs CM_EXIT on the control that had it and CM_ENTER
// on the new one. The base CM_ENTER and CM_EXIT handlers fire OnEnter and
// OnExit.
#pragma once

#include "../base/Export.h"
#include "Control.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorp::fw {

class TBitmap;
class TBitmapCanvas;

struct ZORP_API TCreateParams {
    std::string WinClassName;
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    uint32_t WindowClassStyle = CS_VREDRAW | CS_HREDRAW;
};

class ZORP_API TWinControl : public TControl {
public:
    static constexpr const char* StaticClassName = "TWinControl";
    explicit TWinControl(TComponent* AOwner);
    // Children still on the control are taken off it (their owners free
    // them).
    ~TWinControl() override;
    std::string ClassName() const override { return StaticClassName; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    // True when Control is this control's child, grandchild, ...
    bool ContainsControl(const TControl* Control) const;

    void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;

    // The window.
    bool HandleAllocated() const { return FHandleAllocated; }
    void HandleNeeded();
    void DestroyHandle();
    // Destroys the window and makes it again, when there is one.
    void RecreateWnd();
    // How many times a window was made for this control.
    int HandleCreateCount() const { return FHandleCreateCount; }
    // The parameters the current (or last) window was made with.
    const TCreateParams& WindowParams() const { return FWindowParams; }

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    // Visible and enabled, with every parent up to a form.
    virtual bool CanFocus() const;
    bool Focused() const;
    // Raises EInvalidOperation when the control cannot take the focus.
    virtual void SetFocus();

    // Redraws the window (flags RDW_INVALIDATE, RDW_ERASE, RDW_FRAME, ...);
    // recorded: RedrawCount and LastRedrawFlags. RDW_INVALIDATE also counts
    // as an Invalidate.
    void RedrawWindow(uint32_t Flags);
    int RedrawCount() const { return FRedrawCount; }
    uint32_t LastRedrawFlags() const { return FLastRedrawFlags; }

    // Paints the control and its children into Canvas with the control's
    // top-left corner at (X, Y): WM_ERASEBKGND, then WM_PAINT, each with
    // the canvas as device context, then each visible windowed child at its
    // position. The canvas's target is restored afterwards.
    void PaintTo(TCanvas& Canvas, int32_t X, int32_t Y);
    // Paints the control (as PaintTo) into a new 24-bit bitmap of its size.
    void PaintToBitmap(TBitmap& Bitmap);
    // The same, saved as a BMP file.
    void SaveImageToFile(const std::string& FileName);

    std::function<void(TWinControl& Sender, uint16_t& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(TWinControl& Sender, uint16_t& Key, TShiftState Shift)> OnKeyUp;
    std::function<void(TWinControl& Sender, char& Key)> OnKeyPress;
    std::function<void(TWinControl& Sender)> OnEnter;
    std::function<void(TWinControl& Sender)> OnExit;

protected:
    virtual void CreateParams(TCreateParams& Params);

    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();

    // Draws the control's content into Canvas (the paint message's device
    // context); the base draws nothing.
    virtual void PaintWindow(TCanvas& Canvas);
    // The canvas WM_PAINT and WM_ERASEBKGND use when their WParam is 0: a
    // canvas over the window's own surface, sized to the control.
    TCanvas& WindowCanvas();
    // The device context of a paint message: its WParam, or WindowCanvas.
    TCanvas& MessageCanvas(const TMessage& Message);

    void WMKeyDown(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    // Runs PaintWindow on the message's device context.
    void WMPaint(TMessage& Message) override;
    // Fills the client area with Color; Result 1.
    void WMEraseBkgnd(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;

private:
    friend class TControl;

    void InsertControl(TControl* Control);
    void RemoveControl(TControl* Control);
    void CreateHandle();

    std::vector<TControl*> FControls; // not owned
    bool FHandleAllocated = false;
    int FHandleCreateCount = 0;
    TCreateParams FWindowParams;
    bool FTabStop = false;
    bool FCtl3D = true;
    int FRedrawCount = 0;
    uint32_t FLastRedrawFlags = 0;
    std::unique_ptr<TBitmapCanvas> FWindowCanvas;
};

} // namespace zorp::fw
