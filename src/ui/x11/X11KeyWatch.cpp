#include "platform/x11/X11KeyWatch.hpp"

#include "platform/x11/XDisplay.hpp"

namespace zorlo {

std::unique_ptr<X11KeyWatch> X11KeyWatch::create() {
    const x11::XDisplay& display = x11::XDisplay::instance();
    if (!display.watchesKeys()) {
        return nullptr;
    }
    return std::unique_ptr<X11KeyWatch>(new X11KeyWatch(display.connectionNumber()));
}

X11KeyWatch::X11KeyWatch(int socket) : notifier_(socket, QSocketNotifier::Read) {
    // Reading empties the socket; left unread it would wake the thread again at once.
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_,
                     [] { x11::XDisplay::instance().readEvents(); });
}

X11KeyWatch::~X11KeyWatch() {
    x11::XDisplay::instance().setKeyListener({});
}

void X11KeyWatch::setListener(std::function<void()> changed) {
    x11::XDisplay::instance().setKeyListener(std::move(changed));
}

} // namespace zorlo
