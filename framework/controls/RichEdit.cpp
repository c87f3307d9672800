#include "framework/controls/RichEdit.h"

#include "framework/base/Exceptions.h"
#include "framework/controls/ControlErrors.h"

#include <algorithm>
#include <limits>

namespace zorp::fw {

TRichEditStrings::TRichEditStrings(TCustomRichEdit& Edit) : TMemoStrings(Edit), FEdit(Edit) {}

void TRichEditStrings::SaveToStream(TStream& Stream) const {
    if (FEdit.PlainText()) {
        TMemoStrings::SaveToStream(Stream);
        return;
    }
    const std::string rtf = FEdit.RichText();
    if (rtf.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EWriteError("Stream write error");
    Stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
}

void TRichEditStrings::LoadFromStream(TStream& Stream) {
    const int64_t left = Stream.Size() - Stream.Position();
    if (left > std::numeric_limits<int32_t>::max())
        throw EReadError("Stream read error");
    std::string data(static_cast<size_t>(std::max<int64_t>(left, 0)), '\0');
    Stream.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    if (!FEdit.PlainText() && IsRichText(data))
        FEdit.SetRichText(data);
    else
        SetText(data);
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {
    // The line list must know this class, so replace the memo's plain one.
    FDefAttributes.Size = Font().Size();
    ReplaceLines(std::make_unique<TRichEditStrings>(*this));
}

void TCustomRichEdit::SetDefAttributes(const TTextAttributes& Value) {
    FDefAttributes = Value;
}

TTextAttributes TCustomRichEdit::AttributesAt(int32_t Pos) const {
    if (Pos < 0 || static_cast<size_t>(Pos) >= FAttributes.size())
        return FDefAttributes;
    return FAttributes[static_cast<size_t>(Pos)];
}

TTextAttributes TCustomRichEdit::SelAttributes() const {
    if (SelLength() > 0)
        return AttributesAt(SelStart());
    if (FTypingAttributes)
        return *FTypingAttributes;
    if (SelStart() > 0)
        return AttributesAt(SelStart() - 1);
    return FAttributes.empty() ? FDefAttributes : FAttributes.front();
}

void TCustomRichEdit::SetSelAttributes(const TTextAttributes& Value) {
    if (SelLength() == 0) {
        FTypingAttributes = Value;
        return;
    }
    const auto from = static_cast<size_t>(SelStart());
    const auto to = std::min(from + static_cast<size_t>(SelLength()), FAttributes.size());
    bool changed = false;
    for (size_t i = from; i < to; ++i) {
        changed = changed || !(FAttributes[i] == Value);
        FAttributes[i] = Value;
    }
    if (changed) {
        Invalidate();
        Change();
    }
}

void TCustomRichEdit::TextReplaced(size_t Start, size_t OldLength, size_t NewLength) {
    TTextAttributes attributes = FDefAttributes;
    if (FTypingAttributes)
        attributes = *FTypingAttributes;
    else if (Start == 0 && OldLength == FAttributes.size())
        attributes = FDefAttributes;
    else if (Start > 0 && Start - 1 < FAttributes.size())
        attributes = FAttributes[Start - 1];
    else if (Start + OldLength < FAttributes.size())
        attributes = FAttributes[Start + OldLength];
    FTypingAttributes.reset();
    const auto begin = FAttributes.begin() + static_cast<std::ptrdiff_t>(Start);
    FAttributes.erase(begin, begin + static_cast<std::ptrdiff_t>(OldLength));
    if (FIncoming != nullptr && FIncoming->size() == NewLength)
        FAttributes.insert(FAttributes.begin() + static_cast<std::ptrdiff_t>(Start),
                           FIncoming->begin(), FIncoming->end());
    else
        FAttributes.insert(FAttributes.begin() + static_cast<std::ptrdiff_t>(Start), NewLength,
                           attributes);
}

void TCustomRichEdit::TextLimitError() const {
    throw EOutOfResources("Text exceeds rich edit capacity");
}

std::string TCustomRichEdit::RichText() const {
    return WriteRichText(TRichText{Text(), FAttributes}, Font().Name());
}

void TCustomRichEdit::SetRichText(const std::string& Rtf) {
    LoadContent(ReadRichText(Rtf, FDefAttributes));
}

void TCustomRichEdit::SetContent(const TRichText& Content) {
    if (Content.Attributes.size() != Content.Text.size())
        throw EInvalidOperation("Rich text needs one set of attributes per byte");
    LoadContent(Content);
}

void TCustomRichEdit::LoadContent(const TRichText& Content) {
    if (Content.Text == Text()) {
        if (Content.Attributes != FAttributes) {
            FAttributes = Content.Attributes;
            Invalidate();
            Change();
        }
        return;
    }
    FIncoming = &Content.Attributes;
    try {
        SetText(Content.Text);
    } catch (...) {
        FIncoming = nullptr;
        throw;
    }
    FIncoming = nullptr;
}

void TCustomRichEdit::PaintWindow(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().SetColor(Font().Color());
    const std::string text = Text();
    int32_t y = 2;
    for (const TLineSpan& span : LineSpans()) {
        // Measure the line, then draw it character by character.
        int32_t width = 0;
        int32_t height = 0;
        for (size_t i = span.Start; i < span.End; ++i) {
            Canvas.Font().SetSize(FAttributes[i].Size);
            width += Canvas.TextWidth(std::string(1, text[i]));
            height = std::max(height, Canvas.TextHeight(""));
        }
        if (height == 0) {
            Canvas.Font().SetSize(FDefAttributes.Size);
            height = Canvas.TextHeight("");
        }
        int32_t x = 2;
        if (Alignment() == taRightJustify || UseRightToLeftAlignment())
            x = ClientWidth() - 2 - width;
        else if (Alignment() == taCenter)
            x = (ClientWidth() - width) / 2;
        for (size_t i = span.Start; i < span.End; ++i) {
            const TTextAttributes& a = FAttributes[i];
            Canvas.Font().SetSize(a.Size);
            Canvas.Font().SetStyle(
                static_cast<TFontStyles>((a.Bold ? fsBold : 0) | (a.Italic ? fsItalic : 0)));
            const std::string ch(1, text[i]);
            const int32_t charHeight = Canvas.TextHeight(ch);
            Canvas.TextRect(ClientRect(), x, y + height - charHeight, ch);
            x += Canvas.TextWidth(ch);
        }
        y += height;
    }
    Canvas.Font().SetStyle(0);
    Canvas.Brush().SetStyle(bsSolid);
}

} // namespace zorp::fw
