#include "ui/Foreground.hpp"

#include <QWidget>

namespace zorlo {

bool Foreground::isForeground(const QWidget& window) const {
    return window.isActiveWindow();
}

void Foreground::bringToFront(QWidget& window) {
    window.raise();
    window.activateWindow();
}

void Foreground::setForeground(QWidget& window) {
    window.activateWindow();
}

} // namespace zorlo
