// TCDBRichEdit: rich text bound to one column of a data set's current
// record, kept in the form the control's line list writes (rich text, or
// plain text with PlainText set) and compressed through a TCMemoField when
// a CompressSource is set. Unlike the memo it writes a changed value back
// as soon as the focus leaves it, and starting to edit never reloads the
// text the user is looking at.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/RichEdit.h"
#include "DBMemoState.h"
#include "FieldBinding.h"

namespace zorp {

class ZORP_API TCDBRichEdit : public fw::TCustomRichEdit {
public:
    static constexpr const char* StaticClassName = "TCDBRichEdit";
    explicit TCDBRichEdit(fw::TComponent* AOwner);
    ~TCDBRichEdit() override;
    std::string ClassName() const override { return StaticClassName; }

    TZorp* CompressSource() const { return FBinding.CompressSource(); }
    void SetCompressSource(TZorp* Value) { FBinding.SetCompressSource(Value); }
    TZorpMethod CompressionMethod() const { return FBinding.CompressionMethod(); }
    void SetCompressionMethod(TZorpMethod Value) { FBinding.SetCompressionMethod(Value); }
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(fw::TDataSource* Value) { FBinding.SetDataSource(Value); }
    const std::string& DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const std::string& Value) { FBinding.SetDataField(Value); }
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }
    bool AutoDisplay() const { return FState.AutoDisplay(); }
    void SetAutoDisplay(bool Value) { FState.SetAutoDisplay(Value); }

    fw::TField* Field() const { return FDataLink.Field(); }
    TCBlobField* CompressedField() const { return FBinding.CompressedField(); }
    fw::TFieldDataLink& DataLink() { return FDataLink; }
    bool MemoLoaded() const { return FState.MemoLoaded(); }
    void LoadMemo();

    // The control's own handling, else the data link's.
    bool ExecuteAction(fw::TBasicAction* Action) override;
    bool UpdateAction(fw::TBasicAction* Action) override;
    bool UseRightToLeftAlignment() const override;

protected:
    // What form files keep of the control (dbcontrols/PublishedProperties.cpp).
    void DefineProperties(fw::TPropertyList& Properties) override;
    void Loaded() override;
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    void Change() override;
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMCut(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message) override;
    void CMEnter(fw::TMessage& Message) override;
    void CMExit(fw::TMessage& Message) override;
    void WMLButtonDblClk(fw::TMessage& Message) override;
    void CMGetDataLink(fw::TMessage& Message) override;

private:
    // Puts the record into edit mode, remembering the value it holds so the
    // data change that follows does not reload the text.
    void BeginEditing();
    void UpdateData();

    fw::TFieldDataLink FDataLink;
    TFieldBinding FBinding;
    TDBMemoState FState;
    std::string FDataSave;
};

} // namespace zorp
