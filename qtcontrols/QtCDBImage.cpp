#include "qtcontrols/QtCDBImage.h"

#include "framework/controls/Canvas.h"
#include "framework/controls/Clipboard.h"
#include "qtcontrols/ImageConversion.h"
#include "qtcontrols/KeyStroke.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zorp::qt {
namespace {

QColor ToQColor(fw::TColor Color) {
    const fw::TColor rgb = fw::ColorToRGB(Color);
    return {fw::GetRValue(rgb), fw::GetGValue(rgb), fw::GetBValue(rgb)};
}

QRect ToQRect(const fw::TRect& R) {
    return {R.Left, R.Top, R.Width(), R.Height()};
}

// The strokes that paste: Shift+Insert (KeyDown) and Ctrl+V (KeyPress).
bool Pastes(const TKeyStroke& Stroke) {
    return Stroke.Char == 22 || (Stroke.Key == fw::VK_INSERT && (Stroke.Shift & fw::ssShift));
}

// The strokes the control acts on: copying, cutting and pasting, Enter and Escape.
bool ControlKey(const TKeyStroke& Stroke) {
    switch (Stroke.Char) {
    case 3:
    case 13:
    case 22:
    case 24:
    case 27:
        return true;
    default:
        break;
    }
    return (Stroke.Key == fw::VK_INSERT && (Stroke.Shift & (fw::ssShift | fw::ssCtrl))) ||
           (Stroke.Key == fw::VK_DELETE && (Stroke.Shift & fw::ssShift));
}

// Puts the Qt clipboard's image on the headless clipboard, or takes a bitmap off it when Qt's
// holds none, so that the control pastes what the user copied anywhere.
void TakeQtClipboard() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (!image.isNull()) {
        fw::TBitmap bitmap;
        FromQImage(image, bitmap);
        fw::Clipboard().Assign(bitmap);
    } else if (fw::Clipboard().HasFormat(fw::CF_BITMAP)) {
        fw::Clipboard().Clear();
    }
}

// Puts the headless clipboard's bitmap on Qt's.
void GiveQtClipboard() {
    if (!fw::Clipboard().HasFormat(fw::CF_BITMAP))
        return;
    fw::TBitmap bitmap;
    fw::Clipboard().AssignTo(bitmap);
    QGuiApplication::clipboard()->setImage(ToQImage(bitmap));
}

} // namespace

// The headless image with its key handlers reachable from the widget, repainting the widget
// whenever it asks to be repainted.
class TQtCDBImage::TControl final : public TCDBImage {
public:
    TControl(TQtCDBImage& Widget, fw::TComponent* AOwner) : TCDBImage(AOwner), FWidget(&Widget) {
        // The control's own handler first, then the converted image is out of date.
        Picture().OnChange = [this, own = std::move(Picture().OnChange)] {
            if (FWidget != nullptr)
                FWidget->FImageStale = true;
            if (own)
                own();
        };
    }
    void StrokeDown(uint16_t& Key, fw::TShiftState Shift) { KeyDown(Key, Shift); }
    void StrokePress(char& Key) { KeyPress(Key); }
    void Invalidate() override {
        TCDBImage::Invalidate();
        if (FWidget != nullptr)
            FWidget->update();
    }
    // The widget is going: nothing to repaint any more.
    void Detach() { FWidget = nullptr; }

private:
    TQtCDBImage* FWidget;
};

TQtCDBImage::TQtCDBImage(QWidget* Parent)
    : QWidget(Parent), FControl(new TControl(*this, &FHost.Form())) {
    FControl->SetParent(&FHost.Form());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    resize(sizeHint());
    FControl->SetBounds(0, 0, width(), height());
}

TQtCDBImage::~TQtCDBImage() {
    FControl->Detach();
}

TCDBImage& TQtCDBImage::Control() {
    return *FControl;
}

QSize TQtCDBImage::sizeHint() const {
    return {105, 105};
}

void TQtCDBImage::RunWithClipboard(bool Pastes, const std::function<void()>& Action) {
    RunReported([&] {
        if (Pastes)
            TakeQtClipboard();
        const int before = fw::Clipboard().ChangeCount();
        Action();
        if (fw::Clipboard().ChangeCount() != before)
            GiveQtClipboard(); // copied or cut
    });
}

void TQtCDBImage::CopyToClipboard() {
    RunWithClipboard(false, [this] { FControl->CopyToClipboard(); });
}

void TQtCDBImage::CutToClipboard() {
    RunWithClipboard(false, [this] { FControl->CutToClipboard(); });
}

void TQtCDBImage::PasteFromClipboard() {
    RunWithClipboard(true, [this] { FControl->PasteFromClipboard(); });
}

const QImage& TQtCDBImage::ShownImage() {
    if (FImageStale) {
        const auto* bitmap = dynamic_cast<const fw::TBitmap*>(FControl->Picture().Graphic());
        FImage = bitmap != nullptr ? ToQImage(*bitmap) : QImage();
        FImageStale = false;
    }
    return FImage;
}

bool TQtCDBImage::event(QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride &&
        ControlKey(TranslateKey(*static_cast<QKeyEvent*>(Event)))) {
        Event->accept();
        return true;
    }
    return QWidget::event(Event);
}

void TQtCDBImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const fw::TRect client = FControl->ClientRect();
    const QRect area = ToQRect(client);
    const QColor back = ToQColor(FControl->Color());
    if (FControl->PictureLoaded()) {
        const QImage& image = ShownImage();
        if (image.isNull()) {
            painter.fillRect(area, back);
        } else {
            const QRect r = ToQRect(TCDBImage::PictureRect(
                client, image.width(), image.height(), FControl->Stretch(), FControl->Center()));
            if (FControl->Stretch())
                painter.drawImage(r, image);
            else
                painter.drawImage(r.topLeft(), image);
            // Only what lies outside the picture is filled.
            painter.setClipRegion(QRegion(area).subtracted(QRegion(r)));
            painter.fillRect(area, back);
            painter.setClipping(false);
        }
    } else {
        painter.fillRect(area, back);
        painter.setPen(ToQColor(FControl->Font().Color()));
        painter.setFont(font());
        painter.drawText(area, Qt::AlignCenter,
                         QString::fromStdString(FControl->PlaceholderText()));
    }
    if (hasFocus()) {
        // A one-pixel frame just inside the client area, as FrameRect draws it.
        const QColor frame = ToQColor(fw::clWindowFrame);
        painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), frame);
        painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), frame);
        painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), frame);
        painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), frame);
    }
}

void TQtCDBImage::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    RunReported([this] { FControl->SetBounds(0, 0, width(), height()); });
}

void TQtCDBImage::keyPressEvent(QKeyEvent* Event) {
    const TKeyStroke stroke = TranslateKey(*Event);
    RunWithClipboard(Pastes(stroke), [&] {
        RunStroke(stroke, {[this](uint16_t& Key, fw::TShiftState Shift) {
                               FControl->StrokeDown(Key, Shift);
                           },
                           [this](char& Key) { FControl->StrokePress(Key); }});
    });
    if (!ControlKey(stroke))
        QWidget::keyPressEvent(Event); // on to the parent
}

void TQtCDBImage::focusInEvent(QFocusEvent* Event) {
    QWidget::focusInEvent(Event);
    FHost.FocusIn(*FControl);
    update(); // the frame
}

void TQtCDBImage::focusOutEvent(QFocusEvent* Event) {
    QWidget::focusOutEvent(Event);
    update();
    FHost.FocusOut(*this, *Event);
}

void TQtCDBImage::PerformMouse(uint32_t Msg, const QMouseEvent& Event) {
    const QPoint at = Event.position().toPoint();
    RunReported([&] {
        FControl->Perform(
            Msg, ShiftState(Event.modifiers()),
            fw::MakeLParam(static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())));
    });
}

void TQtCDBImage::mousePressEvent(QMouseEvent* Event) {
    QWidget::mousePressEvent(Event);
    if (Event->button() == Qt::LeftButton)
        PerformMouse(fw::WM_LBUTTONDOWN, *Event);
}

void TQtCDBImage::mouseReleaseEvent(QMouseEvent* Event) {
    QWidget::mouseReleaseEvent(Event);
    if (Event->button() == Qt::LeftButton)
        PerformMouse(fw::WM_LBUTTONUP, *Event);
}

void TQtCDBImage::mouseDoubleClickEvent(QMouseEvent* Event) {
    QWidget::mouseDoubleClickEvent(Event);
    if (Event->button() == Qt::LeftButton)
        PerformMouse(fw::WM_LBUTTONDBLCLK, *Event); // loads the picture
}

} // namespace zorp::qt
