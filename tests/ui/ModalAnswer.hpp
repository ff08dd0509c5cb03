#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Answers the next modal box of type Box once it is open: a box waits in its
// own event loop, so the answer has to be queued before the code that opens it.
template <typename Box> void answerModal(std::function<void(Box&)> answer, int giveUpMs = 5000) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, answer, giveUpMs] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        if (box != nullptr || (*waited += 10) > giveUpMs) {
            poll->stop();
            poll->deleteLater();
        }
        if (box != nullptr) {
            answer(*box);
        }
    });
    poll->start(10);
}
