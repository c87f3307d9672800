#include "dbcontrols/CDBMemo.h"

#include "dbcontrols/DBAlignment.h"
#include "framework/base/ClassRegistry.h"
#include "framework/base/TextUtils.h"
#include "framework/controls/ControlErrors.h"
#include "framework/db/BlobField.h"

namespace zorp {

namespace {

bool MemoFieldRegistered = false;

} // namespace

TCDBMemo::TCDBMemo(fw::TComponent* AOwner)
    : fw::TCustomMemo(AOwner),
      FBinding(
          *this, FDataLink, [](fw::TComponent* owner) { return new TCMemoField(owner); },
          [](fw::TField* f) { return dynamic_cast<TCMemoField*>(f) != nullptr; }),
      FState(
          *this, FDataLink, FBinding, [this] { LoadMemo(); }, [this] { FDataLink.Edit(); }) {
    fw::TCustomMemo::SetReadOnly(true);
    SetControlStyle(ControlStyle() | fw::csReplicatable);
    FDataLink.SetControl(this);
    FDataLink.OnUpdateData = [this] { UpdateData(); };
    FPaintControl = std::make_unique<fw::TPaintControl>(*this, "EDIT");
    if (!MemoFieldRegistered) {
        MemoFieldRegistered = true;
        fw::RegisterClass(fw::ClassOf<TCMemoField>());
    }
}

TCDBMemo::~TCDBMemo() {
    FDataLink.OnUpdateData = nullptr;
}

void TCDBMemo::Loaded() {
    fw::TCustomMemo::Loaded();
    FState.Loaded();
}

void TCDBMemo::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TCustomMemo::Notification(AComponent, Operation);
    FBinding.Notification(AComponent, Operation);
}

void TCDBMemo::SetDataSource(fw::TDataSource* Value) {
    const bool loading = (ComponentState() & fw::csLoading) != 0;
    FBinding.SetDataSource(Value, FDataLink.DataSourceFixed() && loading);
}

bool TCDBMemo::ExecuteAction(fw::TBasicAction* Action) {
    return fw::TCustomMemo::ExecuteAction(Action) || FDataLink.ExecuteAction(Action);
}

bool TCDBMemo::UpdateAction(fw::TBasicAction* Action) {
    return fw::TCustomMemo::UpdateAction(Action) || FDataLink.UpdateAction(Action);
}

bool TCDBMemo::UseRightToLeftAlignment() const {
    return fw::DBUseRightToLeftAlignment(*this, FDataLink.Field());
}

void TCDBMemo::LoadMemo() {
    if (FState.MemoLoaded() || !IsBlobField(FDataLink.Field()))
        return;
    try {
        SetText(FBinding.Field()->AsString()); // the compressed field first
        FState.SetMemoLoaded(true);
    } catch (const fw::EInvalidOperation& e) {
        SetText("(" + e.Message() + ")");
        FState.SetMemoLoaded(false);
    }
    FState.EditingChange();
}

void TCDBMemo::UpdateData() {
    FBinding.Field()->SetAsString(Text());
}

void TCDBMemo::Change() {
    FState.Change();
    fw::TCustomMemo::Change();
}

void TCDBMemo::KeyDown(uint16_t& Key, fw::TShiftState Shift) {
    fw::TCustomMemo::KeyDown(Key, Shift);
    if (FState.MemoLoaded() &&
        (Key == fw::VK_DELETE || (Key == fw::VK_INSERT && (Shift & fw::ssShift) != 0)))
        FDataLink.Edit();
}

void TCDBMemo::KeyPress(char& Key) {
    fw::TCustomMemo::KeyPress(Key);
    FState.KeyPress(Key);
}

void TCDBMemo::WMCut(fw::TMessage& Message) {
    FState.BeforeClipboardEdit();
    fw::TCustomMemo::WMCut(Message);
}

void TCDBMemo::WMPaste(fw::TMessage& Message) {
    FState.BeforeClipboardEdit();
    fw::TCustomMemo::WMPaste(Message);
}

void TCDBMemo::CMEnter(fw::TMessage& Message) {
    FState.BeforeEnter();
    fw::TCustomMemo::CMEnter(Message);
    FState.AfterEnter();
}

void TCDBMemo::CMExit(fw::TMessage& Message) {
    // A BLOB column (every compressed one among them) is written when the
    // record is posted, not when the focus leaves.
    if (dynamic_cast<fw::TBlobField*>(FDataLink.Field()) == nullptr) {
        try {
            FDataLink.UpdateRecord();
        } catch (...) {
            SetFocus();
            throw;
        }
    }
    FState.SetFocused(false);
    fw::TCustomMemo::CMExit(Message);
}

void TCDBMemo::WMLButtonDblClk(fw::TMessage& Message) {
    if (!FState.DblClickLoads())
        fw::TCustomMemo::WMLButtonDblClk(Message);
}

void TCDBMemo::WMPaint(fw::TMessage& Message) {
    if ((ControlState() & fw::csPaintCopy) == 0) {
        fw::TCustomMemo::WMPaint(Message);
        return;
    }
    std::string text;
    fw::TField* field = FDataLink.Field();
    if (field != nullptr && !field->IsBlob())
        text = field->DisplayText();
    else if (field != nullptr && FState.AutoDisplay())
        text = fw::AdjustLineBreaks(FBinding.Field()->AsString());
    else if (field != nullptr)
        text = "(" + field->DisplayLabel() + ")";
    FPaintControl->Perform(fw::WM_SETTEXT, 0, reinterpret_cast<fw::LPARAM>(text.c_str()));
    FPaintControl->Perform(fw::WM_ERASEBKGND, Message.WParam);
    FPaintControl->Perform(fw::WM_PAINT, Message.WParam);
}

void TCDBMemo::CMGetDataLink(fw::TMessage& Message) {
    Message.Result = reinterpret_cast<fw::LRESULT>(&FDataLink);
}

void TCDBMemo::WndProc(fw::TMessage& Message) {
    if (Message.Msg == fw::WM_CREATE || Message.Msg == fw::WM_WINDOWPOSCHANGED ||
        Message.Msg == fw::CM_FONTCHANGED)
        FPaintControl->DestroyHandle(); // made again on demand
    fw::TCustomMemo::WndProc(Message);
}

} // namespace zorp
