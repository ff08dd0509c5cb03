#pragma once

#include "platform/HotkeyService.hpp"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

class QDBusMessage;

namespace zorlo {

// The hotkey bound by the desktop through the portal's GlobalShortcuts
// interface (xdg-desktop-portal): one session holding one shortcut, whose key
// is only a preference; the desktop picks the trigger and shows it in its own
// shortcut settings. Every answer comes back as a Request's Response signal, so
// nothing here waits, except the one short look for the interface.
class PortalHotkey : public QObject, public HotkeyService {
    Q_OBJECT

  public:
    // bus: the session bus, or a private one in tests.
    explicit PortalHotkey(QDBusConnection bus);
    ~PortalHotkey() override;
    PortalHotkey(const PortalHotkey&) = delete;
    PortalHotkey& operator=(const PortalHotkey&) = delete;

    // Desktop where the portal has the interface; Compositor where it has not,
    // or does not answer within a second.
    Way way() override;
    void bind(const Text& preferredTrigger) override;
    void setEvents(ConsoleEvents* events) override { events_ = events; }

  private slots:
    void response(const QDBusMessage& message);
    void activated(const QDBusMessage& message);
    void shortcutsChanged(const QDBusMessage& message);

  private:
    // Sends a portal call whose answer comes as a Response on a request path
    // made from token; returns that path, watched from before the call.
    QString request(const QString& method, const QList<QVariant>& arguments, const QString& token);
    void stopWatching(const QString& requestPath);
    void closeSession();
    void bindShortcut();
    void report(const QString& trigger);
    QString nextToken();

    QDBusConnection bus_;
    ConsoleEvents* events_ = nullptr;
    std::optional<bool> offered_;
    QString preferred_;
    QString session_;
    QString creating_; // the request path of the pending CreateSession
    QString binding_;  // the request path of the pending BindShortcuts
    unsigned tokens_ = 0;
};

} // namespace zorlo
