#include "console/KeyNames.hpp"

#include "platform/KeyCodes.hpp"

#include <utility>

namespace zorlo {

namespace {

constexpr int kFunctionKeys = 24;
constexpr int kNumpad0 = 96;

// Left and right modifier codes share the generic names: the hotkey polls
// either key.
constexpr std::pair<int, TextView> kNames[] = {
    {vk::Backspace, u"Backspace"},
    {9, u"Tab"},
    {12, u"Clear"},
    {vk::Enter, u"Enter"},
    {vk::Shift, u"Shift"},
    {vk::Control, u"Ctrl"},
    {vk::Alt, u"Alt"},
    {19, u"Pause"},
    {20, u"Caps Lock"},
    {vk::Escape, u"Esc"},
    {32, u"Space"},
    {33, u"Page Up"},
    {34, u"Page Down"},
    {vk::End, u"End"},
    {vk::Home, u"Home"},
    {vk::Left, u"Left"},
    {vk::Up, u"Up"},
    {vk::Right, u"Right"},
    {vk::Down, u"Down"},
    {41, u"Select"},
    {43, u"Execute"},
    {44, u"Print Screen"},
    {45, u"Insert"},
    {vk::Delete, u"Delete"},
    {47, u"Help"},
    {91, u"Left Win"},
    {92, u"Right Win"},
    {93, u"Menu"},
    {106, u"Num *"},
    {107, u"Num +"},
    {108, u"Num Separator"},
    {109, u"Num -"},
    {110, u"Num ."},
    {111, u"Num /"},
    {144, u"Num Lock"},
    {145, u"Scroll Lock"},
    {160, u"Shift"},
    {161, u"Shift"},
    {162, u"Ctrl"},
    {163, u"Ctrl"},
    {164, u"Alt"},
    {165, u"Alt"},
    {186, u";"},
    {187, u"="},
    {188, u","},
    {189, u"-"},
    {190, u"."},
    {191, u"/"},
    {192, u"`"},
    {219, u"["},
    {220, u"\\"},
    {221, u"]"},
    {222, u"'"},
    {226, u"<"},
};

} // namespace

Text keyName(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return Text(1, static_cast<char16_t>(virtualKey));
    }
    if (virtualKey >= vk::F1 && virtualKey < vk::F1 + kFunctionKeys) {
        return u"F" + toText(virtualKey - vk::F1 + 1);
    }
    if (virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9) {
        return u"Num " + toText(virtualKey - kNumpad0);
    }
    for (const auto& [code, name] : kNames) {
        if (code == virtualKey) {
            return Text(name);
        }
    }
    return u"Key " + toText(virtualKey);
}

Text hotkeyName(int virtualKey, int modifier) {
    if (modifier == 0) {
        return keyName(virtualKey);
    }
    return keyName(modifier) + u"+" + keyName(virtualKey);
}

} // namespace zorlo
