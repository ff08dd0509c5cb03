#pragma once

#include "platform/Applications.hpp"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace zorlo {

// Where the desktop's installed applications come from, for the reader.
class ApplicationsSource {
  public:
    virtual ~ApplicationsSource() = default;
    // The whole list; may block on the disk, so the reader calls it on a
    // thread of its own. Never throws.
    virtual std::vector<Application> read() = 0;
    // From now on calls `changed` on the window's thread whenever the list may
    // have changed. Called once, on the window's thread, after the first read.
    virtual void watch(std::function<void()> changed) = 0;
};

// Reads the installed applications off the window's thread, so that neither
// start-up nor typing waits for the disk, and hands each list to `deliver` on
// the window's thread: once when started, again after the application folders
// change (a burst of changes, as a package install makes, reads once).
class ApplicationsReader : public QObject {
    Q_OBJECT

  public:
    static constexpr int kSettleMs = 500;

    ApplicationsReader(ApplicationsSource& source,
                       std::function<void(std::vector<Application>)> deliver);
    // Waits for a read under way: it holds the source.
    ~ApplicationsReader() override;

    // The first read; later calls do nothing.
    void start();

  private:
    void readNow();
    void finished(std::vector<Application> apps);

    ApplicationsSource& source_;
    std::function<void(std::vector<Application>)> deliver_;
    QTimer settle_;
    std::thread worker_;
    bool started_ = false;
    bool watching_ = false;
    bool reading_ = false;
    bool changedWhileReading_ = false;
};

} // namespace zorlo
