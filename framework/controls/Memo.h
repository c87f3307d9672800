// TCustomMemo, the multi-line text editor, its line list and TMemo.
#pragma once

#include "../base/Export.h"
#include "../base/StringList.h"
#include "WinControl.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorp::fw {

class TCustomMemo;

/// The lines of a memo. Each Put, Insert or Delete is one text change;
/// SetText, Assign and LoadFromStream replace the whole text in one change.
/// Lines carry no objects: GetObject answers nullptr and PutObject ignores
/// its object. Indexes outside the lines raise EListError.
class ZORP_API TMemoStrings : public TStrings {
public:
    /// Makes the line list of Memo, which owns it.
    explicit TMemoStrings(TCustomMemo& Memo) : FMemo(Memo) {}

    /// The number of lines; a final line break does not start another line.
    int Count() const override;
    /// The line at Index, without its line break.
    std::string Get(int Index) const override;
    /// Replaces the line at Index, keeping its line break.
    void Put(int Index, const std::string& S) override;
    /// Answers nullptr for every line (after checking Index).
    TObject* GetObject(int Index) const override;
    /// Ignores the object (after checking Index).
    void PutObject(int Index, TObject* AObject) override;
    /// Inserts S and CR LF before the line at Index. Inserting past the last
    /// line appends, first ending the last line with CR LF when it has no
    /// line break.
    void Insert(int Index, const std::string& S) override;
    /// Removes the line at Index together with its line break.
    void Delete(int Index) override;
    /// Empties the memo's text (as SetText("") on the memo).
    void Clear() override;
    /// Line breaks become CR LF; no line break is added at the end.
    void SetText(const std::string& Value) override;
    /// Replaces the whole text by Source's text in one change.
    void Assign(const TStrings& Source) override;

protected:
    /// The memo whose lines these are.
    TCustomMemo& Memo() const { return FMemo; }

private:
    TCustomMemo& FMemo;
};

/// A multi-line text editor. The text is one byte string whose
/// lines end with CR LF (lines read from it may also end with LF or CR);
/// Lines shows it as a TStrings, and changing Lines changes the text.
///
/// Editing follows an edit window: typed characters replace the selection
/// at the caret, Backspace and Delete remove the selection or one character
/// (a CR LF pair as one), Enter inserts CR LF (when WantReturns), Tab a tab
/// (when WantTabs), Ctrl+A selects everything; the arrow keys, Home and End
/// move the caret, with Shift extending the selection. The memo's own
/// read-only state (ReadOnly) refuses every change by the user, and
/// MaxLength (0: none) caps what typing and pasting can make the text; the
/// program can still set any text up to TextLimit.
///
/// The clipboard works through messages, so that subclasses can step in:
/// Ctrl+X and Shift+Delete perform WM_CUT, Ctrl+C and Ctrl+Insert WM_COPY,
/// Ctrl+V and Shift+Insert WM_PASTE; the handlers' base behaviour (in
/// DefaultHandler) moves text to and from the clipboard (CF_TEXT).
///
/// Every change of the text, by the user or the program, runs the virtual
/// Change, whose base fires OnChange.
class ZORP_API TCustomMemo : public TWinControl {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TCustomMemo";
    /// Makes an empty memo of 185 x 89 pixels in clWindow with TabStop set,
    /// owned by AOwner.
    explicit TCustomMemo(TComponent* AOwner);
    /// Frees the line list.
    ~TCustomMemo() override;
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The text as a list of lines; changing it changes the text.
    /// @{
    TStrings& Lines() { return *FLines; }
    const TStrings& Lines() const { return *FLines; }
    /// @}

    /// The whole text. Setting another text puts the caret at its start,
    /// clears Modified, performs CM_TEXTCHANGED and runs Change; text longer
    /// than TextLimit raises (see TextLimitError) and leaves the text as it
    /// was.
    /// @{
    std::string Text() const override { return FEditText; }
    void SetText(const std::string& Value) override;
    /// @}
    /// The most bytes the control can hold; 16 MiB unless changed.
    /// @{
    size_t TextLimit() const { return FTextLimit; }
    void SetTextLimit(size_t Value) { FTextLimit = Value; }
    /// @}

    /// The edit's own read-only state. (A subclass that publishes another
    /// ReadOnly reaches this one as TCustomMemo::ReadOnly.)
    /// @{
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    /// @}
    /// The most bytes typing and pasting can make the text; 0 (the default)
    /// for no limit, negative values count as 0.
    /// @{
    int32_t MaxLength() const { return FMaxLength; }
    void SetMaxLength(int32_t Value) { FMaxLength = Value < 0 ? 0 : Value; }
    /// @}
    /// Whether Enter inserts a line break; on by default.
    /// @{
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    /// @}
    /// Whether Tab inserts a tab character; off by default.
    /// @{
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    /// @}
    /// How the lines align; left by default (left and right swap under
    /// UseRightToLeftAlignment). A change invalidates the control.
    /// @{
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    /// @}
    /// Set by every change the user makes; cleared by SetText.
    /// @{
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    /// @}

    /// Selection: byte offsets into Text. SetSelStart puts the caret there
    /// and empties the selection; SetSelLength selects from SelStart on.
    /// Both are cut to the text.
    /// @{
    int32_t SelStart() const;
    void SetSelStart(int32_t Value);
    int32_t SelLength() const;
    void SetSelLength(int32_t Value);
    /// @}
    /// The selected text; "" for an empty selection.
    std::string SelText() const;
    /// Replaces the selection (no matter ReadOnly or MaxLength) and puts the
    /// caret after the new text.
    void SetSelText(const std::string& Value);
    /// The caret's offset (the moving end of the selection).
    int32_t CaretPos() const { return static_cast<int32_t>(FCaret); }
    /// Selects the whole text, with the caret at its end.
    void SelectAll();
    /// Delete the selection, or move or copy it to the clipboard, or replace
    /// it by the clipboard's text, by performing WM_CLEAR, WM_CUT, WM_COPY or
    /// WM_PASTE (so that subclasses can step in).
    /// @{
    void ClearSelection() { Perform(WM_CLEAR); }
    void CutToClipboard() { Perform(WM_CUT); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    /// @}

    /// Fired by Change after every change of the text.
    std::function<void(TCustomMemo& Sender)> OnChange;

protected:
    /// For subclasses with their own kind of line list (from their
    /// constructor, before anyone holds a reference to Lines).
    void ReplaceLines(std::unique_ptr<TMemoStrings> Lines) { FLines = std::move(Lines); }

    /// Runs after every text change; the base fires OnChange.
    virtual void Change();
    /// Replaces Length bytes at Start with Value, puts the caret after it,
    /// and runs TextReplaced and Change. Every change of the text ends here.
    void ReplaceText(size_t Start, size_t Length, const std::string& Value);
    /// Tells subclasses that keep data per character which bytes changed.
    virtual void TextReplaced(size_t Start, size_t OldLength, size_t NewLength);
    /// Raises the error for text beyond TextLimit: EInvalidOperation.
    [[noreturn]] virtual void TextLimitError() const;

    /// The edit behaviour: keys, characters, clipboard messages, mouse.
    void DefaultHandler(TMessage& Message) override;
    /// Draws the lines in Font by Alignment, two pixels in from the edges.
    void PaintWindow(TCanvas& Canvas) override;
    /// The left edge, in Canvas's font, of Line drawn by Alignment in a client
    /// area Width pixels wide.
    int32_t LineX(const TCanvas& Canvas, const std::string& Line, int32_t Width) const;

    /// Where one line lies in the text, as byte offsets.
    struct TLineSpan {
        /// The first byte of the line.
        size_t Start;
        /// The line break (or the end of the text).
        size_t End;
        /// The first byte after the line break.
        size_t Next;
    };
    /// The text's lines; a final line break does not start another line.
    std::vector<TLineSpan> LineSpans() const;

private:
    friend class TMemoStrings;

    void SetSelection(size_t Anchor, size_t Caret);
    void TypeIn(const std::string& Value);
    void DeleteBack();
    void DeleteForward();
    void HandleKey(uint16_t Key, TShiftState Shift);
    void HandleChar(unsigned char Ch);
    size_t OffsetAt(int32_t X, int32_t Y) const;
    void SelectWordAt(size_t Offset);

    std::unique_ptr<TMemoStrings> FLines;
    std::string FEditText;
    size_t FTextLimit = size_t(16) << 20;
    size_t FAnchor = 0;
    size_t FCaret = 0;
    bool FReadOnly = false;
    int32_t FMaxLength = 0;
    bool FWantReturns = true;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
    bool FModified = false;
};

/// The memo class programs use; it adds nothing to TCustomMemo but its name.
class ZORP_API TMemo : public TCustomMemo {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TMemo";
    /// Makes an empty memo, owned by AOwner (see TCustomMemo).
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp::fw
