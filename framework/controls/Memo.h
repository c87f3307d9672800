// TCustomMemo: a multi-line text editor. The text is one byte string whose
// lines end with CR LF (lines read from it may also end with LF or CR);
// Lines shows it as a TStrings, and changing Lines changes the text.
//
// Editing follows an edit window: typed characters replace the selection
// at the caret, Backspace and Delete remove the selection or one character
// (a CR LF pair as one), Enter inserts CR LF (when WantReturns), Tab a tab
// (when WantTabs), Ctrl+A selects everything; the arrow keys, Home and End
// move the caret, with Shift extending the selection. The memo's own
// read-only state (ReadOnly) refuses every change by the user, and
// MaxLength (0: none) caps what typing and pasting can make the text; the
// program can still set any text up to TextLimit.
//
// The clipboard works through messages, so that subclasses can step in:
// Ctrl+X and Shift+Delete perform WM_CUT, Ctrl+C and Ctrl+Insert WM_COPY,
// Ctrl+V and Shift+Insert WM_PASTE; the handlers' base behaviour (in
// DefaultHandler) moves text to and from the clipboard (CF_TEXT).
//
// Every change of the text, by the user or the program, runs the virtual
// Change, whose base fires OnChange.
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

// The lines of a memo. Each Put, Insert or Delete is one text change;
// SetText, Assign and LoadFromStream replace the whole text in one change.
// Lines carry no objects: GetObject answers nullptr and PutObject ignores
// its object.
class ZORP_API TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& Memo) : FMemo(Memo) {}

    int Count() const override;
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    // Inserting past the last line appends, first ending the last line
    // with CR LF when it has no line break.
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override;
    // Line breaks become CR LF; no line break is added at the end.
    void SetText(const std::string& Value) override;
    void Assign(const TStrings& Source) override;

protected:
    TCustomMemo& Memo() const { return FMemo; }

private:
    TCustomMemo& FMemo;
};

class ZORP_API TCustomMemo : public TWinControl {
public:
    static constexpr const char* StaticClassName = "TCustomMemo";
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    std::string ClassName() const override { return StaticClassName; }

    TStrings& Lines() { return *FLines; }
    const TStrings& Lines() const { return *FLines; }

    // Setting another text puts the caret at its start, performs
    // CM_TEXTCHANGED and runs Change; text longer than TextLimit raises
    // (see TextLimitError) and leaves the text as it was.
    std::string Text() const override { return FEditText; }
    void SetText(const std::string& Value) override;
    // The most bytes the control can hold; 16 MiB unless changed.
    size_t TextLimit() const { return FTextLimit; }
    void SetTextLimit(size_t Value) { FTextLimit = Value; }

    // The edit's own read-only state. (A subclass that publishes another
    // ReadOnly reaches this one as TCustomMemo::ReadOnly.)
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    int32_t MaxLength() const { return FMaxLength; }
    void SetMaxLength(int32_t Value) { FMaxLength = Value < 0 ? 0 : Value; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Set by every change the user makes; cleared by SetText.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Selection: byte offsets into Text. SetSelStart puts the caret there
    // and empties the selection; SetSelLength selects from SelStart on.
    // Both are cut to the text.
    int32_t SelStart() const;
    void SetSelStart(int32_t Value);
    int32_t SelLength() const;
    void SetSelLength(int32_t Value);
    std::string SelText() const;
    // Replaces the selection (no matter ReadOnly or MaxLength) and puts the
    // caret after the new text.
    void SetSelText(const std::string& Value);
    // The caret's offset (the moving end of the selection).
    int32_t CaretPos() const { return static_cast<int32_t>(FCaret); }
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR); }
    void CutToClipboard() { Perform(WM_CUT); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void PasteFromClipboard() { Perform(WM_PASTE); }

    std::function<void(TCustomMemo& Sender)> OnChange;

protected:
    // For subclasses with their own kind of line list (from their
    // constructor, before anyone holds a reference to Lines).
    void ReplaceLines(std::unique_ptr<TMemoStrings> Lines) { FLines = std::move(Lines); }

    // Runs after every text change; the base fires OnChange.
    virtual void Change();
    // Replaces Length bytes at Start with Value, puts the caret after it,
    // and runs TextReplaced and Change. Every change of the text ends here.
    void ReplaceText(size_t Start, size_t Length, const std::string& Value);
    // Tells subclasses that keep data per character which bytes changed.
    virtual void TextReplaced(size_t Start, size_t OldLength, size_t NewLength);
    // Raises the error for text beyond TextLimit: EInvalidOperation.
    [[noreturn]] virtual void TextLimitError() const;

    // The edit behaviour: keys, characters, clipboard messages, mouse.
    void DefaultHandler(TMessage& Message) override;
    // Draws the lines in Font by Alignment, two pixels in from the edges.
    void PaintWindow(TCanvas& Canvas) override;
    int32_t LineX(const TCanvas& Canvas, const std::string& Line, int32_t Width) const;

    struct TLineSpan {
        size_t Start; // first byte of the line
        size_t End;   // the line break (or the end of the text)
        size_t Next;  // first byte after the line break
    };
    // The text's lines; a final line break does not start another line.
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

class ZORP_API TMemo : public TCustomMemo {
public:
    static constexpr const char* StaticClassName = "TMemo";
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp::fw
