#include "dbcontrols/CDBRichEdit.h"

#include "framework/base/ClassRegistry.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/SysLocale.h"
#include "framework/db/SQLiteTable.h"

namespace zorp {

namespace {

bool RichEditFieldRegistered = false;

bool IsBlobField(const fw::TField* Field) {
    return Field != nullptr && Field->IsBlob();
}

} // namespace

TCDBRichEdit::TCDBRichEdit(fw::TComponent* AOwner)
    : fw::TCustomRichEdit(AOwner),
      FBinding(
          *this, FDataLink, [](fw::TComponent* owner) { return new TCMemoField(owner); },
          [](fw::TField* f) { return dynamic_cast<TCMemoField*>(f) != nullptr; }) {
    fw::TCustomMemo::SetReadOnly(true);
    FDataLink.SetControl(this);
    FDataLink.OnDataChange = [this] { DataChange(); };
    FDataLink.OnEditingChange = [this] { EditingChange(); };
    FDataLink.OnUpdateData = [this] { UpdateData(); };
    // Each value is read afresh, so editing starts from what the table holds.
    FBinding.OnAttached = [](fw::TDataSet& dataSet) {
        if (auto* table = dynamic_cast<fw::TSQLiteTable*>(&dataSet))
            table->SetCacheBlobs(false);
    };
    if (!RichEditFieldRegistered) {
        RichEditFieldRegistered = true;
        fw::RegisterClass(fw::ClassOf<TCMemoField>());
    }
}

TCDBRichEdit::~TCDBRichEdit() {
    FDataLink.OnDataChange = nullptr;
    FDataLink.OnEditingChange = nullptr;
    FDataLink.OnUpdateData = nullptr;
}

void TCDBRichEdit::Loaded() {
    fw::TCustomRichEdit::Loaded();
    FBinding.CheckCompressedField();
    if (ComponentState() & fw::csDesigning)
        DataChange();
}

void TCDBRichEdit::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TCustomRichEdit::Notification(AComponent, Operation);
    FBinding.Notification(AComponent, Operation);
}

void TCDBRichEdit::SetAutoDisplay(bool Value) {
    if (FAutoDisplay == Value)
        return;
    FAutoDisplay = Value;
    if (Value)
        LoadMemo();
}

void TCDBRichEdit::LoadMemo() {
    if (FMemoLoaded || !IsBlobField(FDataLink.Field()))
        return;
    try {
        FBinding.Field()->AssignTo(Lines()); // the line list reads rich or plain text
        FMemoLoaded = true;
    } catch (const fw::EOutOfResources& e) {
        SetText("(" + e.Message() + ")");
        FMemoLoaded = false;
    }
    EditingChange();
}

void TCDBRichEdit::BeginEditing() {
    if (FDataLink.Editing())
        return;
    try {
        if (IsBlobField(FDataLink.Field()))
            FDataSave = FDataLink.Field()->AsString();
        FDataLink.Edit();
    } catch (...) {
        FDataSave.clear();
        throw;
    }
    FDataSave.clear();
}

void TCDBRichEdit::DataChange() {
    fw::TField* field = FDataLink.Field();
    if (field != nullptr && field->IsBlob()) {
        if (FAutoDisplay || (FDataLink.Editing() && FMemoLoaded)) {
            // Entering edit mode on an unchanged value keeps text and caret.
            if (!FDataSave.empty() && FDataSave == field->AsString())
                return;
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

void TCDBRichEdit::EditingChange() {
    fw::TCustomMemo::SetReadOnly(!(FDataLink.Editing() && FMemoLoaded));
}

void TCDBRichEdit::UpdateData() {
    if (IsBlobField(FDataLink.Field()))
        FBinding.Field()->Assign(Lines());
    else
        FDataLink.Field()->SetAsString(Text());
}

void TCDBRichEdit::Change() {
    if (FMemoLoaded)
        FDataLink.Modified();
    FMemoLoaded = true;
    fw::TCustomRichEdit::Change();
}

void TCDBRichEdit::KeyDown(uint16_t& Key, fw::TShiftState Shift) {
    fw::TCustomRichEdit::KeyDown(Key, Shift);
    if (!FMemoLoaded)
        return;
    const bool ctrl = (Shift & fw::ssCtrl) != 0;
    if (Key == fw::VK_DELETE || Key == fw::VK_BACK ||
        (Key == fw::VK_INSERT && (Shift & fw::ssShift) != 0) ||
        (ctrl && (Key == 'V' || Key == 'X')))
        BeginEditing();
}

void TCDBRichEdit::KeyPress(char& Key) {
    fw::TCustomRichEdit::KeyPress(Key);
    if (!FMemoLoaded) {
        if (Key == '\r')
            LoadMemo();
        Key = 0;
        return;
    }
    const auto c = static_cast<unsigned char>(Key);
    if (c >= 32 && FDataLink.Field() != nullptr && !FDataLink.Field()->IsValidChar(Key)) {
        fw::MessageBeep(0);
        Key = 0;
    }
    const auto k = static_cast<unsigned char>(Key);
    if (k == 8 || k == 9 || k == 10 || k == 13 || k == 22 || k == 24 || k >= 32)
        BeginEditing();
    else if (k == 27)
        FDataLink.Reset();
}

void TCDBRichEdit::SetFocused(bool Value) {
    if (FFocused == Value)
        return;
    FFocused = Value;
    if (!IsBlobField(FDataLink.Field()))
        FDataLink.Reset();
}

void TCDBRichEdit::WMCut(fw::TMessage& Message) {
    BeginEditing();
    fw::TCustomRichEdit::WMCut(Message);
}

void TCDBRichEdit::WMPaste(fw::TMessage& Message) {
    BeginEditing();
    fw::TCustomRichEdit::WMPaste(Message);
}

void TCDBRichEdit::CMEnter(fw::TMessage& Message) {
    SetFocused(true);
    fw::TCustomRichEdit::CMEnter(Message);
    if (fw::SysLocale().FarEast && FDataLink.CanModify())
        fw::TCustomMemo::SetReadOnly(false);
}

void TCDBRichEdit::CMExit(fw::TMessage& Message) {
    try {
        FDataLink.UpdateRecord(); // whatever the column: written at once
    } catch (...) {
        SetFocus();
        throw;
    }
    SetFocused(false);
    fw::TCustomRichEdit::CMExit(Message);
}

void TCDBRichEdit::WMLButtonDblClk(fw::TMessage& Message) {
    if (!FMemoLoaded)
        LoadMemo();
    else
        fw::TCustomRichEdit::WMLButtonDblClk(Message);
}

void TCDBRichEdit::CMGetDataLink(fw::TMessage& Message) {
    Message.Result = reinterpret_cast<fw::LRESULT>(&FDataLink);
}

} // namespace zorp
