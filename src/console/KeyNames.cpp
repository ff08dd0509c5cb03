#include "console/KeyNames.hpp"

#include "platform/KeyCodes.hpp"

#include <utility>

namespace zorlo {

namespace {

constexpr int kFunctionKeys = 24;
constexpr int kNumpad0 = 96;

// A key's name for the user, and its name in the desktop's shortcut syntax
// (the keysym names of xkbcommon and X11). Left and right modifier codes share
// the generic names for the user: the hotkey polls either key.
struct Names {
    int code;
    TextView user;
    TextView keysym;
};

constexpr Names kNames[] = {
    {vk::Backspace, u"Backspace", u"BackSpace"},
    {9, u"Tab", u"Tab"},
    {12, u"Clear", u"Clear"},
    {vk::Enter, u"Enter", u"Return"},
    {vk::Shift, u"Shift", u"Shift_L"},
    {vk::Control, u"Ctrl", u"Control_L"},
    {vk::Alt, u"Alt", u"Alt_L"},
    {19, u"Pause", u"Pause"},
    {20, u"Caps Lock", u"Caps_Lock"},
    {vk::Escape, u"Esc", u"Escape"},
    {32, u"Space", u"space"},
    {33, u"Page Up", u"Page_Up"},
    {34, u"Page Down", u"Page_Down"},
    {vk::End, u"End", u"End"},
    {vk::Home, u"Home", u"Home"},
    {vk::Left, u"Left", u"Left"},
    {vk::Up, u"Up", u"Up"},
    {vk::Right, u"Right", u"Right"},
    {vk::Down, u"Down", u"Down"},
    {41, u"Select", u"Select"},
    {43, u"Execute", u"Execute"},
    {44, u"Print Screen", u"Print"},
    {45, u"Insert", u"Insert"},
    {vk::Delete, u"Delete", u"Delete"},
    {47, u"Help", u"Help"},
    {91, u"Left Win", u"Super_L"},
    {92, u"Right Win", u"Super_R"},
    {93, u"Menu", u"Menu"},
    {106, u"Num *", u"KP_Multiply"},
    {107, u"Num +", u"KP_Add"},
    {108, u"Num Separator", u"KP_Separator"},
    {109, u"Num -", u"KP_Subtract"},
    {110, u"Num .", u"KP_Decimal"},
    {111, u"Num /", u"KP_Divide"},
    {144, u"Num Lock", u"Num_Lock"},
    {145, u"Scroll Lock", u"Scroll_Lock"},
    {160, u"Shift", u"Shift_L"},
    {161, u"Shift", u"Shift_R"},
    {162, u"Ctrl", u"Control_L"},
    {163, u"Ctrl", u"Control_R"},
    {164, u"Alt", u"Alt_L"},
    {165, u"Alt", u"Alt_R"},
    {186, u";", u"semicolon"},
    {187, u"=", u"equal"},
    {188, u",", u"comma"},
    {189, u"-", u"minus"},
    {190, u".", u"period"},
    {191, u"/", u"slash"},
    {192, u"`", u"grave"},
    {219, u"[", u"bracketleft"},
    {220, u"\\", u"backslash"},
    {221, u"]", u"bracketright"},
    {222, u"'", u"apostrophe"},
    {226, u"<", u"less"},
};

// The entry for a key, or null for one that the table does not name.
const Names* namesOf(int virtualKey) {
    for (const auto& names : kNames) {
        if (names.code == virtualKey) {
            return &names;
        }
    }
    return nullptr;
}

bool isDigitOrLetter(int virtualKey) {
    return (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z');
}

bool isFunctionKey(int virtualKey) {
    return virtualKey >= vk::F1 && virtualKey < vk::F1 + kFunctionKeys;
}

bool isNumpadDigit(int virtualKey) {
    return virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9;
}

// The shortcut syntax's names of the modifiers the capture records.
constexpr std::pair<int, TextView> kTriggerModifiers[] = {
    {vk::Shift, u"SHIFT"}, {vk::Control, u"CTRL"}, {vk::Alt, u"ALT"}};

} // namespace

Text keyName(int virtualKey) {
    if (isDigitOrLetter(virtualKey)) {
        return Text(1, static_cast<char16_t>(virtualKey));
    }
    if (isFunctionKey(virtualKey)) {
        return u"F" + toText(virtualKey - vk::F1 + 1);
    }
    if (isNumpadDigit(virtualKey)) {
        return u"Num " + toText(virtualKey - kNumpad0);
    }
    if (const Names* names = namesOf(virtualKey)) {
        return Text(names->user);
    }
    return u"Key " + toText(virtualKey);
}

Text hotkeyName(int virtualKey, int modifier) {
    if (modifier == 0) {
        return keyName(virtualKey);
    }
    return keyName(modifier) + u"+" + keyName(virtualKey);
}

Text shortcutTrigger(int virtualKey, int modifier) {
    Text key;
    if (isDigitOrLetter(virtualKey)) {
        // Letters by their unshifted keysym: "a", as the key produces it.
        key =
            Text(1, static_cast<char16_t>(virtualKey >= 'A' ? virtualKey - 'A' + 'a' : virtualKey));
    } else if (isFunctionKey(virtualKey)) {
        key = keyName(virtualKey);
    } else if (isNumpadDigit(virtualKey)) {
        key = u"KP_" + toText(virtualKey - kNumpad0);
    } else if (const Names* names = namesOf(virtualKey)) {
        key = Text(names->keysym);
    } else {
        return {};
    }
    if (modifier == 0) {
        return key;
    }
    for (const auto& [code, name] : kTriggerModifiers) {
        if (code == modifier) {
            return Text(name) + u"+" + key;
        }
    }
    // Binding the key without the modifier the user chose would take the bare
    // key from every other program.
    return {};
}

} // namespace zorlo
