// TCDBMemo: a memo bound to one column of a data set's current record. With
// a CompressSource it loads the column's expanded text and saves it
// compressed, through a TCMemoField it finds or creates. With AutoDisplay
// off a BLOB column shows its label in parentheses until the user asks for
// the text (Enter or a double-click), so scrolling expands nothing.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/Memo.h"
#include "../framework/controls/PaintControl.h"
#include "DBMemoState.h"
#include "FieldBinding.h"

#include <memory>

namespace zorp {

class ZORP_API TCDBMemo : public fw::TCustomMemo {
public:
    static constexpr const char* StaticClassName = "TCDBMemo";
    explicit TCDBMemo(fw::TComponent* AOwner);
    ~TCDBMemo() override;
    std::string ClassName() const override { return StaticClassName; }

    TZorp* CompressSource() const { return FBinding.CompressSource(); }
    void SetCompressSource(TZorp* Value) { FBinding.SetCompressSource(Value); }
    TZorpMethod CompressionMethod() const { return FBinding.CompressionMethod(); }
    void SetCompressionMethod(TZorpMethod Value) { FBinding.SetCompressionMethod(Value); }
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    // Left alone while loading when the data link's data source is fixed.
    void SetDataSource(fw::TDataSource* Value);
    const std::string& DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const std::string& Value) { FBinding.SetDataField(Value); }
    // The data link's read-only flag (the edit's own state follows editing).
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }
    bool AutoDisplay() const { return FState.AutoDisplay(); }
    void SetAutoDisplay(bool Value) { FState.SetAutoDisplay(Value); }

    // The data link's field, and the compressed field when there is one.
    fw::TField* Field() const { return FDataLink.Field(); }
    TCBlobField* CompressedField() const { return FBinding.CompressedField(); }
    fw::TFieldDataLink& DataLink() { return FDataLink; }
    bool MemoLoaded() const { return FState.MemoLoaded(); }
    // Shows the column's (expanded) text when a BLOB column is not shown yet.
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
    void WndProc(fw::TMessage& Message) override;
    void Change() override;
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMCut(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message) override;
    void CMEnter(fw::TMessage& Message) override;
    void CMExit(fw::TMessage& Message) override;
    void WMLButtonDblClk(fw::TMessage& Message) override;
    void WMPaint(fw::TMessage& Message) override;
    void CMGetDataLink(fw::TMessage& Message) override;

private:
    void UpdateData();

    fw::TFieldDataLink FDataLink;
    TFieldBinding FBinding;
    TDBMemoState FState;
    std::unique_ptr<fw::TPaintControl> FPaintControl;
};

} // namespace zorp
