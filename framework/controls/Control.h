// TControl, the base of every control, with its style and state flags.
#pragma once

#include "../base/Alignment.h"
#include "../base/Component.h"
#include "../base/Export.h"
#include "Canvas.h"
#include "Messages.h"
#include "Types.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorp::fw {

class TBasicAction;
class TWinControl;

/// ControlStyle: a set of the flags that say what kind of control it is.
using TControlStyle = uint32_t;
/// ControlStyle flag: the control takes other controls as children (forms set
/// it). It is a declaration: SetParent does not check it.
inline constexpr TControlStyle csAcceptsControls = 1u << 0;
/// ControlStyle flag: a left button-down on the control marks it as pressed
/// (csLButtonDown, csClicked in ControlState), so that the button-up clicks it.
inline constexpr TControlStyle csCaptureMouse = 1u << 1;
/// ControlStyle flag: the control turns button-up after button-down into a
/// click and double clicks into DblClick.
inline constexpr TControlStyle csClickEvents = 1u << 3;
/// ControlStyle flag: the control has a frame (set by controls that draw one
/// without the newer look, see NewStyleControls). The framework does not act
/// on it.
inline constexpr TControlStyle csFramed = 1u << 4;
/// ControlStyle flag: the control's text serves as its caption. The framework
/// sets it on every control and does not act on it.
inline constexpr TControlStyle csSetCaption = 1u << 5;
/// ControlStyle flag: the control paints its whole client area. The framework
/// does not act on it.
inline constexpr TControlStyle csOpaque = 1u << 6;
/// ControlStyle flag: the control accepts double clicks. The framework sets it
/// on every control and does not act on it; WM_LBUTTONDBLCLK runs DblClick
/// under csClickEvents.
inline constexpr TControlStyle csDoubleClicks = 1u << 7;
/// ControlStyle flag: the control can paint copies of itself, one per record
/// in a grid of controls (see csPaintCopy). The framework does not act on it.
inline constexpr TControlStyle csReplicatable = 1u << 11;

/// ControlState: a set of the flags that say what the control is doing now.
using TControlState = uint32_t;
/// ControlState flag: the left mouse button went down on the control and has
/// not come up yet.
inline constexpr TControlState csLButtonDown = 1u << 0;
/// ControlState flag: the left button-down on the control is waiting for its
/// button-up, which then is a click.
inline constexpr TControlState csClicked = 1u << 1;
/// ControlState flag: the control is taking the focus. The framework itself
/// does not set it.
inline constexpr TControlState csFocusing = 1u << 5;
/// ControlState flag: the control is being made. The framework itself does not
/// set it.
inline constexpr TControlState csCreating = 1u << 6;
/// ControlState flag: the control paints a copy of itself (one per record in
/// a grid of controls) into the device context of the paint message.
inline constexpr TControlState csPaintCopy = 1u << 7;

/// The reading order of a control's text: left to right, or one of the
/// right-to-left modes (right-to-left reading with right alignment, without
/// right alignment, or reading order only). Only bdRightToLeft aligns text to
/// the right, and only on a right-to-left locale (UseRightToLeftAlignment).
enum TBiDiMode : uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};

/// Whether controls draw with the window system's newer look (client edges
/// instead of borders, no frame style); on by default.
/// @{
ZORP_API bool NewStyleControls();
ZORP_API void SetNewStyleControls(bool Value);
/// @}

/// The base of every control. A control is a component with a parent (the
/// windowed control it sits on), bounds, visibility, enabled state, a text, a
/// colour and a font, and two sets of flags: ControlStyle (what kind of
/// control it is) and ControlState (what it is doing now, such as painting a
/// copy of itself for a grid of controls: csPaintCopy).
///
/// Everything reaches a control as a message. Perform(Msg, WParam, LParam)
/// builds a TMessage and hands it to the virtual WndProc, which calls
/// Dispatch: the message number selects one of the virtual handlers below
/// (WMPaint for WM_PAINT, CMEnter for CM_ENTER, ...); numbers without a
/// handler go to DefaultHandler. A subclass overrides WndProc to see every
/// message, or one handler to change what one message does; a handler calls
/// its base to get the inherited behaviour ("let the control do the paste").
///
/// Invalidate does not paint: it records that the control needs painting
/// (InvalidateCount); painting happens on WM_PAINT.
class ZORP_API TControl : public TComponent {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TControl";
    /// Makes a visible, enabled control without a parent, owned by AOwner.
    explicit TControl(TComponent* AOwner);
    /// Takes the control off its parent.
    ~TControl() override;
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The windowed control the control sits on, or nullptr.
    TWinControl* Parent() const { return FParent; }
    /// Moves the control onto Value's children (nullptr: off any parent).
    /// Raises EComponentError when Value is the control itself or lies on it.
    virtual void SetParent(TWinControl* Value);

    /// The position of the control's top-left corner in its parent's client
    /// area, and its size, in pixels.
    /// @{
    int32_t Left() const { return FLeft; }
    int32_t Top() const { return FTop; }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    /// @}
    /// Change one of the bounds through SetBounds, keeping the other three.
    /// @{
    void SetLeft(int32_t Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int32_t Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int32_t Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int32_t Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    /// @}
    /// Sets position and size at once. Negative sizes count as 0. A windowed
    /// control with a window gets WM_SIZE when its size changed and
    /// WM_WINDOWPOSCHANGED when its bounds did.
    virtual void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight);
    /// The control's bounds in its parent's client area.
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    /// The area inside the control, at (0, 0).
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    /// The width and height of ClientRect.
    /// @{
    int32_t ClientWidth() const { return ClientRect().Width(); }
    int32_t ClientHeight() const { return ClientRect().Height(); }
    /// @}

    /// Whether the control is visible; a change performs CM_VISIBLECHANGED
    /// (WParam 1 when it became visible).
    /// @{
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    /// @}
    /// Whether the control reacts to the user; a change performs
    /// CM_ENABLEDCHANGED.
    /// @{
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    /// @}
    /// Visible itself and on every parent.
    bool Showing() const;

    /// The control's text (Caption and Text are the same property). A
    /// change performs CM_TEXTCHANGED.
    /// @{
    virtual std::string Text() const { return FText; }
    virtual void SetText(const std::string& Value);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& Value) { SetText(Value); }
    /// @}

    /// Background colour. With ParentColor set the control shows its
    /// parent's colour; setting Color clears ParentColor. Changes perform
    /// CM_COLORCHANGED.
    /// @{
    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    /// @}
    /// The control's font; a change performs CM_FONTCHANGED.
    /// @{
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    /// @}

    /// The control's style flags (csAcceptsControls, csOpaque, ...); set by
    /// control classes, usually in their constructor.
    /// @{
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    /// @}
    /// The control's state flags (csLButtonDown, csPaintCopy, ...).
    /// @{
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }
    /// @}

    /// The reading order of the control's text; bdLeftToRight by default.
    /// @{
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
    /// @}
    /// True when text aligns to the right: a right-to-left BiDiMode on a
    /// Middle East locale.
    virtual bool UseRightToLeftAlignment() const;

    /// Sends a message to the control and answers its result.
    LRESULT Perform(uint32_t Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    /// Receives every message the control gets; the base calls Dispatch.
    virtual void WndProc(TMessage& Message);
    /// Calls the handler of the message's number, or DefaultHandler.
    void Dispatch(TMessage& Message);
    /// Messages nobody handles; the base leaves the result at 0.
    virtual void DefaultHandler(TMessage& Message);

    /// Asks for a repaint (recorded, see InvalidateCount).
    virtual void Invalidate();
    /// How many times Invalidate ran on the control.
    int InvalidateCount() const { return FInvalidateCount; }

    /// The palette the control wants selected when it paints; 0 for none.
    virtual HPALETTE GetPalette() { return 0; }

    /// The action asks to work on this control; true when it did. When the
    /// action handles the control as its target, ExecuteAction runs it on the
    /// control and UpdateAction updates its state for the control.
    /// @{
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    /// @}

    /// Fired by Click and DblClick: after a left button-up that completes a
    /// click inside the control, and on a double click.
    /// @{
    std::function<void(TControl& Sender)> OnClick;
    std::function<void(TControl& Sender)> OnDblClick;
    /// @}
    /// Fired by MouseDown and MouseUp when the left button goes down (also
    /// for the second press of a double click, with ssDouble) and up, with
    /// the shift state and the client coordinates.
    /// @{
    std::function<void(TControl& Sender, TMouseButton Button, TShiftState Shift, int32_t X,
                       int32_t Y)>
        OnMouseDown;
    std::function<void(TControl& Sender, TMouseButton Button, TShiftState Shift, int32_t X,
                       int32_t Y)>
        OnMouseUp;
    /// @}

    /// Form files keep a control inside its parent's block.
    bool HasParent() const override { return true; }
    /// The parent, as the component a form file nests the control under.
    TComponent* GetParentComponent() const override;
    /// Makes Value the parent when it is a windowed control; other components
    /// are ignored.
    void SetParentComponent(TComponent* Value) override;

protected:
    /// Left, Top, Width and Height; each control class adds its own.
    void DefineProperties(TPropertyList& Properties) override;
    /// Fire the events OnClick, OnDblClick, OnMouseDown and OnMouseUp; a
    /// subclass overrides them to act before or instead of the event.
    /// @{
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
    /// @}

    /// Message handlers that Dispatch calls for the message of their name
    /// (WMCreate for WM_CREATE, ...); the base passes the message on to
    /// DefaultHandler.
    /// @{
    virtual void WMCreate(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMSize(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMWindowPosChanged(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMSetText(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMPaint(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMEraseBkgnd(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMKeyDown(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMKeyUp(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMChar(TMessage& Message) { DefaultHandler(Message); }
    /// @}
    /// Mouse: DefaultHandler first, then MouseDown (OnMouseDown); the
    /// button-up after a button-down on the control is a click (Click,
    /// OnClick); a double click runs DblClick (OnDblClick) and MouseDown with
    /// ssDouble.
    /// @{
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);
    virtual void WMLButtonDblClk(TMessage& Message);
    /// @}
    /// Message handlers that Dispatch calls for the message of their name
    /// (WMCut for WM_CUT, CMEnter for CM_ENTER, ...); the base passes the
    /// message on to DefaultHandler.
    /// @{
    virtual void WMCut(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMCopy(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMPaste(TMessage& Message) { DefaultHandler(Message); }
    virtual void WMClear(TMessage& Message) { DefaultHandler(Message); }
    virtual void CMEnter(TMessage& Message) { DefaultHandler(Message); }
    virtual void CMExit(TMessage& Message) { DefaultHandler(Message); }
    /// @}
    /// CM_TEXTCHANGED, CM_FONTCHANGED and CM_COLORCHANGED invalidate.
    /// @{
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    /// @}
    /// Handlers of CM_ENABLEDCHANGED and CM_VISIBLECHANGED; the base passes
    /// the message on to DefaultHandler.
    /// @{
    virtual void CMEnabledChanged(TMessage& Message) { DefaultHandler(Message); }
    virtual void CMVisibleChanged(TMessage& Message) { DefaultHandler(Message); }
    /// @}
    /// A data-aware control answers its data link in Result; the base 0.
    virtual void CMGetDataLink(TMessage& Message) { DefaultHandler(Message); }

private:
    friend class TWinControl;

    TWinControl* FParent = nullptr;
    int32_t FLeft = 0;
    int32_t FTop = 0;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    bool FParentColor = false;
    TColor FColor = clWindow;
    TFont FFont;
    std::string FText;
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState FControlState = 0;
    TBiDiMode FBiDiMode = bdLeftToRight;
    int FInvalidateCount = 0;
};

} // namespace zorp::fw
