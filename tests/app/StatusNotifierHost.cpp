#include "StatusNotifierHost.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>

#include "SessionBus.h"

namespace quorvel::test {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");
constexpr int kCallMs = 10000;

// One node of a dbusmenu layout, (ia{sv}av), and its children, depth first.
void ReadLayout(const QDBusArgument& node, std::vector<TrayItemClient::MenuEntry>* out) {
    int id = 0;
    QVariantMap properties;
    node.beginStructure();
    node >> id >> properties;
    if (id != 0) out->push_back({id, properties.value(QStringLiteral("label")).toString()});
    node.beginArray();
    while (!node.atEnd()) {
        QDBusVariant child;
        node >> child;
        ReadLayout(qvariant_cast<QDBusArgument>(child.variant()), out);
    }
    node.endArray();
    node.endStructure();
}

}  // namespace

QStringList StatusNotifierWatcher::Items() const {
    std::lock_guard lock(mutex_);
    return items_;
}

std::optional<QString> StatusNotifierWatcher::WaitForItem(int timeoutMs) const {
    std::unique_lock lock(mutex_);
    if (!registered_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !items_.isEmpty(); }))
        return std::nullopt;
    return items_.front();
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
    {
        std::lock_guard lock(mutex_);
        items_.append(service);
    }
    registered_.notify_all();
    emit StatusNotifierItemRegistered(service);
}

StatusNotifierHost::StatusNotifierHost(const SessionBus& bus)
    : connection_(bus.Connect(QStringLiteral("watcher"))) {
    // Exported before it moves: the export gives the watcher a child object, which moves with it.
    registered_ = connection_.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher_,
                                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                                 QDBusConnection::ExportAllProperties);
    thread_.setObjectName(QStringLiteral("tray watcher"));
    watcher_.moveToThread(&thread_);
    thread_.start();
    registered_ = registered_ && connection_.registerService(kWatcherService);
}

StatusNotifierHost::~StatusNotifierHost() {
    connection_.unregisterService(kWatcherService);
    connection_.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    // Back to this thread before it is destroyed here: an object must end on its own thread.
    QThread* here = QThread::currentThread();
    QMetaObject::invokeMethod(&watcher_, [this, here] { watcher_.moveToThread(here); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QVariant TrayItemClient::Property(const QString& name) const {
    QDBusMessage get = QDBusMessage::createMethodCall(service_, kItemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kItemInterface << name;
    const QDBusMessage reply = bus_.call(get, QDBus::Block, kCallMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().front()).variant();
}

QString TrayItemClient::MenuPath() const {
    return qvariant_cast<QDBusObjectPath>(Property(QStringLiteral("Menu"))).path();
}

QString TrayItemClient::ToolTipTitle() const {
    // (s a(iiay) s s): icon name, icon pixmaps, title, text.
    const QVariant value = Property(QStringLiteral("ToolTip"));
    if (!value.canConvert<QDBusArgument>()) return {};
    const QDBusArgument tip = qvariant_cast<QDBusArgument>(value);
    QString icon, title, text;
    tip.beginStructure();
    tip >> icon;
    tip.beginArray();
    while (!tip.atEnd()) {
        int width = 0, height = 0;
        QByteArray pixels;
        tip.beginStructure();
        tip >> width >> height >> pixels;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title >> text;
    tip.endStructure();
    return title;
}

bool TrayItemClient::Activate() const {
    QDBusMessage click = QDBusMessage::createMethodCall(service_, kItemPath, kItemInterface, QStringLiteral("Activate"));
    click << 0 << 0;
    return bus_.call(click, QDBus::Block, kCallMs).type() == QDBusMessage::ReplyMessage;
}

std::vector<TrayItemClient::MenuEntry> TrayItemClient::Menu() const {
    const QString path = MenuPath();
    if (path.isEmpty()) return {};
    QDBusMessage layout = QDBusMessage::createMethodCall(service_, path, kMenuInterface, QStringLiteral("GetLayout"));
    layout << 0 << -1 << QStringList{};
    const QDBusMessage reply = bus_.call(layout, QDBus::Block, kCallMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2) return {};
    std::vector<MenuEntry> entries;
    ReadLayout(qvariant_cast<QDBusArgument>(reply.arguments().at(1)), &entries);
    return entries;
}

bool TrayItemClient::Click(int id) const {
    QDBusMessage event = QDBusMessage::createMethodCall(service_, MenuPath(), kMenuInterface, QStringLiteral("Event"));
    event << id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0))
          << static_cast<uint>(QDateTime::currentSecsSinceEpoch());
    return bus_.call(event, QDBus::Block, kCallMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace quorvel::test
