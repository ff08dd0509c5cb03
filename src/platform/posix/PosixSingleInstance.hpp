#pragma once

#include "platform/SingleInstance.hpp"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

namespace zorlo {

// The first start holds a lock file and listens on a local socket; a later
// start finds the lock taken and asks the first one, through the socket, to
// toggle its console.
class PosixSingleInstance : public QObject, public SingleInstance {
  public:
    explicit PosixSingleInstance(const std::filesystem::path& settingsFolder);
    ~PosixSingleInstance() override;

    bool isFirst() const override { return first_; }
    bool toggleRunning(int waitMs) const override;
    // First start: from now on every later start runs onToggle once, on the
    // event loop's thread. False when later starts cannot reach this one.
    bool listen(std::function<void()> onToggle);

    // The name both starts derive from the folder (and the user).
    static QString keyFor(const std::filesystem::path& settingsFolder);

  private:
    void serve(class QLocalSocket* socket);

    QString key_;
    QLockFile lock_;
    bool first_ = false;
    QLocalServer server_;
    std::function<void()> onToggle_;
};

} // namespace zorlo
