// TQtCDBMemo: the compressed memo as a Qt 6 widget.
#pragma once

#include "../dbcontrols/CDBMemo.h"
#include "ControlHost.h"
#include "Export.h"
#include "TextEditBridge.h"

#include <QPlainTextEdit>
#include <memory>

namespace zorp::qt {

/// A QPlainTextEdit bound to one column of a data set's current record, compressed through a
/// TZorp. The binding and every rule (loading and AutoDisplay, typing into edit mode, Escape,
/// writing on post) are those of the headless TCDBMemo the widget keeps, reached through
/// Control(): set its DataSource, DataField, CompressSource and CompressionMethod there. The
/// widget mirrors the control's text and read-only state and hands it the user's keys, focus
/// changes, double-clicks and clipboard commands; Qt does the editing.
class ZORPQT_API TQtCDBMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    /// Makes the widget with an unbound control.
    explicit TQtCDBMemo(QWidget* Parent = nullptr);
    /// Frees the control, which releases its compressed field.
    ~TQtCDBMemo() override;

    /// The headless control that binds the column and keeps the rules.
    TCDBMemo& Control();

protected:
    /// The control's key rules first; the edit types only what they let through.
    void keyPressEvent(QKeyEvent* Event) override;
    /// The control enters.
    void focusInEvent(QFocusEvent* Event) override;
    /// The control exits; when it cannot write its record the widget keeps the focus.
    void focusOutEvent(QFocusEvent* Event) override;
    /// Loads a value not shown yet; once shown, the edit selects a word.
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    /// The edit's menu, whose Cut and Paste put the record into edit mode first.
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    class TControl;
    void PullText();
    void PushText();

    TControlHost FHost;
    TControl* FControl; // owned by FHost's form
    std::unique_ptr<TTextEditBridge> FBridge;
    bool FSyncing = false;
};

} // namespace zorp::qt
