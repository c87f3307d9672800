#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/RichEdit.h"
#include "DBMemoState.h"
#include "FieldBinding.h"

namespace zorp {

/// TCDBRichEdit: rich text bound to one column of a data set's current
/// record, kept in the form the control's line list writes (rich text, or
/// plain text with PlainText set) and compressed through a TCMemoField when
/// a CompressSource is set. Unlike the memo it writes a changed value back
/// as soon as the focus leaves it, and starting to edit never reloads the
/// text the user is looking at.
class ZORP_API TCDBRichEdit : public fw::TCustomRichEdit {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCDBRichEdit";
    /// Starts unbound, with the edit read-only until a loaded value is edited; a table it
    /// attaches a field to stops caching BLOB values. The first one made registers
    /// TCMemoField so form files can name it.
    explicit TCDBRichEdit(fw::TComponent* AOwner);
    /// Stops following the data link's update requests.
    ~TCDBRichEdit() override;
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
    /// The data source whose current record the control shows; setting it binds again.
    /// @{
    fw::TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(fw::TDataSource* Value) { FBinding.SetDataSource(Value); }
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
    /// Loads a BLOB column not shown yet into the line list (rich or plain text, as PlainText
    /// says); a text beyond the control's capacity shows the error message in parentheses
    /// instead.
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
    /// Marks the record's value modified when the loaded text changes, then fires OnChange.
    void Change() override;
    /// Delete, Backspace, Shift+Insert, Ctrl+V and Ctrl+X start editing once the value is
    /// loaded.
    void KeyDown(uint16_t& Key, fw::TShiftState Shift) override;
    /// Passes the key on to the shared state after the base handling (TDBMemoState::KeyPress).
    void KeyPress(char& Key) override;
    /// Start editing, keeping the text shown, before the control cuts or pastes.
    /// @{
    void WMCut(fw::TMessage& Message) override;
    void WMPaste(fw::TMessage& Message) override;
    /// @}
    /// Marks the control focused (a plain column switches to its edit text), and in a Far
    /// East locale makes the edit writable for input methods.
    void CMEnter(fw::TMessage& Message) override;
    /// Writes the value back whatever the column, keeping the focus when that fails.
    void CMExit(fw::TMessage& Message) override;
    /// Loads a value not shown yet; once it is shown the double-click goes to the control.
    void WMLButtonDblClk(fw::TMessage& Message) override;
    /// Answers the control's data link in Result.
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
