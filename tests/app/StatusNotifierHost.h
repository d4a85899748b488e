#pragma once
// A desktop panel's side of the StatusNotifierItem tray, on a private session bus: the watcher with a host
// registered (what KDE Plasma, and GNOME with the AppIndicator extension, serve), and the calls a panel makes
// on an item: its properties, a click, and its menu.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace quorvel::test {

class SessionBus;

// org.kde.StatusNotifierWatcher. It answers on a thread of its own: the program asks it with blocking calls
// at start-up, while the test's thread may be blocked waiting for the program.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
public:
    bool HostRegistered() const { return true; }
    QStringList Items() const;
    int ProtocolVersion() const { return 0; }
    // The service of the first item registered, once one is (without the calling thread's event loop).
    std::optional<QString> WaitForItem(int timeoutMs) const;

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable registered_;
    QStringList items_;
};

// The watcher on its bus name and thread, for the life of the object.
class StatusNotifierHost {
public:
    explicit StatusNotifierHost(const SessionBus& bus);
    ~StatusNotifierHost();
    StatusNotifierHost(const StatusNotifierHost&) = delete;
    StatusNotifierHost& operator=(const StatusNotifierHost&) = delete;

    bool Registered() const { return registered_; }
    const StatusNotifierWatcher& Watcher() const { return watcher_; }

private:
    QDBusConnection connection_;
    StatusNotifierWatcher watcher_;
    QThread thread_;
    bool registered_ = false;
};

// What a panel asks of one item (service as registered with the watcher).
class TrayItemClient {
public:
    struct MenuEntry {
        int id = 0;
        QString label;
    };

    TrayItemClient(QDBusConnection bus, QString service) : bus_(std::move(bus)), service_(std::move(service)) {}

    // The tooltip's title ("" when the item gives none).
    QString ToolTipTitle() const;
    // A left click on the icon.
    bool Activate() const;
    // The entries of the item's menu, in order; empty when it has none.
    std::vector<MenuEntry> Menu() const;
    // A click on a menu entry.
    bool Click(int id) const;

private:
    QVariant Property(const QString& name) const;
    QString MenuPath() const;

    QDBusConnection bus_;
    QString service_;
};

}  // namespace quorvel::test
