#include "framework/controls/Memo.h"

#include "framework/base/Exceptions.h"
#include "framework/controls/Clipboard.h"
#include "framework/controls/ControlErrors.h"
#include "framework/controls/Keyboard.h"

#include <algorithm>
#include <cctype>

namespace zorp::fw {

namespace {

bool IsBreak(char Ch) {
    return Ch == '\r' || Ch == '\n';
}

// Line breaks (CR LF, LF or CR) as CR LF.
std::string WithCrLf(const std::string& Value) {
    std::string result;
    result.reserve(Value.size());
    for (size_t i = 0; i < Value.size(); ++i) {
        if (Value[i] == '\r' || Value[i] == '\n') {
            if (Value[i] == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n')
                ++i;
            result += "\r\n";
        } else {
            result += Value[i];
        }
    }
    return result;
}

void CheckLineIndex(int Index, int Limit) {
    if (Index < 0 || Index >= Limit)
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

bool IsWordChar(char Ch) {
    return std::isalnum(static_cast<unsigned char>(Ch)) || Ch == '_' ||
           static_cast<unsigned char>(Ch) >= 0x80;
}

} // namespace

// TMemoStrings

int TMemoStrings::Count() const {
    return static_cast<int>(FMemo.LineSpans().size());
}

std::string TMemoStrings::Get(int Index) const {
    const auto spans = FMemo.LineSpans();
    CheckLineIndex(Index, static_cast<int>(spans.size()));
    const auto& span = spans[static_cast<size_t>(Index)];
    return FMemo.FEditText.substr(span.Start, span.End - span.Start);
}

void TMemoStrings::Put(int Index, const std::string& S) {
    const auto spans = FMemo.LineSpans();
    CheckLineIndex(Index, static_cast<int>(spans.size()));
    const auto& span = spans[static_cast<size_t>(Index)];
    FMemo.ReplaceText(span.Start, span.End - span.Start, S);
}

TObject* TMemoStrings::GetObject(int Index) const {
    CheckLineIndex(Index, Count());
    return nullptr;
}

void TMemoStrings::PutObject(int Index, TObject*) {
    CheckLineIndex(Index, Count());
}

void TMemoStrings::Insert(int Index, const std::string& S) {
    const auto spans = FMemo.LineSpans();
    CheckLineIndex(Index, static_cast<int>(spans.size()) + 1);
    if (static_cast<size_t>(Index) < spans.size()) {
        FMemo.ReplaceText(spans[static_cast<size_t>(Index)].Start, 0, S + "\r\n");
        return;
    }
    const std::string& text = FMemo.FEditText;
    const bool needsBreak = !text.empty() && !IsBreak(text.back());
    FMemo.ReplaceText(text.size(), 0, (needsBreak ? "\r\n" : "") + S + "\r\n");
}

void TMemoStrings::Delete(int Index) {
    const auto spans = FMemo.LineSpans();
    CheckLineIndex(Index, static_cast<int>(spans.size()));
    const auto& span = spans[static_cast<size_t>(Index)];
    FMemo.ReplaceText(span.Start, span.Next - span.Start, "");
}

void TMemoStrings::Clear() {
    FMemo.SetText("");
}

void TMemoStrings::SetText(const std::string& Value) {
    FMemo.SetText(WithCrLf(Value));
}

void TMemoStrings::Assign(const TStrings& Source) {
    if (&Source != this)
        SetText(Source.Text());
}

// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TWinControl(AOwner), FLines(std::make_unique<TMemoStrings>(*this)) {
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomMemo::~TCustomMemo() = default;

std::vector<TCustomMemo::TLineSpan> TCustomMemo::LineSpans() const {
    std::vector<TLineSpan> spans;
    const std::string& text = FEditText;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && !IsBreak(text[end]))
            ++end;
        size_t next = end;
        if (next < text.size() && text[next] == '\r')
            ++next;
        if (next < text.size() && text[next] == '\n')
            ++next;
        spans.push_back({pos, end, next});
        pos = next;
    }
    return spans;
}

void TCustomMemo::SetText(const std::string& Value) {
    if (Value == FEditText)
        return;
    ReplaceText(0, FEditText.size(), Value);
    SetSelection(0, 0);
    FModified = false;
    Perform(CM_TEXTCHANGED);
}

void TCustomMemo::TextLimitError() const {
    throw EInvalidOperation("Text exceeds memo capacity");
}

void TCustomMemo::ReplaceText(size_t Start, size_t Length, const std::string& Value) {
    Start = std::min(Start, FEditText.size());
    Length = std::min(Length, FEditText.size() - Start);
    if (FEditText.size() - Length + Value.size() > FTextLimit)
        TextLimitError();
    FEditText.replace(Start, Length, Value);
    FAnchor = FCaret = Start + Value.size();
    TextReplaced(Start, Length, Value.size());
    Invalidate();
    Change();
}

void TCustomMemo::TextReplaced(size_t, size_t, size_t) {}

void TCustomMemo::Change() {
    if (OnChange)
        OnChange(*this);
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

int32_t TCustomMemo::SelStart() const {
    return static_cast<int32_t>(std::min(FAnchor, FCaret));
}

int32_t TCustomMemo::SelLength() const {
    return static_cast<int32_t>(std::max(FAnchor, FCaret) - std::min(FAnchor, FCaret));
}

void TCustomMemo::SetSelection(size_t Anchor, size_t Caret) {
    FAnchor = std::min(Anchor, FEditText.size());
    FCaret = std::min(Caret, FEditText.size());
}

void TCustomMemo::SetSelStart(int32_t Value) {
    const size_t pos = static_cast<size_t>(std::max<int32_t>(Value, 0));
    SetSelection(pos, pos);
}

void TCustomMemo::SetSelLength(int32_t Value) {
    const size_t start = static_cast<size_t>(SelStart());
    SetSelection(start, start + static_cast<size_t>(std::max<int32_t>(Value, 0)));
}

std::string TCustomMemo::SelText() const {
    return FEditText.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TCustomMemo::SetSelText(const std::string& Value) {
    ReplaceText(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()), Value);
}

void TCustomMemo::SelectAll() {
    SetSelection(0, FEditText.size());
}

// Typing and pasting: as much of Value as MaxLength leaves room for (never
// half a CR LF pair), over the selection.
void TCustomMemo::TypeIn(const std::string& Value) {
    if (FReadOnly || Value.empty())
        return;
    std::string insert = Value;
    if (FMaxLength > 0) {
        const size_t kept = FEditText.size() - static_cast<size_t>(SelLength());
        const size_t room =
            static_cast<size_t>(FMaxLength) > kept ? static_cast<size_t>(FMaxLength) - kept : 0;
        if (insert.size() > room) {
            insert.resize(room);
            if (!insert.empty() && insert.back() == '\r' && Value[room] == '\n')
                insert.pop_back();
        }
        if (insert.empty())
            return;
    }
    SetSelText(insert);
    FModified = true;
}

void TCustomMemo::DeleteBack() {
    if (FReadOnly)
        return;
    if (SelLength() > 0) {
        SetSelText("");
    } else if (FCaret > 0) {
        size_t from = FCaret - 1;
        if (FEditText[from] == '\n' && from > 0 && FEditText[from - 1] == '\r')
            --from;
        ReplaceText(from, FCaret - from, "");
    } else {
        return;
    }
    FModified = true;
}

void TCustomMemo::DeleteForward() {
    if (FReadOnly)
        return;
    if (SelLength() > 0) {
        SetSelText("");
    } else if (FCaret < FEditText.size()) {
        size_t to = FCaret + 1;
        if (FEditText[FCaret] == '\r' && to < FEditText.size() && FEditText[to] == '\n')
            ++to;
        ReplaceText(FCaret, to - FCaret, "");
    } else {
        return;
    }
    FModified = true;
}

void TCustomMemo::HandleKey(uint16_t Key, TShiftState Shift) {
    const bool extend = (Shift & ssShift) != 0;
    const auto spans = LineSpans();
    // The line holding the caret (the empty line after a final break counts
    // as its own).
    size_t line = 0;
    while (line < spans.size() && FCaret > spans[line].End)
        ++line;
    const size_t lineStart = line < spans.size() ? spans[line].Start : FEditText.size();
    const size_t lineEnd = line < spans.size() ? spans[line].End : FEditText.size();
    size_t target = FCaret;
    switch (Key) {
    case VK_DELETE:
        if (Shift & ssShift)
            Perform(WM_CUT);
        else if (!(Shift & ssCtrl))
            DeleteForward();
        return;
    case VK_INSERT:
        if (Shift & ssShift)
            Perform(WM_PASTE);
        else if (Shift & ssCtrl)
            Perform(WM_COPY);
        return;
    case VK_LEFT:
        if (!extend && SelLength() > 0) {
            target = static_cast<size_t>(SelStart());
        } else if (target > 0) {
            --target;
            if (target > 0 && FEditText[target] == '\n' && FEditText[target - 1] == '\r')
                --target;
        }
        break;
    case VK_RIGHT:
        if (!extend && SelLength() > 0) {
            target = static_cast<size_t>(SelStart() + SelLength());
        } else if (target < FEditText.size()) {
            ++target;
            if (target < FEditText.size() && FEditText[target - 1] == '\r' &&
                FEditText[target] == '\n')
                ++target;
        }
        break;
    case VK_HOME:
        target = (Shift & ssCtrl) ? 0 : lineStart;
        break;
    case VK_END:
        target = (Shift & ssCtrl) ? FEditText.size() : lineEnd;
        break;
    case VK_UP:
    case VK_DOWN: {
        const size_t column = FCaret - lineStart;
        if (Key == VK_UP && line > 0) {
            const TLineSpan& up = spans[line - 1];
            target = up.Start + std::min(column, up.End - up.Start);
        } else if (Key == VK_DOWN && line + 1 < spans.size()) {
            const TLineSpan& down = spans[line + 1];
            target = down.Start + std::min(column, down.End - down.Start);
        } else if (Key == VK_DOWN && line < spans.size() && spans[line].Next == FEditText.size() &&
                   spans[line].Next != spans[line].End) {
            target = FEditText.size();
        }
        break;
    }
    default:
        return;
    }
    SetSelection(extend ? FAnchor : target, target);
}

void TCustomMemo::HandleChar(unsigned char Ch) {
    switch (Ch) {
    case 1:
        SelectAll();
        return;
    case 3:
        Perform(WM_COPY);
        return;
    case 22:
        Perform(WM_PASTE);
        return;
    case 24:
        Perform(WM_CUT);
        return;
    case '\b':
        DeleteBack();
        return;
    case '\t':
        if (FWantTabs)
            TypeIn("\t");
        return;
    case '\n':
        TypeIn("\r\n");
        return;
    case '\r':
        if (FWantReturns)
            TypeIn("\r\n");
        return;
    default:
        if (Ch >= 32 && Ch != 127)
            TypeIn(std::string(1, static_cast<char>(Ch)));
        return;
    }
}

size_t TCustomMemo::OffsetAt(int32_t X, int32_t Y) const {
    const auto spans = LineSpans();
    if (spans.empty())
        return 0;
    TCanvas metrics;
    metrics.Font().Assign(Font());
    const int32_t lineHeight = metrics.TextHeight("");
    const int32_t row = std::max<int32_t>((Y - 2) / lineHeight, 0);
    if (static_cast<size_t>(row) >= spans.size())
        return FEditText.size();
    const TLineSpan& span = spans[static_cast<size_t>(row)];
    const std::string line = FEditText.substr(span.Start, span.End - span.Start);
    const int32_t cell = metrics.TextWidth(" ");
    const int32_t left = LineX(metrics, line, ClientWidth());
    const int32_t column = std::max<int32_t>((X - left + cell / 2) / cell, 0);
    return span.Start + std::min(static_cast<size_t>(column), line.size());
}

void TCustomMemo::SelectWordAt(size_t Offset) {
    size_t from = std::min(Offset, FEditText.size());
    size_t to = from;
    while (from > 0 && IsWordChar(FEditText[from - 1]))
        --from;
    while (to < FEditText.size() && IsWordChar(FEditText[to]))
        ++to;
    SetSelection(from, to);
}

void TCustomMemo::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
        HandleKey(static_cast<uint16_t>(Message.WParam), KeyboardShiftState());
        break;
    case WM_CHAR:
        HandleChar(static_cast<unsigned char>(Message.WParam));
        break;
    case WM_COPY:
        if (SelLength() > 0)
            Clipboard().SetAsText(SelText());
        break;
    case WM_CUT:
        if (!FReadOnly && SelLength() > 0) {
            Clipboard().SetAsText(SelText());
            SetSelText("");
            FModified = true;
        }
        break;
    case WM_PASTE:
        if (!FReadOnly && Clipboard().HasFormat(CF_TEXT))
            TypeIn(Clipboard().AsText());
        break;
    case WM_CLEAR:
        if (!FReadOnly && SelLength() > 0) {
            SetSelText("");
            FModified = true;
        }
        break;
    case WM_LBUTTONDOWN:
        if (!Focused() && CanFocus())
            SetFocus();
        {
            const size_t at = OffsetAt(LParamX(Message.LParam), LParamY(Message.LParam));
            SetSelection((Message.WParam & ssShift) ? FAnchor : at, at);
        }
        break;
    case WM_LBUTTONDBLCLK:
        SelectWordAt(OffsetAt(LParamX(Message.LParam), LParamY(Message.LParam)));
        break;
    case WM_SETTEXT:
        SetText(Message.LParam != 0 ? std::string(reinterpret_cast<const char*>(Message.LParam))
                                    : std::string());
        Message.Result = 1;
        break;
    default:
        TWinControl::DefaultHandler(Message);
        break;
    }
}

int32_t TCustomMemo::LineX(const TCanvas& Canvas, const std::string& Line, int32_t Width) const {
    TAlignment alignment = FAlignment;
    if (UseRightToLeftAlignment() && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    switch (alignment) {
    case taRightJustify:
        return Width - 2 - Canvas.TextWidth(Line);
    case taCenter:
        return (Width - Canvas.TextWidth(Line)) / 2;
    default:
        return 2;
    }
}

void TCustomMemo::PaintWindow(TCanvas& Canvas) {
    Canvas.Font().Assign(Font());
    Canvas.Brush().SetStyle(bsClear);
    const int32_t lineHeight = Canvas.TextHeight("");
    const auto spans = LineSpans();
    for (size_t i = 0; i < spans.size(); ++i) {
        const std::string line = FEditText.substr(spans[i].Start, spans[i].End - spans[i].Start);
        Canvas.TextRect(ClientRect(), LineX(Canvas, line, ClientWidth()),
                        2 + static_cast<int32_t>(i) * lineHeight, line);
    }
    Canvas.Brush().SetStyle(bsSolid);
}

} // namespace zorp::fw
