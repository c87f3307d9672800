#include "dbcontrols/CDBMemo.h"

#include "framework/base/ClassRegistry.h"
#include "framework/base/TextUtils.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/SysLocale.h"
#include "framework/db/BlobField.h"

namespace zorp {

namespace {

bool MemoFieldRegistered = false;

bool IsBlobField(const fw::TField* Field) {
    return Field != nullptr && Field->IsBlob();
}

} // namespace

TCDBMemo::TCDBMemo(fw::TComponent* AOwner)
    : fw::TCustomMemo(AOwner),
      FBinding(
          *this, FDataLink, [](fw::TComponent* owner) { return new TCMemoField(owner); },
          [](fw::TField* f) { return dynamic_cast<TCMemoField*>(f) != nullptr; }) {
    fw::TCustomMemo::SetReadOnly(true);
    SetControlStyle(ControlStyle() | fw::csReplicatable);
    FDataLink.SetControl(this);
    FDataLink.OnDataChange = [this] { DataChange(); };
    FDataLink.OnEditingChange = [this] { EditingChange(); };
    FDataLink.OnUpdateData = [this] { UpdateData(); };
    FPaintControl = std::make_unique<fw::TPaintControl>(*this, "EDIT");
    if (!MemoFieldRegistered) {
        MemoFieldRegistered = true;
        fw::RegisterClass(fw::ClassOf<TCMemoField>());
    }
}

TCDBMemo::~TCDBMemo() {
    FDataLink.OnDataChange = nullptr;
    FDataLink.OnEditingChange = nullptr;
    FDataLink.OnUpdateData = nullptr;
}

void TCDBMemo::Loaded() {
    fw::TCustomMemo::Loaded();
    FBinding.CheckCompressedField();
    if (ComponentState() & fw::csDesigning)
        DataChange();
}

void TCDBMemo::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TCustomMemo::Notification(AComponent, Operation);
    FBinding.Notification(AComponent, Operation);
}

void TCDBMemo::SetAutoDisplay(bool Value) {
    if (FAutoDisplay == Value)
        return;
    FAutoDisplay = Value;
    if (Value)
        LoadMemo();
}

void TCDBMemo::LoadMemo() {
    if (FMemoLoaded || !IsBlobField(FDataLink.Field()))
        return;
    try {
        SetText(FBinding.Field()->AsString()); // the compressed field first
        FMemoLoaded = true;
    } catch (const fw::EInvalidOperation& e) {
        SetText("(" + e.Message() + ")");
        FMemoLoaded = false;
    }
    EditingChange();
}

void TCDBMemo::DataChange() {
    fw::TField* field = FDataLink.Field();
    if (field != nullptr && field->IsBlob()) {
        if (FAutoDisplay || (FDataLink.Editing() && FMemoLoaded)) {
            FMemoLoaded = false;
            LoadMemo();
        } else {
            SetText("(" + field->DisplayLabel() + ")");
            FMemoLoaded = false;
        }
    } else if (field != nullptr) {
        SetText(FFocused && FDataLink.CanModify() ? field->Text() : field->DisplayText());
        FMemoLoaded = true;
    } else {
        SetText((ComponentState() & fw::csDesigning) ? Name() : std::string());
        FMemoLoaded = false;
    }
    if (HandleAllocated())
        RedrawWindow(fw::RDW_INVALIDATE | fw::RDW_ERASE | fw::RDW_FRAME);
}

void TCDBMemo::EditingChange() {
    fw::TCustomMemo::SetReadOnly(!(FDataLink.Editing() && FMemoLoaded));
}

void TCDBMemo::UpdateData() {
    FBinding.Field()->SetAsString(Text());
}

void TCDBMemo::Change() {
    if (FMemoLoaded)
        FDataLink.Modified();
    FMemoLoaded = true;
    fw::TCustomMemo::Change();
}

void TCDBMemo::KeyDown(uint16_t& Key, fw::TShiftState Shift) {
    fw::TCustomMemo::KeyDown(Key, Shift);
    if (FMemoLoaded &&
        (Key == fw::VK_DELETE || (Key == fw::VK_INSERT && (Shift & fw::ssShift) != 0)))
        FDataLink.Edit();
}

void TCDBMemo::KeyPress(char& Key) {
    fw::TCustomMemo::KeyPress(Key);
    if (!FMemoLoaded) {
        if (Key == '\r')
            LoadMemo();
        Key = 0; // until the text is loaded typing is ignored
        return;
    }
    const auto c = static_cast<unsigned char>(Key);
    if (c >= 32 && FDataLink.Field() != nullptr && !FDataLink.Field()->IsValidChar(Key)) {
        fw::MessageBeep(0);
        Key = 0;
    }
    const auto k = static_cast<unsigned char>(Key);
    if (k == 8 || k == 9 || k == 10 || k == 13 || k == 22 || k == 24 || k >= 32)
        FDataLink.Edit();
    else if (k == 27)
        FDataLink.Reset();
}

void TCDBMemo::SetFocused(bool Value) {
    if (FFocused == Value)
        return;
    FFocused = Value;
    if (!IsBlobField(FDataLink.Field()))
        FDataLink.Reset(); // a plain column switches between display and edit text
}

void TCDBMemo::WMCut(fw::TMessage& Message) {
    FDataLink.Edit();
    fw::TCustomMemo::WMCut(Message);
}

void TCDBMemo::WMPaste(fw::TMessage& Message) {
    FDataLink.Edit();
    fw::TCustomMemo::WMPaste(Message);
}

void TCDBMemo::CMEnter(fw::TMessage& Message) {
    SetFocused(true);
    fw::TCustomMemo::CMEnter(Message);
    if (fw::SysLocale().FarEast && FDataLink.CanModify())
        fw::TCustomMemo::SetReadOnly(false);
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
    SetFocused(false);
    fw::TCustomMemo::CMExit(Message);
}

void TCDBMemo::WMLButtonDblClk(fw::TMessage& Message) {
    if (!FMemoLoaded)
        LoadMemo();
    else
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
    else if (field != nullptr && FAutoDisplay)
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
