#include "qtcontrols/QtCDBMemo.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace zorp::qt {

// The headless memo with its key handlers reachable from the widget.
class TQtCDBMemo::TControl final : public TCDBMemo {
public:
    using TCDBMemo::TCDBMemo;
    void StrokeDown(uint16_t& Key, fw::TShiftState Shift) { KeyDown(Key, Shift); }
    void StrokePress(char& Key) { KeyPress(Key); }
};

TQtCDBMemo::TQtCDBMemo(QWidget* Parent)
    : QPlainTextEdit(Parent), FControl(new TControl(&FHost.Form())) {
    FControl->SetParent(&FHost.Form());
    FBridge = std::make_unique<TTextEditBridge>(
        *this, FHost, *FControl, FControl->State(),
        TKeyHandlers{
            [this](uint16_t& Key, fw::TShiftState Shift) { FControl->StrokeDown(Key, Shift); },
            [this](char& Key) { FControl->StrokePress(Key); }});
    FControl->OnChange = [this](fw::TCustomMemo&) { PullText(); };
    FControl->State().OnStateChange = [this] { PullText(); };
    connect(this, &QPlainTextEdit::textChanged, this, &TQtCDBMemo::PushText);
    PullText();
}

TQtCDBMemo::~TQtCDBMemo() {
    FControl->OnChange = nullptr;
    FControl->State().OnStateChange = nullptr;
    disconnect(this, &QPlainTextEdit::textChanged, this, &TQtCDBMemo::PushText);
}

TCDBMemo& TQtCDBMemo::Control() {
    return *FControl;
}

void TQtCDBMemo::PullText() {
    if (FSyncing)
        return;
    FSyncing = true;
    const QString text = ToQtText(FControl->Text());
    if (toPlainText() != text)
        setPlainText(text); // only on a change, so the caret stays where the user left it
    SetReadOnlyState(*this, FControl->fw::TCustomMemo::ReadOnly());
    FSyncing = false;
}

void TQtCDBMemo::PushText() {
    if (FSyncing)
        return;
    FSyncing = true;
    RunReported([this] { FControl->SetText(FromQtText(toPlainText())); });
    FSyncing = false;
}

void TQtCDBMemo::keyPressEvent(QKeyEvent* Event) {
    if (FBridge->KeyPress(*Event))
        QPlainTextEdit::keyPressEvent(Event);
}

void TQtCDBMemo::focusInEvent(QFocusEvent* Event) {
    QPlainTextEdit::focusInEvent(Event);
    FBridge->FocusIn();
}

void TQtCDBMemo::focusOutEvent(QFocusEvent* Event) {
    QPlainTextEdit::focusOutEvent(Event);
    FBridge->FocusOut(*Event);
}

void TQtCDBMemo::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (!FBridge->DoubleClick())
        QPlainTextEdit::mouseDoubleClickEvent(Event);
}

void TQtCDBMemo::contextMenuEvent(QContextMenuEvent* Event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(Event->pos()));
    FBridge->PrepareContextMenu(
        *menu, textCursor().hasSelection(), [this] { cut(); }, [this] { paste(); });
    menu->exec(Event->globalPos());
}

} // namespace zorp::qt
