#pragma once
// A private D-Bus session bus for one test (dbus-daemon with a configuration of our own, so no service of
// the machine is started on it), and stand-ins for what a desktop serves on its bus: the notification
// service.

#include <sys/types.h>

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <string>
#include <vector>

namespace quorvel::test {

class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool Installed() const { return installed_; }
    bool Running() const { return pid_ > 0 && !address_.empty(); }
    const std::string& Why() const { return why_; }
    // For DBUS_SESSION_BUS_ADDRESS.
    const std::string& Address() const { return address_; }
    // A connection of this process to the bus, under `name`.
    QDBusConnection Connect(const QString& name) const;

private:
    bool installed_ = false;
    pid_t pid_ = -1;
    std::string address_;
    std::string why_;
    std::string config_;
};

// org.freedesktop.Notifications as a desktop serves it, recording each notice.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        QString app;
        uint replaces = 0;
        QString summary;
        QString body;
        QVariantMap hints;
        int timeout = 0;
        uint id = 0;  // the id answered
    };

    // Registers the service on `bus`; false when the name could not be had.
    bool Register(QDBusConnection bus);
    const std::vector<Notice>& Notices() const { return notices_; }
    // Spins the event loop until `count` notices arrived or the time is up.
    bool WaitFor(size_t count, int timeoutMs);

public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& spec);

private:
    std::vector<Notice> notices_;
    uint nextId_ = 1;
};

}  // namespace quorvel::test
