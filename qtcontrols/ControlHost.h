// The hidden headless form under a Qt widget, and the guard that keeps the
// headless layer's exceptions out of Qt's event loop.
#pragma once

#include "../framework/controls/Forms.h"
#include "Export.h"

#include <functional>
#include <memory>

class QFocusEvent;
class QWidget;

namespace zorp::qt {

/// Runs Action. An exception it raises (a wrong key, a damaged value, a record that cannot
/// be written) is shown with fw::ShowMessage, the program's message box, instead of crossing
/// Qt's event loop. False when Action raised.
ZORPQT_API bool RunReported(const std::function<void()>& Action);

/// The hidden form a Qt widget keeps its headless control on. The form owns the control, so
/// a compressed field the control creates is freed with the widget; and the form's focus is
/// how the control learns that the widget got or lost the focus.
class ZORPQT_API TControlHost {
public:
    /// Makes the form, shown so that its controls can take the focus.
    TControlHost();
    /// Frees the form and with it the control and what it owns.
    ~TControlHost();
    TControlHost(const TControlHost&) = delete;
    TControlHost& operator=(const TControlHost&) = delete;

    /// The form: the owner and the parent of the widget's headless control.
    fw::TForm& Form() { return *FForm; }
    /// The widget got the focus: Control enters (CM_ENTER), unless it has not left since it
    /// last entered.
    void FocusIn(fw::TWinControl& Control);
    /// The widget lost the focus. When it moved to another widget (not to a popup menu or
    /// another window) the control exits (CM_EXIT), which may write the record; when that
    /// fails, the error has been shown and Widget takes the focus back, as the control keeps it.
    void FocusOut(QWidget& Widget, const QFocusEvent& Event);

private:
    std::unique_ptr<fw::TForm> FForm;
    bool FEntered = false;
};

} // namespace zorp::qt
