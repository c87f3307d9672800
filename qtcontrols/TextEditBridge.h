// What the Qt memo and rich-text widgets share: the headless control's key,
// focus, double-click and clipboard rules applied to Qt events, and the
// conversion of text between the two layers.
#pragma once

#include "../dbcontrols/DBMemoState.h"
#include "ControlHost.h"
#include "Export.h"
#include "KeyStroke.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

class QFocusEvent;
class QKeyEvent;
class QMenu;
class QWidget;

namespace zorp::qt {

/// Text as the Qt edits hold it: UTF-8 made a QString, CR LF and CR made line feeds.
ZORPQT_API QString ToQtText(const std::string& Text);
/// Text as the headless controls hold it: UTF-8, with CR LF line breaks.
ZORPQT_API std::string FromQtText(const QString& Text);

/// Makes Edit (a QPlainTextEdit or QTextEdit) read-only or writable; read-only, the caret
/// still moves and selects with the keyboard, as in the headless edit.
template <class TEdit> void SetReadOnlyState(TEdit& Edit, bool ReadOnly) {
    Edit.setReadOnly(ReadOnly);
    if (ReadOnly)
        Edit.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

/// The rules of a memo-like headless control applied to a Qt edit widget. The widget keeps
/// its headless control on Host's form and calls the bridge from its event overrides, passing
/// an event on to its Qt base class only when the bridge says so.
class ZORPQT_API TTextEditBridge {
public:
    /// Bridges Widget to Control, whose shared memo state is State.
    TTextEditBridge(QWidget& Widget, TControlHost& Host, fw::TWinControl& Control,
                    TDBMemoState& State, TKeyHandlers Keys);

    /// Runs the control's key rules on a key press; true when the Qt edit should still
    /// handle it (type, move the caret, cut, paste).
    bool KeyPress(const QKeyEvent& Event);
    /// The control enters when the widget gets the focus.
    void FocusIn() { FHost.FocusIn(FControl); }
    /// The control exits when the focus moves to another widget (TControlHost::FocusOut).
    void FocusOut(const QFocusEvent& Event) { FHost.FocusOut(FWidget, Event); }
    /// A double-click loads a value not shown yet; true when it did, and the click is used up.
    bool DoubleClick();
    /// Makes the cut and paste actions of the edit's standard context menu start editing
    /// first, so that they are usable while the loaded value is not edited yet (cut with a
    /// selection, paste with text on the clipboard). Cut and Paste are the widget's own.
    void PrepareContextMenu(QMenu& Menu, bool HasSelection, const std::function<void()>& Cut,
                            const std::function<void()>& Paste);

private:
    QWidget& FWidget;
    TControlHost& FHost;
    fw::TWinControl& FControl;
    TDBMemoState& FState;
    TKeyHandlers FKeys;
};

} // namespace zorp::qt
