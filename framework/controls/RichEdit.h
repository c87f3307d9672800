// TCustomRichEdit, the memo with character attributes, its line list and TRichEdit.
#pragma once

#include "../base/Export.h"
#include "Memo.h"
#include "RichText.h"

#include <optional>
#include <string>
#include <vector>

namespace zorp::fw {

class TCustomRichEdit;

/// The lines of a rich edit: as a memo's lines, but moved through streams as
/// rich text unless the edit's PlainText is set.
class ZORP_API TRichEditStrings : public TMemoStrings {
public:
    /// Makes the line list of Edit, which owns it.
    explicit TRichEditStrings(TCustomRichEdit& Edit);

    /// Writes the whole content as RTF (RichText), or with PlainText the
    /// lines as plain text ending with CR LF.
    void SaveToStream(TStream& Stream) const override;
    /// Reads the rest of the stream: RTF replaces the content with its
    /// attributes (SetRichText); with PlainText, or for data that is not RTF,
    /// the bytes become the text.
    void LoadFromStream(TStream& Stream) override;

private:
    TCustomRichEdit& FEdit;
};

/// A memo whose characters carry attributes (bold, italic,
/// size; see RichText.h) and whose Lines write and read rich text.
///
/// Lines.SaveToStream writes the whole content as RTF, and
/// Lines.LoadFromStream reads RTF (data that is not RTF is read as plain
/// text); with PlainText set both move plain text (lines ending with CR LF)
/// instead. Other code that moves the lines through streams (a BLOB field
/// assigning itself to them, for one) gets the same.
///
/// Text set or typed takes attributes as an edit does: new text typed at
/// the caret continues the attributes of the character before it (or those
/// chosen with SetSelAttributes on an empty selection); text that replaces
/// everything takes DefAttributes. Text beyond TextLimit raises
/// EOutOfResources.
class ZORP_API TCustomRichEdit : public TCustomMemo {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TCustomRichEdit";
    /// Makes an empty rich edit whose DefAttributes take the size of Font,
    /// owned by AOwner.
    explicit TCustomRichEdit(TComponent* AOwner);
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Whether Lines moves plain text through streams instead of RTF; off by
    /// default.
    /// @{
    bool PlainText() const { return FPlainText; }
    void SetPlainText(bool Value) { FPlainText = Value; }
    /// @}

    /// The attributes of text that replaces the whole content; size from
    /// Font unless set.
    /// @{
    const TTextAttributes& DefAttributes() const { return FDefAttributes; }
    void SetDefAttributes(const TTextAttributes& Value);
    /// @}
    /// The attributes at the selection: of its first character, or with an
    /// empty selection those the next typed character gets.
    TTextAttributes SelAttributes() const;
    /// Gives the selected characters Value; with an empty selection, the next
    /// typed text.
    void SetSelAttributes(const TTextAttributes& Value);
    /// The attributes of the character at Pos (DefAttributes past the end).
    TTextAttributes AttributesAt(int32_t Pos) const;

    /// The content as RTF, and replacing it by RTF (one change; text equal to
    /// the current one only takes the new attributes, and runs Change when
    /// they differ).
    /// @{
    std::string RichText() const;
    void SetRichText(const std::string& Rtf);
    /// @}
    /// The content as text and attributes, and replacing it by them, as
    /// RichText and SetRichText do without going through RTF. Content's
    /// Attributes must hold one entry per byte of its Text
    /// (EInvalidOperation otherwise).
    /// @{
    TRichText Content() const { return TRichText{Text(), FAttributes}; }
    void SetContent(const TRichText& Content);
    /// @}

protected:
    /// Keeps one set of attributes per byte: new bytes take those SetRichText
    /// brings, else the attributes chosen for typing, DefAttributes when they
    /// replace everything, else those of the character before (or after)
    /// them.
    void TextReplaced(size_t Start, size_t OldLength, size_t NewLength) override;
    /// Raises EOutOfResources instead of EInvalidOperation.
    [[noreturn]] void TextLimitError() const override;
    /// Draws every character in its own attributes; lines are as tall as
    /// their largest character.
    void PaintWindow(TCanvas& Canvas) override;

private:
    void LoadContent(const TRichText& Content);

    bool FPlainText = false;
    TTextAttributes FDefAttributes;
    std::vector<TTextAttributes> FAttributes; // one per byte of the text
    std::optional<TTextAttributes> FTypingAttributes;
    const std::vector<TTextAttributes>* FIncoming = nullptr;
};

/// The rich edit class programs use; it adds nothing to TCustomRichEdit but
/// its name.
class ZORP_API TRichEdit : public TCustomRichEdit {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TRichEdit";
    /// Makes an empty rich edit, owned by AOwner (see TCustomRichEdit).
    explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp::fw
