#include "ui/EndSignals.hpp"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zorlo {

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe the handler writes into; -1 while no instance exists.
int pipeEnds[2] = {-1, -1};

extern "C" void onEndSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // Non-blocking: a flood of signals fills the pipe and the rest are dropped,
    // which loses nothing, as the first one already ends the program.
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

bool startedIgnoring(int number) {
    struct sigaction current {};
    return sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

} // namespace

EndSignals::EndSignals() {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    for (const int number : kEndSignals) {
        if (number != SIGTERM && startedIgnoring(number)) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onEndSignal;
        sigemptyset(&action.sa_mask);
        // The save that a signal starts must not see its file writes fail
        // with EINTR because a second signal came in.
        action.sa_flags = SA_RESTART;
        sigaction(number, &action, nullptr);
    }
}

EndSignals::~EndSignals() {
    if (pipeEnds[0] < 0) {
        return;
    }
    for (const int number : kEndSignals) {
        struct sigaction current {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == onEndSignal) {
            signal(number, SIG_DFL);
        }
    }
    delete notifier_;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void EndSignals::watch(std::function<void()> onSignal) {
    if (pipeEnds[0] < 0 || notifier_ != nullptr) {
        return;
    }
    onSignal_ = std::move(onSignal);
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        // Whatever follows, a second signal must not start the ending again.
        notifier_->setEnabled(false);
        unsigned char byte = 0;
        [[maybe_unused]] const ssize_t got = read(pipeEnds[0], &byte, 1);
        if (onSignal_) {
            onSignal_();
        }
    });
}

} // namespace zorlo
