#include "framework/controls/WinControl.h"

#include "framework/base/Exceptions.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Keyboard.h"

#include <algorithm>

namespace zorp::fw {

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this)
        form->ControlRemoving(this);
    for (TControl* child : FControls)
        child->FParent = nullptr;
    FControls.clear();
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* c = Control ? Control->Parent() : nullptr; c != nullptr; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

void TWinControl::InsertControl(TControl* Control) {
    if (auto* win = dynamic_cast<TWinControl*>(Control);
        win != nullptr && win->ContainsControl(this))
        throw EComponentError("A control cannot be the child of its own child");
    FControls.push_back(Control);
    Control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(Control); win != nullptr && FHandleAllocated)
        win->HandleNeeded();
}

void TWinControl::RemoveControl(TControl* Control) {
    if (TCustomForm* form = GetParentForm(this))
        form->ControlRemoving(Control);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Control), FControls.end());
    Control->FParent = nullptr;
}

void TWinControl::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
    const TRect before = BoundsRect();
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    const TRect after = BoundsRect();
    if (!FHandleAllocated || before == after)
        return;
    if (before.Width() != after.Width() || before.Height() != after.Height())
        Perform(WM_SIZE, SIZE_RESTORED,
                static_cast<LPARAM>((static_cast<uint32_t>(after.Width()) & 0xFFFF) |
                                    ((static_cast<uint32_t>(after.Height()) & 0xFFFF) << 16)));
    Perform(WM_WINDOWPOSCHANGED);
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams{};
    Params.WinClassName = ClassName();
}

void TWinControl::CreateHandle() {
    TCreateParams params;
    CreateParams(params);
    FWindowParams = params;
    FHandleAllocated = true;
    ++FHandleCreateCount;
    Perform(WM_CREATE);
    for (TControl* child : FControls)
        if (auto* win = dynamic_cast<TWinControl*>(child))
            win->HandleNeeded();
}

void TWinControl::HandleNeeded() {
    if (FHandleAllocated)
        return;
    if (Parent() != nullptr)
        Parent()->HandleNeeded();
    if (!FHandleAllocated) // making the parent's window may have made this one
        CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!FHandleAllocated)
        return;
    for (TControl* child : FControls)
        if (auto* win = dynamic_cast<TWinControl*>(child))
            win->DestroyHandle();
    Perform(WM_DESTROY);
    FHandleAllocated = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandleAllocated)
        return;
    DestroyHandle();
    CreateHandle();
}

void TWinControl::SetCtl3D(bool Value) {
    if (FCtl3D != Value) {
        FCtl3D = Value;
        RecreateWnd();
    }
}

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (form == nullptr || form == this || !form->Visible() || !form->Enabled())
        return false;
    for (const TControl* c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    const TCustomForm* form = GetParentForm(this);
    return form != nullptr && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr || !CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    form->SetActiveControl(this);
}

void TWinControl::RedrawWindow(uint32_t Flags) {
    ++FRedrawCount;
    FLastRedrawFlags = Flags;
    if (Flags & RDW_INVALIDATE)
        Invalidate();
}

void TWinControl::PaintTo(TCanvas& Canvas, int32_t X, int32_t Y) {
    const TCanvas::TTargetState saved = Canvas.SaveTarget();
    const TPoint origin{saved.Origin.X + X, saved.Origin.Y + Y};
    const TRect bounds = Bounds(origin.X, origin.Y, Width(), Height());
    Canvas.SetTarget(saved.Surface, origin, IntersectRect(saved.Clip, bounds));
    try {
        const auto dc = reinterpret_cast<WPARAM>(&Canvas);
        Perform(WM_ERASEBKGND, dc);
        Perform(WM_PAINT, dc);
        for (TControl* child : FControls) {
            auto* win = dynamic_cast<TWinControl*>(child);
            if (win != nullptr && win->Visible())
                win->PaintTo(Canvas, child->Left(), child->Top());
        }
    } catch (...) {
        Canvas.RestoreTarget(saved);
        throw;
    }
    Canvas.RestoreTarget(saved);
}

void TWinControl::PaintToBitmap(TBitmap& Bitmap) {
    TBitmapCanvas canvas(Width(), Height());
    PaintTo(canvas, 0, 0);
    canvas.SaveToBitmap(Bitmap);
}

void TWinControl::SaveImageToFile(const std::string& FileName) {
    TBitmapCanvas canvas(Width(), Height());
    PaintTo(canvas, 0, 0);
    canvas.SaveToFile(FileName);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(*this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(*this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(*this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(*this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(*this);
}

void TWinControl::PaintWindow(TCanvas&) {}

TCanvas& TWinControl::WindowCanvas() {
    if (!FWindowCanvas)
        FWindowCanvas = std::make_unique<TBitmapCanvas>(Width(), Height());
    else if (FWindowCanvas->Width() != Width() || FWindowCanvas->Height() != Height())
        FWindowCanvas->SetSize(Width(), Height());
    return *FWindowCanvas;
}

TCanvas& TWinControl::MessageCanvas(const TMessage& Message) {
    if (Message.WParam != 0)
        return *reinterpret_cast<TCanvas*>(Message.WParam);
    return WindowCanvas();
}

void TWinControl::WMKeyDown(TMessage& Message) {
    auto key = static_cast<uint16_t>(Message.WParam);
    KeyDown(key, KeyboardShiftState());
    if (key != 0) {
        Message.WParam = key;
        DefaultHandler(Message);
    }
}

void TWinControl::WMKeyUp(TMessage& Message) {
    auto key = static_cast<uint16_t>(Message.WParam);
    KeyUp(key, KeyboardShiftState());
    if (key != 0) {
        Message.WParam = key;
        DefaultHandler(Message);
    }
}

void TWinControl::WMChar(TMessage& Message) {
    auto ch = static_cast<char>(Message.WParam);
    KeyPress(ch);
    if (ch != 0) {
        Message.WParam = static_cast<unsigned char>(ch);
        DefaultHandler(Message);
    }
}

void TWinControl::WMPaint(TMessage& Message) {
    PaintWindow(MessageCanvas(Message));
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
    TCanvas& canvas = MessageCanvas(Message);
    canvas.Brush().SetColor(Color());
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(ClientRect());
    Message.Result = 1;
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

} // namespace zorp::fw
