#pragma once

#include <QKeyEvent>

namespace zorlo {

// Turns the toolkit's key events into Windows virtual-key codes and shift
// states, the units the engine and the parameter file use on every platform.
class KeyTranslator {
  public:
    virtual ~KeyTranslator() = default;
    // 0 when the key has no virtual-key code.
    virtual int virtualKey(const QKeyEvent& event) const;

    // From the toolkit's key alone: the fallback where the native key is unknown.
    static int virtualKeyForQtKey(int qtKey, Qt::KeyboardModifiers modifiers);
    // 1 Shift, 2 Ctrl, 4 Alt, added together.
    static int shiftState(Qt::KeyboardModifiers modifiers);
    // 1 left, 2 right, 4 middle.
    static int mouseButton(Qt::MouseButton button);
};

} // namespace zorlo
