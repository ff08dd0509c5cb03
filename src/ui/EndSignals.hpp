#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace zorlo {

// SIGTERM, SIGHUP and SIGINT, handed from the signal handler to the event
// loop: the handler only writes the signal's number into a pipe, and the loop
// (or a box's own loop) reads it and runs the program's ending there, where
// saving is safe. A signal the program was started ignoring (nohup, a shell's
// background job) stays ignored. One instance per program.
class EndSignals : public QObject {
  public:
    // Installs the handlers; a signal that arrives before watch() waits in the pipe.
    EndSignals();
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // From now on the first signal runs onSignal once; later ones change nothing.
    void watch(std::function<void()> onSignal);

  private:
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> onSignal_;
};

} // namespace zorlo
