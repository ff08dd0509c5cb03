#include "console/Console.hpp"

#include "store/Store.hpp"
#include "text/Failure.hpp"
#include "text/Number.hpp"

namespace zorlo {

namespace {
constexpr int kFallbackPosition = 150;
constexpr int kMaxCorner = 200;
constexpr int kMaxWidthMargin = 400;
constexpr int kMaxHeightMargin = 700;

int windowSize(TextView stored, TextView what) {
    const long long value = toWholeNumber(stored);
    if (value < 0) {
        throw Failure(u"Invalid property value: " + Text(what) + u" " + Text(stored));
    }
    return static_cast<int>(value);
}
} // namespace

void Console::applyGeometry() {
    maximized = false;
    long long t = toWholeNumber(param(u"top"));
    if (t < 0 || t > d_.window.screenHeight()) {
        t = kFallbackPosition;
    }
    long long l = toWholeNumber(param(u"left"));
    if (l < 0 || l > d_.window.screenWidth()) {
        l = kFallbackPosition;
    }
    // The stored place is read (a bad value still fails the load) but only
    // applied where the window's place is the program's to set.
    if (d_.window.knowsPosition()) {
        d_.window.setTop(static_cast<int>(t));
        d_.window.setLeft(static_cast<int>(l));
    }
    d_.window.setHeight(windowSize(param(u"height"), u"height"));
    d_.window.setWidth(windowSize(param(u"width"), u"width"));
}

void Console::storeGeometry() {
    const std::pair<TextView, int> values[] = {{u"width", d_.window.width()},
                                               {u"height", d_.window.height()},
                                               {u"top", d_.window.top()},
                                               {u"left", d_.window.left()}};
    for (const auto& [name, value] : values) {
        Text n(name);
        // A place the window cannot know keeps the one stored; only where
        // none is stored yet does the window's answer go in, so that the
        // parameter exists for the next load.
        const bool place = name == u"top" || name == u"left";
        if (place && !d_.window.knowsPosition() && params.findSameName(n) != 0) {
            continue;
        }
        addItem(params, n, toText(value), *this);
    }
}

void Console::maxWindow() {
    maximized = true;
    if (d_.window.knowsPosition()) {
        d_.window.setLeft(kMaxCorner);
        d_.window.setTop(kMaxCorner);
    }
    d_.window.setWidth(d_.window.screenWidth() - kMaxWidthMargin);
    d_.window.setHeight(d_.window.screenHeight() - kMaxHeightMargin);
    const BusyGuard resizing(*this, false);
    formResize();
}

void Console::minWindow() {
    maximized = false;
    const BusyGuard resizing(*this, false);
    applyGeometry();
}

} // namespace zorlo
