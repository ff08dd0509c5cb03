#pragma once

#include "platform/SingleInstance.hpp"

#include <QObject>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QSocketNotifier;

namespace zorlo {

// The first start holds a lock file and listens on a local socket, both in a
// folder that only this user can enter; a later start finds the lock taken
// and asks the first one, through the socket, to toggle its console. The
// socket is a plain one, so that no network library loads at every start. The
// settings folder carries a lock of its own, so that starts which do not
// share a hand-over channel (another HOME or runtime folder, another machine
// on a shared home) still never run two consoles on one folder.
class PosixSingleInstance : public QObject, public SingleInstance {
  public:
    explicit PosixSingleInstance(const std::filesystem::path& settingsFolder);
    ~PosixSingleInstance() override;
    PosixSingleInstance(const PosixSingleInstance&) = delete;
    PosixSingleInstance& operator=(const PosixSingleInstance&) = delete;

    bool isFirst() const override { return first_; }
    bool toggleRunning(int waitMs) const override { return toggleRunning(waitMs, {}); }
    // The same, handing over the activation token this start came with (or
    // was given for the console's window), empty when there is none.
    bool toggleRunning(int waitMs, const std::string& token) const;
    // Why this start may neither run the console nor hand over to one, with
    // the status to end with; nothing when it may go on.
    const std::optional<std::pair<std::string, int>>& refusal() const { return refusal_; }
    // What the last toggleRunning found wrong beyond "nobody answered".
    const std::string& handOverProblem() const { return handOverProblem_; }
    // First start: from now on every later start runs onToggle once, on the
    // event loop's thread, with the activation token it handed over (empty
    // when it sent none or one that is no acceptable token). False when later
    // starts cannot reach this one.
    bool listen(std::function<void(const std::string& token)> onToggle);

    // The name both starts derive from the folder.
    static QString keyFor(const std::filesystem::path& settingsFolder);

    // The longest request a later start may send, newline included: a
    // command word and an activation token.
    static constexpr std::size_t kMaxRequest = 1024;

  private:
    class Connection;
    void acceptAll();
    void read(Connection* connection);

    std::optional<std::pair<std::string, int>> refusal_;
    mutable std::string handOverProblem_;
    std::string socketPath_;
    int lock_ = -1; // the hand-over lock, held by the first start
    int folderLock_ = -1;
    bool first_ = false;
    int openConnections_ = 0;
    int server_ = -1;
    std::unique_ptr<QSocketNotifier> serverNotifier_;
    std::function<void(const std::string& token)> onToggle_;
};

} // namespace zorlo
