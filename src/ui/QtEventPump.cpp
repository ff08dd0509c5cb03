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

void QtEventPump::doEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitForEvents() {
    guard_.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace zorlo
