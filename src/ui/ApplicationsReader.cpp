#include "ui/ApplicationsReader.hpp"

namespace zorlo {

ApplicationsReader::ApplicationsReader(ApplicationsSource& source,
                                       std::function<void(std::vector<Application>)> deliver)
    : source_(source), deliver_(std::move(deliver)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { readNow(); });
}

ApplicationsReader::~ApplicationsReader() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

void ApplicationsReader::start() {
    if (started_) {
        return;
    }
    started_ = true;
    readNow();
}

void ApplicationsReader::readNow() {
    if (reading_) {
        changedWhileReading_ = true;
        return;
    }
    reading_ = true;
    if (worker_.joinable()) {
        worker_.join(); // the last read has handed its list over already
    }
    worker_ = std::thread([this] {
        std::vector<Application> apps = source_.read();
        // Queued to this object: dropped unread if it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, apps = std::move(apps)]() mutable { finished(std::move(apps)); },
            Qt::QueuedConnection);
    });
}

void ApplicationsReader::finished(std::vector<Application> apps) {
    reading_ = false;
    deliver_(std::move(apps));
    if (!watching_) {
        watching_ = true;
        source_.watch([this] { settle_.start(); });
    }
    if (changedWhileReading_) {
        changedWhileReading_ = false;
        settle_.start();
    }
}

} // namespace zorlo
