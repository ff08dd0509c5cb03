#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Answers the next modal box of type Box once it is open: a box waits in its
// own event loop, so the answer has to be queued before the code that opens it.
template <typename Box> void answerModal(std::function<void(Box&)> answer, int giveUpMs = 5000) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    constexpr int kStepMs = 10;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, answer] {
        *waited += kStepMs;
        if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*box);
        }
    });
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, giveUpMs] {
        if (*waited > giveUpMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(kStepMs);
}
