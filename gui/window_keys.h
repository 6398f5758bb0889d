#pragma once
// Keys the main window's commands own, which a text box must not take for itself: Ctrl+Y is
// a display mode here, not redo; Ctrl+Enter confirms instead of breaking the line; Alt+letter
// opens a word's meanings.

#include <qnamespace.h>

namespace tavricat::gui {

inline bool isWindowCommandKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier)
        switch (key) {
            case Qt::Key_Y: case Qt::Key_E: case Qt::Key_T: case Qt::Key_R: case Qt::Key_D:
            case Qt::Key_J: case Qt::Key_K: case Qt::Key_L: case Qt::Key_W: case Qt::Key_G:
            case Qt::Key_Return: case Qt::Key_Enter:
                return true;
            default:
                return false;
        }
    // Alt+letter and Alt+[ / Alt+] reach the interactive area.
    if (mods == Qt::AltModifier) return (key >= Qt::Key_A && key <= Qt::Key_Z) || key == Qt::Key_BracketLeft || key == Qt::Key_BracketRight;
    return mods == Qt::NoModifier && (key == Qt::Key_F8 || key == Qt::Key_F11 || key == Qt::Key_F12);
}

}  // namespace tavricat::gui
