// The state the compressed memo and rich-text controls share.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/controls/Memo.h"
#include "../framework/db/DataLink.h"
#include "FieldBinding.h"

#include <functional>

namespace zorp {

/// True for a field of a BLOB class; false for nullptr.
ZORP_API bool IsBlobField(const fw::TField* Field);

/// What the compressed memo and rich-text controls share: whether the edit
/// holds the column's value (MemoLoaded) or a placeholder, AutoDisplay and
/// focus, the edit's own read-only state following the editing state, and
/// how data changes, typed characters, entering and double-clicks are
/// handled. Each control owns one and calls it from its overrides; what
/// differs (how the value is loaded, how editing starts) comes in as
/// functions of the control.
class ZORP_API TDBMemoState {
public:
    /// LoadMemo loads the column into the edit while MemoLoaded is clear;
    /// StartEditing puts the record into edit mode. The state takes the data
    /// link's data-change and editing-change events.
    TDBMemoState(fw::TCustomMemo& Memo, fw::TFieldDataLink& DataLink, TFieldBinding& Binding,
                 std::function<void()> LoadMemo, std::function<void()> StartEditing);
    /// Clears the data link's data-change and editing-change events.
    ~TDBMemoState();
    TDBMemoState(const TDBMemoState&) = delete;
    TDBMemoState& operator=(const TDBMemoState&) = delete;

    /// Whether a new record's BLOB value loads at once; turning it on loads the value.
    /// @{
    bool AutoDisplay() const { return FAutoDisplay; }
    void SetAutoDisplay(bool Value);
    /// @}
    /// Whether the control has the focus; when it changes, a plain (not BLOB) column
    /// switches between display and edit text.
    /// @{
    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    /// @}
    /// Whether the edit holds the column's value rather than a placeholder; set by the
    /// control's LoadMemo, and by the state as data and text change.
    /// @{
    bool MemoLoaded() const { return FMemoLoaded; }
    void SetMemoLoaded(bool Value) { FMemoLoaded = Value; }
    /// @}

    /// Asked before a data change reloads a BLOB value that the edit shows;
    /// true keeps the text as it is.
    std::function<bool(fw::TField& Field)> OnKeepText;
    /// Fired after a data change or an editing change has set the edit's text or read-only
    /// state, so that a window mirroring the control can follow.
    std::function<void()> OnStateChange;
    /// Puts the record into edit mode as cutting or pasting does; a window that cuts or pastes
    /// through its own clipboard calls it first.
    void BeforeClipboardEdit() { FStartEditing(); }

    /// The data link reports a new record or value: a BLOB value is loaded (with AutoDisplay,
    /// or while a loaded value is edited) or replaced by the column's label in parentheses;
    /// a plain column shows its edit text while focused and modifiable, else its display text.
    void DataChange();
    /// The edit is writable only while the record is edited and the value
    /// is loaded.
    void EditingChange();
    /// Before the control's base Change: a change of the loaded text is a
    /// modification of the value.
    void Change();
    /// After the control's base KeyPress: until the value is loaded Enter
    /// loads it and every character is swallowed; then a character the field
    /// refuses is swallowed with a beep, editing characters start editing and
    /// Escape resets the link.
    void KeyPress(char& Key);
    /// Before the control's base enter handling: marks the control focused.
    void BeforeEnter() { SetFocused(true); }
    /// After the control's base enter handling: in a Far East locale makes the edit writable
    /// when the value may be modified, as input methods need.
    void AfterEnter();
    /// A double-click loads a value not shown yet; false when it is shown,
    /// and the control passes the click on.
    bool DblClickLoads();
    /// From the control's Loaded: bind, and at design time show the column.
    void Loaded();

private:
    fw::TCustomMemo& FMemo;
    fw::TFieldDataLink& FDataLink;
    TFieldBinding& FBinding;
    std::function<void()> FLoadMemo;
    std::function<void()> FStartEditing;
    bool FAutoDisplay = true;
    bool FFocused = false;
    bool FMemoLoaded = false;
};

} // namespace zorp
