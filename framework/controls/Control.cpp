#include "framework/controls/Control.h"

#include "framework/base/BasicAction.h"
#include "framework/base/Exceptions.h"
#include "framework/controls/SysLocale.h"
#include "framework/controls/WinControl.h"

#include <algorithm>

namespace zorp::fw {

namespace {
bool NewStyle = true;
} // namespace

bool NewStyleControls() {
    return NewStyle;
}

void SetNewStyleControls(bool Value) {
    NewStyle = Value;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    FFont.OnChange = [this] { Perform(CM_FONTCHANGED); };
}

TControl::~TControl() {
    FFont.OnChange = nullptr;
    if (FParent)
        FParent->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* parent = dynamic_cast<TWinControl*>(Value))
        SetParent(parent);
}

void TControl::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    Properties.AddInteger(
        "Left", [this] { return FLeft; },
        [this](int64_t Value) { SetLeft(static_cast<int32_t>(Value)); });
    Properties.AddInteger(
        "Top", [this] { return FTop; },
        [this](int64_t Value) { SetTop(static_cast<int32_t>(Value)); });
    Properties.AddInteger(
        "Width", [this] { return FWidth; },
        [this](int64_t Value) { SetWidth(static_cast<int32_t>(Value)); });
    Properties.AddInteger(
        "Height", [this] { return FHeight; },
        [this](int64_t Value) { SetHeight(static_cast<int32_t>(Value)); });
}

void TControl::SetParent(TWinControl* Value) {
    if (Value == FParent)
        return;
    if (Value == this)
        throw EComponentError("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (Value)
        Value->InsertControl(this);
}

void TControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max<int32_t>(AWidth, 0);
    FHeight = std::max<int32_t>(AHeight, 0);
}

void TControl::SetVisible(bool Value) {
    if (FVisible != Value) {
        FVisible = Value;
        Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    }
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled != Value) {
        FEnabled = Value;
        Perform(CM_ENABLEDCHANGED);
    }
}

bool TControl::Showing() const {
    for (const TControl* c = this; c != nullptr; c = c->FParent)
        if (!c->FVisible)
            return false;
    return true;
}

void TControl::SetText(const std::string& Value) {
    if (Value != FText) {
        FText = Value;
        Perform(CM_TEXTCHANGED);
    }
}

TColor TControl::Color() const {
    if (FParentColor && FParent)
        return static_cast<const TControl*>(FParent)->Color();
    return FColor;
}

void TControl::SetColor(TColor Value) {
    const TColor before = Color();
    FColor = Value;
    FParentColor = false;
    if (before != Value)
        Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (FParentColor == Value)
        return;
    const TColor before = Color();
    FParentColor = Value;
    if (Color() != before)
        Perform(CM_COLORCHANGED);
}

bool TControl::UseRightToLeftAlignment() const {
    return SysLocale().MiddleEast && FBiDiMode == bdRightToLeft;
}

LRESULT TControl::Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& Message) {
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CREATE:
        WMCreate(Message);
        break;
    case WM_SIZE:
        WMSize(Message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(Message);
        break;
    case WM_SETTEXT:
        WMSetText(Message);
        break;
    case WM_PAINT:
        WMPaint(Message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        break;
    case WM_KEYDOWN:
        WMKeyDown(Message);
        break;
    case WM_KEYUP:
        WMKeyUp(Message);
        break;
    case WM_CHAR:
        WMChar(Message);
        break;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(Message);
        break;
    case WM_CUT:
        WMCut(Message);
        break;
    case WM_COPY:
        WMCopy(Message);
        break;
    case WM_PASTE:
        WMPaste(Message);
        break;
    case WM_CLEAR:
        WMClear(Message);
        break;
    case CM_ENTER:
        CMEnter(Message);
        break;
    case CM_EXIT:
        CMExit(Message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(Message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(Message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        break;
    case CM_GETDATALINK:
        CMGetDataLink(Message);
        break;
    default:
        DefaultHandler(Message);
        break;
    }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate() {
    ++FInvalidateCount;
}

bool TControl::ExecuteAction(TBasicAction* Action) {
    if (Action == nullptr || !Action->HandlesTarget(this))
        return false;
    Action->ExecuteTarget(this);
    return true;
}

bool TControl::UpdateAction(TBasicAction* Action) {
    if (Action == nullptr || !Action->HandlesTarget(this))
        return false;
    Action->UpdateTarget(this);
    return true;
}

void TControl::Click() {
    if (OnClick)
        OnClick(*this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(*this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
    if (OnMouseDown)
        OnMouseDown(*this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
    if (OnMouseUp)
        OnMouseUp(*this, Button, Shift, X, Y);
}

void TControl::WMLButtonDown(TMessage& Message) {
    DefaultHandler(Message);
    if (FControlStyle & csCaptureMouse)
        FControlState |= csLButtonDown | csClicked;
    MouseDown(mbLeft, static_cast<TShiftState>(Message.WParam) | ssLeft, LParamX(Message.LParam),
              LParamY(Message.LParam));
}

void TControl::WMLButtonUp(TMessage& Message) {
    DefaultHandler(Message);
    const bool clicked = (FControlState & csClicked) != 0;
    FControlState &= ~(csLButtonDown | csClicked);
    const int32_t x = LParamX(Message.LParam);
    const int32_t y = LParamY(Message.LParam);
    if (clicked && (FControlStyle & csClickEvents) && ClientRect().Contains(x, y))
        Click();
    MouseUp(mbLeft, static_cast<TShiftState>(Message.WParam), x, y);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
    DefaultHandler(Message);
    if (FControlStyle & csCaptureMouse)
        FControlState |= csLButtonDown;
    if (FControlStyle & csClickEvents)
        DblClick();
    MouseDown(mbLeft, static_cast<TShiftState>(Message.WParam) | ssLeft | ssDouble,
              LParamX(Message.LParam), LParamY(Message.LParam));
}

void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

} // namespace zorp::fw
