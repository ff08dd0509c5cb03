#include "platform/x11/X11KeyTranslator.hpp"

#include "platform/x11/VirtualKeys.hpp"
#include "platform/x11/XDisplay.hpp"

#include <QGuiApplication>

namespace zorlo {

int X11KeyTranslator::virtualKey(const QKeyEvent& event) const {
    if (event.nativeScanCode() != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        const unsigned long keysym = x11::XDisplay::instance().baseKeysym(event.nativeScanCode());
        if (keysym != 0 && !x11::isKeypadKeysym(keysym)) {
            if (const int code = x11::virtualKeyForKeysym(keysym); code != 0) {
                return code;
            }
        }
    }
    return KeyTranslator::virtualKey(event);
}

} // namespace zorlo
