#include "ui/common/DesktopNotice.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "shell/AppInstance.h"

namespace quorvel {

namespace {

constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";

}  // namespace

DesktopNotice::DesktopNotice(QObject* parent, const QDBusConnection& bus) : QObject(parent), bus_(bus) {}

bool DesktopNotice::PreferredFor(const QString& platformName) {
    return platformName.startsWith(QLatin1String("wayland"));
}

bool DesktopNotice::Available() {
    if (available_ < 0) {
        QDBusConnectionInterface* bus = bus_.isConnected() ? bus_.interface() : nullptr;
        const QString service = QString::fromLatin1(kService);
        // A notification daemon is often started by the bus at the first call, so an activatable name
        // counts as well as a running one.
        available_ = bus && (bus->isServiceRegistered(service).value() ||
                             bus->activatableServiceNames().value().contains(service));
    }
    return available_ == 1;
}

void DesktopNotice::Show(const QString& summary, const QString& body, int timeoutMs) {
    summary_ = summary;
    body_ = body;
    timeoutMs_ = timeoutMs;
    if (inFlight_) {
        queued_ = true;  // sent with the id the pending call returns
        return;
    }
    Send();
}

void DesktopNotice::Send() {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    QVariantMap hints;
    // Not kept in the notification history: a DPI value is stale a moment later.
    hints.insert(QStringLiteral("transient"), true);
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kAppId));
    hints.insert(QStringLiteral("category"), QStringLiteral("device"));
    call << QStringLiteral("Quorvel") << lastId_ << QString::fromLatin1(kAppId) << summary_ << body_
         << QStringList() << hints << timeoutMs_;
    inFlight_ = true;
    queued_ = false;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DesktopNotice::OnReply);
}

void DesktopNotice::OnReply(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    inFlight_ = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        available_ = -1;  // the service went away; ask again before the next notice
        lastId_ = 0;
    } else {
        lastId_ = reply.value();
    }
    if (queued_) Send();
}

}  // namespace quorvel
