#include "ui/x11/X11KeyWatch.hpp"

#include "platform/x11/XDisplay.hpp"

namespace zorlo {

std::unique_ptr<X11KeyWatch> X11KeyWatch::create(std::shared_ptr<x11::XDisplay> display) {
    if (!display->watchesKeys()) {
        return nullptr;
    }
    return std::unique_ptr<X11KeyWatch>(new X11KeyWatch(std::move(display)));
}

X11KeyWatch::X11KeyWatch(std::shared_ptr<x11::XDisplay> display)
    : display_(std::move(display)), notifier_(display_->connectionNumber(), QSocketNotifier::Read) {
    // Reading empties the socket; left unread it would wake the thread again at once.
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_,
                     [display = display_.get()] { display->readEvents(); });
}

X11KeyWatch::~X11KeyWatch() {
    display_->setKeyListener({});
}

void X11KeyWatch::setListener(std::function<void()> changed) {
    display_->setKeyListener(std::move(changed));
}

void X11KeyWatch::ticked() {
    display_->forgetPresses();
}

} // namespace zorlo
