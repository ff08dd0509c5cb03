#include "platform/x11/VirtualKeys.hpp"

#include "platform/KeyCodes.hpp"

#define XK_MISCELLANY
#define XK_LATIN1
#define XK_XKB_KEYS
#include <X11/keysymdef.h>

#include <array>
#include <utility>

namespace zorlo::x11 {

namespace {

struct Pair {
    int virtualKey;
    unsigned long keysym;
};

// Generic modifier codes come before their left/right codes, so that a keysym
// read back from a key maps to the code the hotkey capture stores.
constexpr std::array kTable{
    Pair{8, XK_BackSpace},      Pair{9, XK_Tab},
    Pair{9, XK_ISO_Left_Tab},   Pair{12, XK_Clear},
    Pair{13, XK_Return},        Pair{13, XK_KP_Enter},
    Pair{16, XK_Shift_L},       Pair{16, XK_Shift_R},
    Pair{17, XK_Control_L},     Pair{17, XK_Control_R},
    Pair{18, XK_Alt_L},         Pair{18, XK_Alt_R},
    Pair{19, XK_Pause},         Pair{20, XK_Caps_Lock},
    Pair{27, XK_Escape},        Pair{32, XK_space},
    Pair{33, XK_Prior},         Pair{34, XK_Next},
    Pair{35, XK_End},           Pair{36, XK_Home},
    Pair{37, XK_Left},          Pair{38, XK_Up},
    Pair{39, XK_Right},         Pair{40, XK_Down},
    Pair{41, XK_Select},        Pair{43, XK_Execute},
    Pair{44, XK_Print},         Pair{45, XK_Insert},
    Pair{46, XK_Delete},        Pair{47, XK_Help},
    Pair{91, XK_Super_L},       Pair{92, XK_Super_R},
    Pair{93, XK_Menu},          Pair{96, XK_KP_0},
    Pair{97, XK_KP_1},          Pair{98, XK_KP_2},
    Pair{99, XK_KP_3},          Pair{100, XK_KP_4},
    Pair{101, XK_KP_5},         Pair{102, XK_KP_6},
    Pair{103, XK_KP_7},         Pair{104, XK_KP_8},
    Pair{105, XK_KP_9},         Pair{106, XK_KP_Multiply},
    Pair{107, XK_KP_Add},       Pair{108, XK_KP_Separator},
    Pair{109, XK_KP_Subtract},  Pair{110, XK_KP_Decimal},
    Pair{111, XK_KP_Divide},    Pair{144, XK_Num_Lock},
    Pair{145, XK_Scroll_Lock},  Pair{160, XK_Shift_L},
    Pair{161, XK_Shift_R},      Pair{162, XK_Control_L},
    Pair{163, XK_Control_R},    Pair{164, XK_Alt_L},
    Pair{165, XK_Alt_R},        Pair{186, XK_semicolon},
    Pair{187, XK_equal},        Pair{188, XK_comma},
    Pair{189, XK_minus},        Pair{190, XK_period},
    Pair{191, XK_slash},        Pair{192, XK_grave},
    Pair{219, XK_bracketleft},  Pair{220, XK_backslash},
    Pair{221, XK_bracketright}, Pair{222, XK_apostrophe},
    Pair{226, XK_less},
};

constexpr int kFunctionKeys = 24;

} // namespace

std::vector<unsigned long> keysymsForVirtualKey(int virtualKey) {
    if (virtualKey >= '0' && virtualKey <= '9') {
        return {static_cast<unsigned long>(XK_0 + (virtualKey - '0'))};
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return {static_cast<unsigned long>(XK_a + (virtualKey - 'A'))};
    }
    if (virtualKey >= vk::F1 && virtualKey < vk::F1 + kFunctionKeys) {
        return {static_cast<unsigned long>(XK_F1 + (virtualKey - vk::F1))};
    }
    std::vector<unsigned long> keysyms;
    for (const auto& pair : kTable) {
        if (pair.virtualKey == virtualKey) {
            keysyms.push_back(pair.keysym);
        }
    }
    return keysyms;
}

int virtualKeyForKeysym(unsigned long keysym) {
    if (keysym >= XK_0 && keysym <= XK_9) {
        return static_cast<int>('0' + (keysym - XK_0));
    }
    if (keysym >= XK_a && keysym <= XK_z) {
        return static_cast<int>('A' + (keysym - XK_a));
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return static_cast<int>('A' + (keysym - XK_A));
    }
    if (keysym >= XK_F1 && keysym < XK_F1 + kFunctionKeys) {
        return static_cast<int>(vk::F1 + (keysym - XK_F1));
    }
    for (const auto& pair : kTable) {
        if (pair.keysym == keysym) {
            return pair.virtualKey;
        }
    }
    return 0;
}

bool isKeypadKeysym(unsigned long keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}

} // namespace zorlo::x11
