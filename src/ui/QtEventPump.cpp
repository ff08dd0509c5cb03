#include "ui/QtEventPump.hpp"

#include <QCoreApplication>

namespace zorlo {

namespace {
constexpr int kGuardMs = 20;
} // namespace

QtEventPump::QtEventPump() {
    guard_.setSingleShot(true);
    guard_.setInterval(kGuardMs);
}

// Keys and clicks that come while a command runs wait in the window system's
// queue and reach the console afterwards, in the order they were made, just as
// if typed then; let through here they would land in the middle of the
// command's output. Timers and repaints still run, so the label repaints.
void QtEventPump::doEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtEventPump::waitForEvents() {
    guard_.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace zorlo
