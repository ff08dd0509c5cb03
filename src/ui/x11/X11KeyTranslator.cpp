#include "ui/x11/X11KeyTranslator.hpp"

#include "platform/x11/VirtualKeys.hpp"
#include "platform/x11/XDisplay.hpp"

#include <QGuiApplication>

namespace zorlo {

X11KeyTranslator::X11KeyTranslator(std::shared_ptr<const x11::XDisplay> display)
    : display_(std::move(display)) {}

int X11KeyTranslator::virtualKey(const QKeyEvent& event) const {
    if (event.nativeScanCode() != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        const unsigned long keysym = display_->baseKeysym(event.nativeScanCode());
        if (keysym != 0 && !x11::isKeypadKeysym(keysym)) {
            if (const int code = x11::virtualKeyForKeysym(keysym); code != 0) {
                return code;
            }
        }
    }
    return KeyTranslator::virtualKey(event);
}

} // namespace zorlo
