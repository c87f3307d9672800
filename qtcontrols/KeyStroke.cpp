#include "qtcontrols/KeyStroke.h"

#include "framework/controls/Keyboard.h"

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
    stroke.Shift = ShiftState(Event.modifiers());
    stroke.Char = StrokeChar(Event, stroke.Key, stroke.Shift);
    return stroke;
}

fw::TShiftState ShiftState(Qt::KeyboardModifiers Modifiers) {
    fw::TShiftState shift = 0;
    if (Modifiers & Qt::ShiftModifier)
        shift |= fw::ssShift;
    if (Modifiers & Qt::ControlModifier)
        shift |= fw::ssCtrl;
    if (Modifiers & Qt::AltModifier)
        shift |= fw::ssAlt;
    return shift;
}

TStrokeResult RunStroke(const TKeyStroke& Stroke, const TKeyHandlers& Handlers) {
    const fw::TKeyboardShiftScope shift(Stroke.Shift);
    TStrokeResult result;
    uint16_t key = Stroke.Key;
    if (key != 0) {
        Handlers.KeyDown(key, Stroke.Shift);
        if (key == 0) {
            result.Swallowed = true;
            return result;
        }
    }
    result.Char = Stroke.Char;
    if (result.Char != 0) {
        Handlers.KeyPress(result.Char);
        result.Swallowed = result.Char == 0;
    }
    return result;
}

} // namespace zorp::qt
