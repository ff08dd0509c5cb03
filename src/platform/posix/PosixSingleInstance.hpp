#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

namespace zorlo {

// One console per settings folder. The first start holds a lock and listens;
// a later start finds the lock taken and asks the first one to toggle its
// console, as one hotkey press would.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(const std::filesystem::path& settingsFolder);
    ~SingleInstance() override;

    bool isFirst() const { return first_; }
    // First start: from now on every later start runs onToggle once.
    bool listen(std::function<void()> onToggle);
    // Later start: true once the first one has taken the request.
    bool askFirstToToggle(int timeoutMs);

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
