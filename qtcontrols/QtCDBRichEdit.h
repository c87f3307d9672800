// TQtCDBRichEdit: the compressed rich-text control as a Qt 6 widget.
#pragma once

#include "../dbcontrols/CDBRichEdit.h"
#include "ControlHost.h"
#include "Export.h"
#include "TextEditBridge.h"

#include <QTextEdit>
#include <memory>

namespace zorp::qt {

/// A QTextEdit bound to one column of a data set's current record, compressed through a
/// TZorp. The binding and every rule (loading and AutoDisplay, typing into edit mode without
/// reloading, Escape, writing the value when the focus leaves, rich or plain text as PlainText
/// says) are those of the headless TCDBRichEdit the widget keeps, reached through Control():
/// set its DataSource, DataField, CompressSource and CompressionMethod there. The widget
/// mirrors the control's text, attributes (bold, italics, size) and read-only state and hands
/// it the user's keys, focus changes, double-clicks and clipboard commands; Qt does the
/// editing. Formatting beyond bold, italics and size is not kept.
class ZORPQT_API TQtCDBRichEdit : public QTextEdit {
    Q_OBJECT

public:
    /// Makes the widget with an unbound control.
    explicit TQtCDBRichEdit(QWidget* Parent = nullptr);
    /// Frees the control, which releases its compressed field.
    ~TQtCDBRichEdit() override;

    /// The headless control that binds the column and keeps the rules.
    TCDBRichEdit& Control();

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
    void PullContent();
    void PushContent();

    TControlHost FHost;
    TControl* FControl; // owned by FHost's form
    std::unique_ptr<TTextEditBridge> FBridge;
    bool FSyncing = false;
};

} // namespace zorp::qt
