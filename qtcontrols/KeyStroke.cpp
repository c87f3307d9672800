#include "qtcontrols/KeyStroke.h"

#include <QKeyEvent>

namespace zorp::qt {
namespace {

uint16_t VirtualKey(int Key) {
    if ((Key >= Qt::Key_A && Key <= Qt::Key_Z) || (Key >= Qt::Key_0 && Key <= Qt::Key_9))
        return static_cast<uint16_t>(Key); // the same codes as the letters and digits
    switch (Key) {
    case Qt::Key_Backspace:
        return fw::VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return fw::VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return fw::VK_RETURN;
    case Qt::Key_Escape:
        return fw::VK_ESCAPE;
    case Qt::Key_Space:
        return fw::VK_SPACE;
    case Qt::Key_PageUp:
        return fw::VK_PRIOR;
    case Qt::Key_PageDown:
        return fw::VK_NEXT;
    case Qt::Key_End:
        return fw::VK_END;
    case Qt::Key_Home:
        return fw::VK_HOME;
    case Qt::Key_Left:
        return fw::VK_LEFT;
    case Qt::Key_Up:
        return fw::VK_UP;
    case Qt::Key_Right:
        return fw::VK_RIGHT;
    case Qt::Key_Down:
        return fw::VK_DOWN;
    case Qt::Key_Insert:
        return fw::VK_INSERT;
    case Qt::Key_Delete:
        return fw::VK_DELETE;
    default:
        return 0;
    }
}

char StrokeChar(const QKeyEvent& Event, uint16_t Key, fw::TShiftState Shift) {
    if ((Shift & fw::ssCtrl) && Key >= 'A' && Key <= 'Z')
        return static_cast<char>(Key - 'A' + 1); // Ctrl+C 3, Ctrl+V 22, Ctrl+X 24
    switch (Key) {
    case fw::VK_BACK:
        return 8;
    case fw::VK_TAB:
        return 9;
    case fw::VK_RETURN:
        return (Shift & fw::ssCtrl) ? 10 : 13;
    case fw::VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (Shift & (fw::ssCtrl | fw::ssAlt))
        return 0;
    const QByteArray typed = Event.text().toUtf8();
    if (typed.isEmpty() || static_cast<unsigned char>(typed[0]) < 32 || typed[0] == 127)
        return 0;
    return typed[0];
}

} // namespace

TKeyStroke TranslateKey(const QKeyEvent& Event) {
    TKeyStroke stroke;
    stroke.Key = VirtualKey(Event.key());
    const Qt::KeyboardModifiers modifiers = Event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        stroke.Shift |= fw::ssShift;
    if (modifiers & Qt::ControlModifier)
        stroke.Shift |= fw::ssCtrl;
    if (modifiers & Qt::AltModifier)
        stroke.Shift |= fw::ssAlt;
    stroke.Char = StrokeChar(Event, stroke.Key, stroke.Shift);
    return stroke;
}

} // namespace zorp::qt
