#include "platform/dbus/PortalHotkey.hpp"

#include "platform/ConsoleEvents.hpp"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace zorlo::portal {

// One entry of the portal's a(sa{sv}) shortcut lists.
struct Shortcut {
    QString id;
    QVariantMap info;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.info;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.info;
    argument.endStructure();
    return argument;
}

} // namespace zorlo::portal

Q_DECLARE_METATYPE(zorlo::portal::Shortcut)

namespace zorlo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
// The one shortcut's id: the desktop keeps the user's choice of key under it.
const QString kShortcutId = QStringLiteral("toggle");
const QString kDescription = QStringLiteral("Show or hide Zorlo Console");
// Start-up waits this long at most to learn whether the interface is there;
// a portal that is slower than that is taken for none.
constexpr int kLookMs = 1000;

QString pathText(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    return value.toString();
}

// The trigger the desktop names for our shortcut; empty when the list has none.
QString triggerIn(const QVariant& shortcuts) {
    for (const portal::Shortcut& shortcut : qdbus_cast<QList<portal::Shortcut>>(shortcuts)) {
        if (shortcut.id == kShortcutId) {
            return shortcut.info.value(QStringLiteral("trigger_description")).toString();
        }
    }
    return {};
}

} // namespace

PortalHotkey::PortalHotkey(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<portal::Shortcut>();
    qDBusRegisterMetaType<QList<portal::Shortcut>>();
}

PortalHotkey::~PortalHotkey() {
    closeSession();
}

HotkeyService::Way PortalHotkey::way() {
    if (!offered_) {
        offered_ = false;
        if (bus_.isConnected()) {
            QDBusMessage look = QDBusMessage::createMethodCall(
                kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("Get"));
            look << kShortcuts << QStringLiteral("version");
            offered_ = bus_.call(look, QDBus::Block, kLookMs).type() == QDBusMessage::ReplyMessage;
        }
        if (*offered_) {
            bus_.connect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
                         SLOT(activated(QDBusMessage)));
            bus_.connect(kService, kPath, kShortcuts, QStringLiteral("ShortcutsChanged"), this,
                         SLOT(shortcutsChanged(QDBusMessage)));
        }
    }
    return *offered_ ? Way::Desktop : Way::Compositor;
}

void PortalHotkey::bind(const Text& preferredTrigger) {
    if (way() != Way::Desktop) {
        return;
    }
    // A session binds its shortcuts once: a new preference needs a new session.
    closeSession();
    preferred_ = QString::fromStdU16String(preferredTrigger);
    const QString token = nextToken();
    creating_ = request(QStringLiteral("CreateSession"),
                        {QVariantMap{{QStringLiteral("handle_token"), token},
                                     {QStringLiteral("session_handle_token"), token}}},
                        token);
}

QString PortalHotkey::request(const QString& method, const QList<QVariant>& arguments,
                              const QString& token) {
    // The portal names the request after the caller and the token; watching
    // the path before the call leaves no gap for the answer to slip through.
    const QString sender = bus_.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    QString path = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    bus_.connect(kService, path, kRequest, QStringLiteral("Response"), this,
                 SLOT(response(QDBusMessage)));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kShortcuts, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (!finished->isError()) {
                    return;
                }
                // Refused outright: no Response will come.
                stopWatching(path);
                if (path == creating_ || path == binding_) {
                    creating_.clear();
                    binding_.clear();
                    report({});
                }
            });
    return path;
}

void PortalHotkey::stopWatching(const QString& requestPath) {
    bus_.disconnect(kService, requestPath, kRequest, QStringLiteral("Response"), this,
                    SLOT(response(QDBusMessage)));
}

void PortalHotkey::response(const QDBusMessage& message) {
    const QString path = message.path();
    stopWatching(path);
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2) {
        return;
    }
    const bool granted = arguments[0].toUInt() == 0;
    const auto results = qdbus_cast<QVariantMap>(arguments[1]);
    if (path == creating_) {
        creating_.clear();
        session_ = granted ? pathText(results.value(QStringLiteral("session_handle"))) : QString();
        if (session_.isEmpty()) {
            report({});
            return;
        }
        bindShortcut();
    } else if (path == binding_) {
        binding_.clear();
        report(granted ? triggerIn(results.value(QStringLiteral("shortcuts"))) : QString());
    } else if (const QString stale = pathText(results.value(QStringLiteral("session_handle")));
               granted && !stale.isEmpty()) {
        // A session asked for before the latest preference: not ours to keep.
        bus_.asyncCall(
            QDBusMessage::createMethodCall(kService, stale, kSession, QStringLiteral("Close")));
    }
}

void PortalHotkey::bindShortcut() {
    QVariantMap info{{QStringLiteral("description"), kDescription}};
    if (!preferred_.isEmpty()) {
        info.insert(QStringLiteral("preferred_trigger"), preferred_);
    }
    const QList<portal::Shortcut> shortcuts{{kShortcutId, info}};
    const QString token = nextToken();
    binding_ =
        request(QStringLiteral("BindShortcuts"),
                {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
                 QString(), QVariantMap{{QStringLiteral("handle_token"), token}}},
                token);
}

void PortalHotkey::activated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() >= 2 && !session_.isEmpty() && pathText(arguments[0]) == session_ &&
        arguments[1].toString() == kShortcutId && events_ != nullptr) {
        events_->togglePressed();
    }
}

void PortalHotkey::shortcutsChanged(const QDBusMessage& message) {
    // The user gave the shortcut another key in the desktop's settings.
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() >= 2 && !session_.isEmpty() && pathText(arguments[0]) == session_) {
        report(triggerIn(arguments[1]));
    }
}

void PortalHotkey::closeSession() {
    // An answer still to come is taken for a stale one.
    creating_.clear();
    binding_.clear();
    if (!session_.isEmpty()) {
        bus_.asyncCall(
            QDBusMessage::createMethodCall(kService, session_, kSession, QStringLiteral("Close")));
        session_.clear();
    }
}

void PortalHotkey::report(const QString& trigger) {
    if (events_ != nullptr) {
        events_->hotkeyBound(trigger.toStdU16String());
    }
}

QString PortalHotkey::nextToken() {
    return QStringLiteral("zorlo%1").arg(++tokens_);
}

} // namespace zorlo
