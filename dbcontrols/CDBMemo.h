#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/Memo.h"
#include "../framework/controls/PaintControl.h"
#include "DBMemoState.h"
#include "FieldBinding.h"

#include <memory>

namespace zorp {

/// TCDBMemo: a memo bound to one column of a data set's current record. With
/// a CompressSource it loads the column's expanded text and saves it
/// compressed, through a TCMemoField it finds or creates. With AutoDisplay
/// off a BLOB column shows its label in parentheses until the user asks for
/// the text (Enter or a double-click), so scrolling expands nothing.
class ZORP_API TCDBMemo : public fw::TCustomMemo {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCDBMemo";
    /// Starts unbound, with the edit read-only until a loaded value is edited; the first one
    /// made registers TCMemoField so form files can name it.
    explicit TCDBMemo(fw::TComponent* AOwner);
    /// Stops following the data link's update requests.
    ~TCDBMemo() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The component that compresses and expands the column's text. Setting it passes it on
    /// to a compressed field already bound; it does not bind again.
    /// @{
    TZorp* CompressSource() const { return FBinding.CompressSource(); }
    void SetCompressSource(TZorp* Value) { FBinding.SetCompressSource(Value); }
    /// @}
    /// The method the text is compressed with; setting it passes it on to the compressed field.
    /// @{
    TZorpMethod CompressionMethod() const { return FBinding.CompressionMethod(); }
    void SetCompressionMethod(TZorpMethod Value) { FBinding.SetCompressionMethod(Value); }
    /// @}
    /// The data source whose current record the control shows; setting it binds again, and
    /// while loading a data source the data link has fixed is left alone.
    /// @{
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(fw::TDataSource* Value);
    /// @}
    /// The name of the column the control shows; setting it binds again.
    /// @{
    const std::string& DataField() const { return FDataLink.FieldName(); }
    void SetDataField(const std::string& Value) { FBinding.SetDataField(Value); }
    /// @}
    /// The data link's read-only flag (the edit's own state follows editing).
    /// @{
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }
    /// @}
    /// Whether a new record's BLOB value loads at once; with it off the column's label shows
    /// until LoadMemo runs (Enter or a double-click). Turning it on loads the value.
    /// @{
    bool AutoDisplay() const { return FState.AutoDisplay(); }
    void SetAutoDisplay(bool Value) { FState.SetAutoDisplay(Value); }
    /// @}

    /// The data link's field.
    fw::TField* Field() const { return FDataLink.Field(); }
    /// The compressed field the control is bound to, or nullptr without one.
    TCBlobField* CompressedField() const { return FBinding.CompressedField(); }
    /// The link to the data source that the control reads and writes the column through.
    fw::TFieldDataLink& DataLink() { return FDataLink; }
    /// Whether the edit holds the column's value rather than the label placeholder.
    bool MemoLoaded() const { return FState.MemoLoaded(); }
    /// The state the control keeps with the shared memo rules; a window that mirrors the
    /// control follows its OnStateChange and calls BeforeClipboardEdit.
    TDBMemoState& State() { return FState; }
    /// Shows the column's (expanded) text when a BLOB column is not shown yet; a text beyond
    /// the edit's capacity shows the error message in parentheses instead.
    void LoadMemo();

    /// The control's own handling, else the data link's.
    /// @{
    bool ExecuteAction(fw::TBasicAction* Action) override;
    bool UpdateAction(fw::TBasicAction* Action) override;
    /// @}
    /// Asks the field as well (DBUseRightToLeftAlignment): a value it centres stays centred.
    bool UseRightToLeftAlignment() const override;

protected:
    /// What form files keep of the control (dbcontrols/PublishedProperties.cpp).
    void DefineProperties(fw::TPropertyList& Properties) override;
    /// Also binds the compressed field once the form file is read, and at design time shows
    /// the column.
    void Loaded() override;
    /// Also passes removal notices to the binding, which forgets a removed data source,
    /// CompressSource or compressed field.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    /// Destroys the paint control's window when the edit's window is made or moved or its font
    /// changes; the paint control makes it again when next needed.
    void WndProc(fw::TMessage& Message) override;
    /// Marks the record's value modified when the loaded text changes, then fires OnChange.
    void Change() override;
    /// Delete and Shift+Insert put the record into edit mode once the value is loaded.
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    /// Passes the key on to the shared state after the base handling (TDBMemoState::KeyPress).
    void KeyPress(char& Key) override;
    /// Put the record into edit mode before the edit cuts or pastes.
    /// @{
    void WMCut(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message) override;
    /// @}
    /// Marks the control focused (a plain column switches to its edit text), and in a Far
    /// East locale makes the edit writable for input methods.
    void CMEnter(fw::TMessage& Message) override;
    /// Writes a plain (not BLOB) column's value back, keeping the focus when that fails; a
    /// BLOB column is written when the record is posted.
    void CMExit(fw::TMessage& Message) override;
    /// Loads a value not shown yet; once it is shown the double-click goes to the edit.
    void WMLButtonDblClk(fw::TMessage& Message) override;
    /// A copy painted for a grid of controls shows that record's text (or the column's label
    /// while AutoDisplay is off) through the paint control; other paints are the edit's own.
    void WMPaint(fw::TMessage& Message) override;
    /// Answers the control's data link in Result.
    void CMGetDataLink(fw::TMessage& Message) override;

private:
    void UpdateData();

    fw::TFieldDataLink FDataLink;
    TFieldBinding FBinding;
    TDBMemoState FState;
    std::unique_ptr<fw::TPaintControl> FPaintControl;
};

} // namespace zorp
