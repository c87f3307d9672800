#include "dbcontrols/DBMemoState.h"

#include "framework/controls/Dialogs.h"
#include "framework/controls/SysLocale.h"
#include "framework/db/Field.h"

#include <utility>

namespace zorp {

bool IsBlobField(const fw::TField* Field) {
    return Field != nullptr && Field->IsBlob();
}

TDBMemoState::TDBMemoState(fw::TCustomMemo& Memo, fw::TFieldDataLink& DataLink,
                           TFieldBinding& Binding, std::function<void()> LoadMemo,
                           std::function<void()> StartEditing)
    : FMemo(Memo), FDataLink(DataLink), FBinding(Binding), FLoadMemo(std::move(LoadMemo)),
      FStartEditing(std::move(StartEditing)) {
    FDataLink.OnDataChange = [this] { DataChange(); };
    FDataLink.OnEditingChange = [this] { EditingChange(); };
}

TDBMemoState::~TDBMemoState() {
    FDataLink.OnDataChange = nullptr;
    FDataLink.OnEditingChange = nullptr;
}

void TDBMemoState::SetAutoDisplay(bool Value) {
    if (FAutoDisplay == Value)
        return;
    FAutoDisplay = Value;
    if (Value)
        FLoadMemo();
}

void TDBMemoState::SetFocused(bool Value) {
    if (FFocused == Value)
        return;
    FFocused = Value;
    if (!IsBlobField(FDataLink.Field()))
        FDataLink.Reset(); // a plain column switches between display and edit text
}

void TDBMemoState::DataChange() {
    fw::TField* field = FDataLink.Field();
    if (field != nullptr && field->IsBlob()) {
        if (FAutoDisplay || (FDataLink.Editing() && FMemoLoaded)) {
            if (OnKeepText && OnKeepText(*field))
                return;
            FMemoLoaded = false;
            FLoadMemo();
        } else {
            FMemo.SetText("(" + field->DisplayLabel() + ")");
            FMemoLoaded = false;
        }
    } else if (field != nullptr) {
        FMemo.SetText(FFocused && FDataLink.CanModify() ? field->Text() : field->DisplayText());
        FMemoLoaded = true;
    } else {
        FMemo.SetText((FMemo.ComponentState() & fw::csDesigning) ? FMemo.Name() : std::string());
        FMemoLoaded = false;
    }
    if (FMemo.HandleAllocated())
        FMemo.RedrawWindow(fw::RDW_INVALIDATE | fw::RDW_ERASE | fw::RDW_FRAME);
    if (OnStateChange)
        OnStateChange();
}

void TDBMemoState::EditingChange() {
    FMemo.SetReadOnly(!(FDataLink.Editing() && FMemoLoaded));
    if (OnStateChange)
        OnStateChange();
}

void TDBMemoState::Change() {
    if (FMemoLoaded)
        FDataLink.Modified();
    FMemoLoaded = true;
}

void TDBMemoState::KeyPress(char& Key) {
    if (!FMemoLoaded) {
        if (Key == '\r')
            FLoadMemo();
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
        FStartEditing();
    else if (k == 27)
        FDataLink.Reset();
}

void TDBMemoState::AfterEnter() {
    // Input methods of Far East locales need a writable edit.
    if (fw::SysLocale().FarEast && FDataLink.CanModify())
        FMemo.SetReadOnly(false);
}

bool TDBMemoState::DblClickLoads() {
    if (FMemoLoaded)
        return false;
    FLoadMemo();
    return true;
}

void TDBMemoState::Loaded() {
    FBinding.CheckCompressedField();
    if (FMemo.ComponentState() & fw::csDesigning)
        DataChange();
}

} // namespace zorp
