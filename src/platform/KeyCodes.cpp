#include "platform/KeyCodes.h"

#include <QKeyEvent>

namespace keys {

int virtualKey(int k, const QString& text) {
    // Punctuation is recognised by the character typed, so layouts that put ':' or ',' elsewhere agree.
    if (text == QStringLiteral(":") || text == QStringLiteral(";") || k == Qt::Key_Colon ||
        k == Qt::Key_Semicolon)
        return VK_OEM_1;
    if (text == QStringLiteral(",") || k == Qt::Key_Comma)
        return VK_OEM_Comma;
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return VK_F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace:
        return VK_Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_Return;
    case Qt::Key_Shift:
        return VK_Shift;
    case Qt::Key_Control:
    case Qt::Key_Meta:
        return VK_Control;
    case Qt::Key_Alt:
        return VK_Menu;
    case Qt::Key_Escape:
        return VK_Escape;
    case Qt::Key_Space:
        return VK_Space;
    case Qt::Key_PageUp:
        return VK_Prior;
    case Qt::Key_PageDown:
        return VK_Next;
    case Qt::Key_End:
        return VK_End;
    case Qt::Key_Home:
        return VK_Home;
    case Qt::Key_Left:
        return VK_Left;
    case Qt::Key_Up:
        return VK_Up;
    case Qt::Key_Right:
        return VK_Right;
    case Qt::Key_Down:
        return VK_Down;
    case Qt::Key_Insert:
        return VK_Insert;
    case Qt::Key_Delete:
        return VK_Delete;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return VK_OEM_Plus;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return VK_OEM_Minus;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return VK_OEM_Period;
    default:
        return 0;
    }
}

int virtualKey(const QKeyEvent& e) {
    return virtualKey(e.key(), e.text());
}

int shiftMask(Qt::KeyboardModifiers m) {
    int mask = 0;
    if (m & Qt::ShiftModifier)
        mask |= ShiftMaskShift;
    if (m & Qt::ControlModifier)
        mask |= ShiftMaskCtrl;
    if (m & Qt::AltModifier)
        mask |= ShiftMaskAlt;
    return mask;
}

} // namespace keys
