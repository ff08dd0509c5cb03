#include "ui/QtCaptureWindow.hpp"

#include "ui/FrmKey.hpp"
#include "ui/Twips.hpp"

namespace zorlo {

void QtCaptureWindow::show(HotkeyCapture& capture, int leftTwips, int topTwips) {
    window_.open(capture, toPixels(leftTwips), toPixels(topTwips));
}

void QtCaptureWindow::close() {
    window_.shut();
}

} // namespace zorlo
