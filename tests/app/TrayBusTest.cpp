// The tray icon as desktops with a StatusNotifierItem host show it (KDE, GNOME with its AppIndicator
// extension, most Wayland panels): quorvel on a private X server and a private session bus with a stand-in
// host. The icon registers, a click on it brings the hidden window back, and its menu (exported over
// com.canonical.dbusmenu) ends the program.

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <functional>

#include "QuorvelProcessFixture.h"
#include "SessionBus.h"

namespace quorvel::test {
namespace {

constexpr int kWaitMs = 20000;

struct MenuItem {
    int id = 0;
    QString label;
};

// Walks a dbusmenu layout ((ia{sv}av): id, properties, children) into its items.
void ReadLayout(const QDBusArgument& arg, std::vector<MenuItem>* items) {
    MenuItem item;
    QVariantMap properties;
    arg.beginStructure();
    arg >> item.id >> properties;
    item.label = properties.value(QStringLiteral("label")).toString().remove(QLatin1Char('_'));
    items->push_back(item);
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        ReadLayout(child.variant().value<QDBusArgument>(), items);
    }
    arg.endArray();
    arg.endStructure();
}

class TrayBusTest : public QuorvelWindowTest {
protected:
    void SetUp() override {
        QuorvelWindowTest::SetUp();
        if (IsSkipped()) return;
        bus_ = std::make_unique<SessionBus>();
        if (!bus_->Installed()) GTEST_SKIP() << bus_->Why();
        ASSERT_TRUE(bus_->Running()) << bus_->Why();
    }
    std::unique_ptr<SessionBus> bus_;
};

TEST_F(TrayBusTest, TheIconRegistersShowsTheWindowAndItsMenuEndsTheProgram) {
    const QDBusConnection host = bus_->Connect(QStringLiteral("host"));
    TrayWatcher watcher;
    ASSERT_TRUE(watcher.Register(host));
    auto gui = Start(x_->Display(), {"-hide"}, {{"DBUS_SESSION_BUS_ADDRESS", bus_->Address()}});
    ASSERT_TRUE(watcher.WaitForItem(kWaitMs)) << GuiErr();
    EXPECT_EQ(Status(), StatusOf(gui->Pid(), false));

    const QString service = watcher.Items().first();
    QDBusInterface item(service, QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
                        host);
    ASSERT_TRUE(item.isValid()) << item.lastError().message().toStdString();
    EXPECT_EQ(item.property("Status").toString().toStdString(), "Active");

    // A click on the icon: the window comes back.
    const QDBusMessage activated = item.call(QStringLiteral("Activate"), 0, 0);
    EXPECT_NE(activated.type(), QDBusMessage::ErrorMessage) << activated.errorMessage().toStdString();
    const QDeadlineTimer shown(kWaitMs);
    while (Status() != StatusOf(gui->Pid(), true) && !shown.hasExpired()) {
    }
    EXPECT_EQ(Status(), StatusOf(gui->Pid(), true)) << GuiErr();

    // The menu: "Show Window" and "Exit" (in the program's language), and Exit ends the program.
    const QDBusObjectPath menuPath = qvariant_cast<QDBusObjectPath>(item.property("Menu"));
    ASSERT_FALSE(menuPath.path().isEmpty());
    QDBusInterface menu(service, menuPath.path(), QStringLiteral("com.canonical.dbusmenu"), host);
    const QDBusMessage layout = menu.call(QStringLiteral("GetLayout"), 0, -1, QStringList());
    ASSERT_EQ(layout.type(), QDBusMessage::ReplyMessage) << layout.errorMessage().toStdString();
    ASSERT_EQ(layout.arguments().size(), 2);
    std::vector<MenuItem> items;
    ReadLayout(layout.arguments().at(1).value<QDBusArgument>(), &items);
    std::vector<std::string> labels;
    int exitId = -1;
    for (const MenuItem& m : items) {
        if (m.id == 0) continue;  // the root
        labels.push_back(m.label.toStdString());
        if (m.label == QStringLiteral("Exit")) exitId = m.id;
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Show Window", "Exit"}));
    ASSERT_GT(exitId, 0);
    menu.call(QStringLiteral("Event"), exitId, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)),
              0u);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

}  // namespace
}  // namespace quorvel::test
