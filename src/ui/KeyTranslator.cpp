#include "ui/KeyTranslator.hpp"

#include "platform/KeyCodes.hpp"

#include <array>

namespace zorlo {

namespace {

struct Pair {
    int qtKey;
    int virtualKey;
};

// Shifted symbols map to the key that carries them on a US layout; on X11 the
// native key code gives the real key first, so this only serves other platforms.
constexpr std::array kKeys{
    Pair{Qt::Key_Backspace, 8},      Pair{Qt::Key_Tab, 9},           Pair{Qt::Key_Backtab, 9},
    Pair{Qt::Key_Clear, 12},         Pair{Qt::Key_Return, 13},       Pair{Qt::Key_Enter, 13},
    Pair{Qt::Key_Shift, 16},         Pair{Qt::Key_Control, 17},      Pair{Qt::Key_Alt, 18},
    Pair{Qt::Key_AltGr, 18},         Pair{Qt::Key_Pause, 19},        Pair{Qt::Key_CapsLock, 20},
    Pair{Qt::Key_Escape, 27},        Pair{Qt::Key_Space, 32},        Pair{Qt::Key_PageUp, 33},
    Pair{Qt::Key_PageDown, 34},      Pair{Qt::Key_End, 35},          Pair{Qt::Key_Home, 36},
    Pair{Qt::Key_Left, 37},          Pair{Qt::Key_Up, 38},           Pair{Qt::Key_Right, 39},
    Pair{Qt::Key_Down, 40},          Pair{Qt::Key_Select, 41},       Pair{Qt::Key_Execute, 43},
    Pair{Qt::Key_Print, 44},         Pair{Qt::Key_SysReq, 44},       Pair{Qt::Key_Insert, 45},
    Pair{Qt::Key_Delete, 46},        Pair{Qt::Key_Help, 47},         Pair{Qt::Key_Meta, 91},
    Pair{Qt::Key_Super_L, 91},       Pair{Qt::Key_Super_R, 92},      Pair{Qt::Key_Menu, 93},
    Pair{Qt::Key_NumLock, 144},      Pair{Qt::Key_ScrollLock, 145},  Pair{Qt::Key_Exclam, '1'},
    Pair{Qt::Key_At, '2'},           Pair{Qt::Key_NumberSign, '3'},  Pair{Qt::Key_Dollar, '4'},
    Pair{Qt::Key_Percent, '5'},      Pair{Qt::Key_AsciiCircum, '6'}, Pair{Qt::Key_Ampersand, '7'},
    Pair{Qt::Key_Asterisk, '8'},     Pair{Qt::Key_ParenLeft, '9'},   Pair{Qt::Key_ParenRight, '0'},
    Pair{Qt::Key_Semicolon, 186},    Pair{Qt::Key_Colon, 186},       Pair{Qt::Key_Equal, 187},
    Pair{Qt::Key_Plus, 187},         Pair{Qt::Key_Comma, 188},       Pair{Qt::Key_Less, 188},
    Pair{Qt::Key_Minus, 189},        Pair{Qt::Key_Underscore, 189},  Pair{Qt::Key_Period, 190},
    Pair{Qt::Key_Greater, 190},      Pair{Qt::Key_Slash, 191},       Pair{Qt::Key_Question, 191},
    Pair{Qt::Key_QuoteLeft, 192},    Pair{Qt::Key_AsciiTilde, 192},  Pair{Qt::Key_BracketLeft, 219},
    Pair{Qt::Key_BraceLeft, 219},    Pair{Qt::Key_Backslash, 220},   Pair{Qt::Key_Bar, 220},
    Pair{Qt::Key_BracketRight, 221}, Pair{Qt::Key_BraceRight, 221},  Pair{Qt::Key_Apostrophe, 222},
    Pair{Qt::Key_QuoteDbl, 222},
};

// The keypad's own codes, taken when the toolkit flags the key as a keypad key.
constexpr std::array kKeypad{
    Pair{Qt::Key_Asterisk, 106}, Pair{Qt::Key_Plus, 107},  Pair{Qt::Key_Minus, 109},
    Pair{Qt::Key_Period, 110},   Pair{Qt::Key_Comma, 110}, Pair{Qt::Key_Slash, 111},
};

constexpr int kNumpad0 = 96;

int lookUp(const auto& table, int qtKey) {
    for (const auto& pair : table) {
        if (pair.qtKey == qtKey) {
            return pair.virtualKey;
        }
    }
    return 0;
}

} // namespace

int KeyTranslator::virtualKey(const QKeyEvent& event) const {
    return virtualKeyForQtKey(event.key(), event.modifiers());
}

int KeyTranslator::virtualKeyForQtKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return (keypad ? kNumpad0 : '0') + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 'A' + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return vk::F1 + (qtKey - Qt::Key_F1);
    }
    if (keypad) {
        if (const int code = lookUp(kKeypad, qtKey); code != 0) {
            return code;
        }
    }
    return lookUp(kKeys, qtKey);
}

int KeyTranslator::shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        shift |= 1;
    }
    if (modifiers.testFlag(Qt::ControlModifier)) {
        shift |= 2;
    }
    if (modifiers.testFlag(Qt::AltModifier)) {
        shift |= 4;
    }
    return shift;
}

int KeyTranslator::mouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace zorlo
