// TWinControl, the control with a window, and the parameters its window is made with.
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

/// The parameters a control's window is made with; TWinControl::CreateParams
/// fills them in.
struct ZORP_API TCreateParams {
    /// The window class name; the control's ClassName unless a subclass sets
    /// another.
    std::string WinClassName;
    /// Window style flags (WS_BORDER, ...).
    uint32_t Style = 0;
    /// Extended window style flags (WS_EX_CLIENTEDGE, ...).
    uint32_t ExStyle = 0;
    /// Window class style flags; CS_VREDRAW and CS_HREDRAW unless cleared.
    uint32_t WindowClassStyle = CS_VREDRAW | CS_HREDRAW;
};

/// A control with a window. It holds child controls, can have the input
/// focus, receives keyboard input, and paints into a device context (a
/// TCanvas) on WM_PAINT.
///
/// The window ("handle") is made on demand: by HandleNeeded, by SetFocus, by
/// showing a form, or by getting a parent that has one. Making it runs
/// CreateParams and performs WM_CREATE; RecreateWnd destroys and makes it
/// again. Both are counted so that callers can see them.
///
/// Keyboard input arrives as WM_KEYDOWN, WM_CHAR and WM_KEYUP, as a user's
/// typing would send them (whoever sends them sets the shift state with
/// TKeyboardShiftScope). Each runs the virtual KeyDown, KeyPress or KeyUp,
/// whose base fires OnKeyDown, OnKeyPress or OnKeyUp; a handler that sets
/// the key or character to 0 swallows it, otherwise the message goes on to
/// DefaultHandler, where an edit control does its editing.
///
/// Focus belongs to the parent form (TCustomForm): SetFocus asks the form to
/// move it, which performs CM_EXIT on the control that had it and CM_ENTER
/// on the new one. The base CM_ENTER and CM_EXIT handlers fire OnEnter and
/// OnExit.
class ZORP_API TWinControl : public TControl {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TWinControl";
    /// Makes a control without a window or children, owned by AOwner.
    explicit TWinControl(TComponent* AOwner);
    /// Children still on the control are taken off it (their owners free
    /// them).
    ~TWinControl() override;
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// How many controls sit directly on this one.
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    /// The child at Index (0 to ControlCount - 1, in the order they were put
    /// on); raises EListError for another index.
    TControl* Controls(int Index) const;
    /// True when Control is this control's child, grandchild, ...
    bool ContainsControl(const TControl* Control) const;

    /// Sets the bounds as TControl does; with a window, performs WM_SIZE when
    /// the size changed and WM_WINDOWPOSCHANGED when the bounds did.
    void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;

    /// True when the control has a window.
    bool HandleAllocated() const { return FHandleAllocated; }
    /// Makes the window when there is none: first the parent's, then this
    /// one (CreateParams, WM_CREATE), then those of the windowed children.
    void HandleNeeded();
    /// Destroys the window, after those of the windowed children, performing
    /// WM_DESTROY; nothing without a window.
    void DestroyHandle();
    /// Destroys the window and makes it again, when there is one.
    void RecreateWnd();
    /// How many times a window was made for this control.
    int HandleCreateCount() const { return FHandleCreateCount; }
    /// The parameters the current (or last) window was made with.
    const TCreateParams& WindowParams() const { return FWindowParams; }

    /// Whether the control wants to be reached with the Tab key; off by
    /// default. This layer only keeps it for controls to consult.
    /// @{
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    /// @}
    /// Whether the control has the three-dimensional look; on by default. A
    /// change makes the window again (RecreateWnd).
    /// @{
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    /// @}

    /// Visible and enabled, with every parent up to a form.
    virtual bool CanFocus() const;
    /// True when the control is its form's active control.
    bool Focused() const;
    /// Asks the parent form to move the focus to the control. Raises
    /// EInvalidOperation when the control cannot take the focus.
    virtual void SetFocus();

    /// Redraws the window (flags RDW_INVALIDATE, RDW_ERASE, RDW_FRAME, ...);
    /// recorded: RedrawCount and LastRedrawFlags. RDW_INVALIDATE also counts
    /// as an Invalidate.
    void RedrawWindow(uint32_t Flags);
    /// How many times RedrawWindow ran.
    int RedrawCount() const { return FRedrawCount; }
    /// The flags of the last RedrawWindow; 0 before the first.
    uint32_t LastRedrawFlags() const { return FLastRedrawFlags; }

    /// Paints the control and its children into Canvas with the control's
    /// top-left corner at (X, Y): WM_ERASEBKGND, then WM_PAINT, each with
    /// the canvas as device context, then each visible windowed child at its
    /// position. The canvas's target is restored afterwards.
    void PaintTo(TCanvas& Canvas, int32_t X, int32_t Y);
    /// Paints the control (as PaintTo) into a new 24-bit bitmap of its size.
    void PaintToBitmap(TBitmap& Bitmap);
    /// Paints the control (as PaintTo) and saves the image as a BMP file.
    void SaveImageToFile(const std::string& FileName);

    /// Fired by KeyDown and KeyUp for WM_KEYDOWN and WM_KEYUP with the virtual
    /// key code and the shift state; setting Key to 0 swallows the key.
    /// @{
    std::function<void(TWinControl& Sender, uint16_t& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(TWinControl& Sender, uint16_t& Key, TShiftState Shift)> OnKeyUp;
    /// @}
    /// Fired by KeyPress for WM_CHAR with the character; setting Key to 0
    /// swallows it, setting another character types that one instead.
    std::function<void(TWinControl& Sender, char& Key)> OnKeyPress;
    /// Fired by DoEnter and DoExit when the control gets the focus (CM_ENTER)
    /// and when it loses it (CM_EXIT).
    /// @{
    std::function<void(TWinControl& Sender)> OnEnter;
    std::function<void(TWinControl& Sender)> OnExit;
    /// @}

protected:
    /// Fills in the parameters of a new window; the base resets Params and
    /// sets WinClassName to ClassName. Overrides call the base first.
    virtual void CreateParams(TCreateParams& Params);

    /// Fire OnKeyDown, OnKeyUp and OnKeyPress; a subclass overrides them to
    /// act on keys first. Setting Key to 0 swallows the key or character.
    /// @{
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    /// @}
    /// Fire OnEnter and OnExit.
    /// @{
    virtual void DoEnter();
    virtual void DoExit();
    /// @}

    /// Draws the control's content into Canvas (the paint message's device
    /// context); the base draws nothing.
    virtual void PaintWindow(TCanvas& Canvas);
    /// The canvas WM_PAINT and WM_ERASEBKGND use when their WParam is 0: a
    /// canvas over the window's own surface, sized to the control.
    TCanvas& WindowCanvas();
    /// The device context of a paint message: its WParam, or WindowCanvas.
    TCanvas& MessageCanvas(const TMessage& Message);

    /// Run KeyDown, KeyUp or KeyPress with the keyboard's shift state and pass
    /// the (possibly changed) key or character on to DefaultHandler unless it
    /// became 0.
    /// @{
    void WMKeyDown(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    /// @}
    /// Runs PaintWindow on the message's device context.
    void WMPaint(TMessage& Message) override;
    /// Fills the client area with Color; Result 1.
    void WMEraseBkgnd(TMessage& Message) override;
    /// Run DoEnter and DoExit.
    /// @{
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    /// @}

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
