#include "qtcontrols/QtCDBRichEdit.h"

#include "qtcontrols/RichTextDocument.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace zorp::qt {

// The headless rich edit with its key handlers reachable from the widget.
class TQtCDBRichEdit::TControl final : public TCDBRichEdit {
public:
    using TCDBRichEdit::TCDBRichEdit;
    void StrokeDown(uint16_t& Key, fw::TShiftState Shift) { KeyDown(Key, Shift); }
    void StrokePress(char& Key) { KeyPress(Key); }
};

TQtCDBRichEdit::TQtCDBRichEdit(QWidget* Parent)
    : QTextEdit(Parent), FControl(new TControl(&FHost.Form())) {
    FControl->SetParent(&FHost.Form());
    setAcceptRichText(true);
    FBridge = std::make_unique<TTextEditBridge>(
        *this, FHost, *FControl, FControl->State(),
        TKeyHandlers{
            [this](uint16_t& Key, fw::TShiftState Shift) { FControl->StrokeDown(Key, Shift); },
            [this](char& Key) { FControl->StrokePress(Key); }});
    FControl->OnChange = [this](fw::TCustomMemo&) { PullContent(); };
    FControl->State().OnStateChange = [this] { PullContent(); };
    connect(this, &QTextEdit::textChanged, this, &TQtCDBRichEdit::PushContent);
    PullContent();
}

TQtCDBRichEdit::~TQtCDBRichEdit() {
    FControl->OnChange = nullptr;
    FControl->State().OnStateChange = nullptr;
    disconnect(this, &QTextEdit::textChanged, this, &TQtCDBRichEdit::PushContent);
}

TCDBRichEdit& TQtCDBRichEdit::Control() {
    return *FControl;
}

void TQtCDBRichEdit::PullContent() {
    if (FSyncing)
        return;
    FSyncing = true;
    const fw::TRichText content = FControl->Content();
    // Only on a change, so the caret and selection stay where the user left them.
    if (FromDocument(*document(), FControl->DefAttributes().Size) != content) {
        ToDocument(content, *document());
        moveCursor(QTextCursor::Start);
    }
    SetReadOnlyState(*this, FControl->fw::TCustomMemo::ReadOnly());
    FSyncing = false;
}

void TQtCDBRichEdit::PushContent() {
    if (FSyncing)
        return;
    FSyncing = true;
    RunReported([this] {
        FControl->SetContent(FromDocument(*document(), FControl->DefAttributes().Size));
    });
    FSyncing = false;
}

void TQtCDBRichEdit::keyPressEvent(QKeyEvent* Event) {
    if (FBridge->KeyPress(*Event))
        QTextEdit::keyPressEvent(Event);
}

void TQtCDBRichEdit::focusInEvent(QFocusEvent* Event) {
    QTextEdit::focusInEvent(Event);
    FBridge->FocusIn();
}

void TQtCDBRichEdit::focusOutEvent(QFocusEvent* Event) {
    QTextEdit::focusOutEvent(Event);
    FBridge->FocusOut(*Event);
}

void TQtCDBRichEdit::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (!FBridge->DoubleClick())
        QTextEdit::mouseDoubleClickEvent(Event);
}

void TQtCDBRichEdit::contextMenuEvent(QContextMenuEvent* Event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(Event->pos()));
    FBridge->PrepareContextMenu(
        *menu, textCursor().hasSelection(), [this] { cut(); }, [this] { paste(); });
    menu->exec(Event->globalPos());
}

} // namespace zorp::qt
