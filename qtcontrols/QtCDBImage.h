// TQtCDBImage: the compressed image control as a Qt 6 widget.
#pragma once

#include "../dbcontrols/CDBImage.h"
#include "ControlHost.h"
#include "Export.h"

#include <QImage>
#include <QWidget>
#include <functional>

namespace zorp::qt {

/// A widget showing the picture held in one column of a data set's current record, compressed
/// through a TZorp. The binding and every rule (loading and AutoDisplay, Center and Stretch,
/// pasting into edit mode, Escape, writing on post as a bitmap) are those of the headless
/// TCDBImage the widget keeps, reached through Control(): set its DataSource, DataField,
/// CompressSource and CompressionMethod there. The widget paints what the control would paint
/// at its own size, hands it the user's keys, focus changes and clicks, and bridges Qt's
/// clipboard to the headless one around copying, cutting and pasting.
class ZORPQT_API TQtCDBImage : public QWidget {
    Q_OBJECT

public:
    /// Makes the widget, 105 by 105 pixels like the control, with an unbound control.
    explicit TQtCDBImage(QWidget* Parent = nullptr);
    /// Frees the control, which releases its compressed field.
    ~TQtCDBImage() override;

    /// The headless control that binds the column and keeps the rules.
    TCDBImage& Control();

    /// 105 by 105 pixels, the control's own size.
    QSize sizeHint() const override;

public slots:
    /// Puts the picture on Qt's clipboard, when there is one.
    void CopyToClipboard();
    /// Puts the picture on Qt's clipboard and clears it, when there is one and the record can
    /// be edited.
    void CutToClipboard();
    /// Replaces the picture with the image on Qt's clipboard, when it holds one and the record
    /// can be edited; the record is then modified.
    void PasteFromClipboard();

protected:
    /// Accepts the keys the control acts on, so that they reach it before shortcuts.
    bool event(QEvent* Event) override;
    /// The picture where the control puts it, or the placeholder; a frame while focused.
    void paintEvent(QPaintEvent* Event) override;
    /// Keeps the control's bounds equal to the widget's size.
    void resizeEvent(QResizeEvent* Event) override;
    /// The control's key rules, with the clipboards bridged around them.
    void keyPressEvent(QKeyEvent* Event) override;
    /// The control enters.
    void focusInEvent(QFocusEvent* Event) override;
    /// The control exits; when it cannot write its record the widget takes the focus back.
    void focusOutEvent(QFocusEvent* Event) override;
    /// The control's left-button handling.
    /// @{
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    /// @}

private:
    class TControl;
    // Runs Action as RunReported does; with Pastes the Qt clipboard's image is handed to the
    // headless clipboard first, and a bitmap the action puts there goes on to Qt's.
    void RunWithClipboard(bool Pastes, const std::function<void()>& Action);
    // The picture's bitmap converted for painting; null when there is none.
    const QImage& ShownImage();
    // Hands a left-button message to the control.
    void PerformMouse(uint32_t Msg, const QMouseEvent& Event);

    TControlHost FHost;
    TControl* FControl; // owned by FHost's form
    QImage FImage;
    bool FImageStale = true;
};

} // namespace zorp::qt
