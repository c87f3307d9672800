#include "dbcontrols/CDBRichEdit.h"

#include "dbcontrols/DBAlignment.h"
#include "framework/base/ClassRegistry.h"
#include "framework/controls/ControlErrors.h"
#include "framework/db/SQLiteTable.h"

namespace zorp {

namespace {

bool RichEditFieldRegistered = false;

} // namespace

TCDBRichEdit::TCDBRichEdit(fw::TComponent* AOwner)
    : fw::TCustomRichEdit(AOwner),
      FBinding(
          *this, FDataLink, [](fw::TComponent* owner) { return new TCMemoField(owner); },
          [](fw::TField* f) { return dynamic_cast<TCMemoField*>(f) != nullptr; }),
      FState(
          *this, FDataLink, FBinding, [this] { LoadMemo(); }, [this] { BeginEditing(); }) {
    fw::TCustomMemo::SetReadOnly(true);
    FDataLink.SetControl(this);
    FDataLink.OnUpdateData = [this] { UpdateData(); };
    // Entering edit mode on an unchanged value keeps text, caret and selection.
    FState.OnKeepText = [this](fw::TField& field) {
        return !FDataSave.empty() && FDataSave == field.AsString();
    };
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
    FDataLink.OnUpdateData = nullptr;
}

void TCDBRichEdit::Loaded() {
    fw::TCustomRichEdit::Loaded();
    FState.Loaded();
}

void TCDBRichEdit::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TCustomRichEdit::Notification(AComponent, Operation);
    FBinding.Notification(AComponent, Operation);
}

bool TCDBRichEdit::ExecuteAction(fw::TBasicAction* Action) {
    return fw::TCustomRichEdit::ExecuteAction(Action) || FDataLink.ExecuteAction(Action);
}

bool TCDBRichEdit::UpdateAction(fw::TBasicAction* Action) {
    return fw::TCustomRichEdit::UpdateAction(Action) || FDataLink.UpdateAction(Action);
}

bool TCDBRichEdit::UseRightToLeftAlignment() const {
    return fw::DBUseRightToLeftAlignment(*this, FDataLink.Field());
}

void TCDBRichEdit::LoadMemo() {
    if (FState.MemoLoaded() || !IsBlobField(FDataLink.Field()))
        return;
    try {
        FBinding.Field()->AssignTo(Lines()); // the line list reads rich or plain text
        FState.SetMemoLoaded(true);
    } catch (const fw::EOutOfResources& e) {
        SetText("(" + e.Message() + ")");
        FState.SetMemoLoaded(false);
    }
    FState.EditingChange();
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

void TCDBRichEdit::UpdateData() {
    if (IsBlobField(FDataLink.Field()))
        FBinding.Field()->Assign(Lines());
    else
        FDataLink.Field()->SetAsString(Text());
}

void TCDBRichEdit::Change() {
    FState.Change();
    fw::TCustomRichEdit::Change();
}

void TCDBRichEdit::KeyDown(uint16_t& Key, fw::TShiftState Shift) {
    fw::TCustomRichEdit::KeyDown(Key, Shift);
    if (!FState.MemoLoaded())
        return;
    const bool ctrl = (Shift & fw::ssCtrl) != 0;
    if (Key == fw::VK_DELETE || Key == fw::VK_BACK ||
        (Key == fw::VK_INSERT && (Shift & fw::ssShift) != 0) ||
        (ctrl && (Key == 'V' || Key == 'X')))
        BeginEditing();
}

void TCDBRichEdit::KeyPress(char& Key) {
    fw::TCustomRichEdit::KeyPress(Key);
    FState.KeyPress(Key);
}

void TCDBRichEdit::WMCut(fw::TMessage& Message) {
    FState.BeforeClipboardEdit();
    fw::TCustomRichEdit::WMCut(Message);
}

void TCDBRichEdit::WMPaste(fw::TMessage& Message) {
    FState.BeforeClipboardEdit();
    fw::TCustomRichEdit::WMPaste(Message);
}

void TCDBRichEdit::CMEnter(fw::TMessage& Message) {
    FState.BeforeEnter();
    fw::TCustomRichEdit::CMEnter(Message);
    FState.AfterEnter();
}

void TCDBRichEdit::CMExit(fw::TMessage& Message) {
    try {
        FDataLink.UpdateRecord(); // whatever the column: written at once
    } catch (...) {
        SetFocus();
        throw;
    }
    FState.SetFocused(false);
    fw::TCustomRichEdit::CMExit(Message);
}

void TCDBRichEdit::WMLButtonDblClk(fw::TMessage& Message) {
    if (!FState.DblClickLoads())
        fw::TCustomRichEdit::WMLButtonDblClk(Message);
}

void TCDBRichEdit::CMGetDataLink(fw::TMessage& Message) {
    Message.Result = reinterpret_cast<fw::LRESULT>(&FDataLink);
}

} // namespace zorp
