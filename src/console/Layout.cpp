#include "console/Console.hpp"

namespace zorlo {

namespace {
constexpr int kSideMargin = 120;
constexpr int kVerticalMargin = 400;
constexpr int kLabelTop = 5;
} // namespace

void Console::formResize() {
    if (d_.window.isMinimized() || busy) {
        return;
    }
    const int w = d_.window.width();
    const int h = d_.window.height();
    // A control refuses a negative size; the refused property keeps its value
    // and the remaining assignments still run.
    Rect text = d_.window.textAreaRect();
    if (w - kSideMargin >= 0) {
        text.width = w - kSideMargin;
    }
    Rect label = d_.window.labelRect();
    if (h - kVerticalMargin - label.height >= 0) {
        text.height = h - kVerticalMargin - label.height;
    }
    d_.window.setTextAreaRect(text);
    label.width = text.width;
    label.top = kLabelTop;
    label.left = text.left;
    d_.window.setLabelRect(label);
}

} // namespace zorlo
