#include "ui/win32/Win32Dialogs.hpp"

#include "platform/win32/WideText.hpp"
#include "ui/win32/InputBox.hpp"
#include "ui/win32/Twips.hpp"

namespace zorlo::win32 {

void Win32Dialogs::messageBox(const Text& text, const Text& title) {
    MessageBoxW(owner_, toWide(text).c_str(), toWide(title).c_str(), MB_OK);
}

bool Win32Dialogs::question(const Text& text, const Text& title) {
    return MessageBoxW(owner_, toWide(text).c_str(), toWide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<Text> Win32Dialogs::inputBox(const Text& prompt, const Text& title,
                                           const Text& defaultText, int leftTwips, int topTwips) {
    const bool placed = leftTwips >= 0 && topTwips >= 0;
    const auto answer = InputBox::show(owner_, toWide(prompt), toWide(title), toWide(defaultText),
                                       placed ? Twips::toPixelsX(leftTwips) : -1,
                                       placed ? Twips::toPixelsY(topTwips) : -1);
    if (!answer) {
        return std::nullopt;
    }
    return fromWide(*answer);
}

} // namespace zorlo::win32
