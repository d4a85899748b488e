// The desktop notice on a private session bus: found only where a notification service is, replacing its
// previous notice even when the presses come faster than the bus answers, and carrying the DPI indicator's
// text instead of the pop-up.

#include <gtest/gtest.h>

#include <QWidget>

#include "SessionBus.h"
#include "ui/common/DesktopNotice.h"
#include "ui/dialogs/DPIMsgDlg.h"

namespace quorvel::test {
namespace {

constexpr int kWaitMs = 10000;

class DesktopNoticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!bus_.Installed()) GTEST_SKIP() << bus_.Why();
        ASSERT_TRUE(bus_.Running()) << bus_.Why();
    }
    SessionBus bus_;
};

TEST_F(DesktopNoticeTest, NoServiceNoNotice) {
    DesktopNotice notice(nullptr, bus_.Connect(QStringLiteral("client")));
    EXPECT_FALSE(notice.Available());
    EXPECT_TRUE(DesktopNotice::PreferredFor(QStringLiteral("wayland")));
    EXPECT_TRUE(DesktopNotice::PreferredFor(QStringLiteral("wayland-egl")));
    EXPECT_FALSE(DesktopNotice::PreferredFor(QStringLiteral("xcb")));
    EXPECT_FALSE(DesktopNotice::PreferredFor(QStringLiteral("offscreen")));
}

TEST_F(DesktopNoticeTest, EachNoticeReplacesThePreviousOne) {
    NotificationServer server;
    ASSERT_TRUE(server.Register(bus_.Connect(QStringLiteral("server"))));
    DesktopNotice notice(nullptr, bus_.Connect(QStringLiteral("client")));
    ASSERT_TRUE(notice.Available());

    notice.Show(QStringLiteral("800 DPI"), QString(), 2000);
    // Before the first answer: waits for the id instead of stacking a second notice.
    notice.Show(QStringLiteral("1600 DPI"), QString(), 2000);
    notice.Show(QStringLiteral("3200 DPI"), QString(), 2000);
    ASSERT_TRUE(server.WaitFor(2, kWaitMs));
    notice.Show(QStringLiteral("800 DPI"), QString(), 2000);
    ASSERT_TRUE(server.WaitFor(3, kWaitMs));

    const auto& seen = server.Notices();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].replaces, 0u);
    EXPECT_EQ(seen[0].summary.toStdString(), "800 DPI");
    EXPECT_EQ(seen[0].timeout, 2000);
    EXPECT_EQ(seen[1].replaces, seen[0].id);
    EXPECT_EQ(seen[1].summary.toStdString(), "3200 DPI");  // the latest of the waiting ones
    EXPECT_EQ(seen[2].replaces, seen[0].id);
    EXPECT_EQ(seen[0].hints.value(QStringLiteral("desktop-entry")).toString().toStdString(),
              "com.quorvel.Quorvel");
}

TEST_F(DesktopNoticeTest, TheDpiIndicatorSendsItsTextInsteadOfPoppingUp) {
    NotificationServer server;
    ASSERT_TRUE(server.Register(bus_.Connect(QStringLiteral("server"))));
    QWidget owner;
    DPIMsgDlg indicator(&owner);
    DesktopNotice notice(nullptr, bus_.Connect(QStringLiteral("client")));
    indicator.UseDesktopNotice(&notice);

    indicator.ShowValue(1600);
    ASSERT_TRUE(server.WaitFor(1, kWaitMs));
    EXPECT_EQ(server.Notices()[0].summary, indicator.NoticeText());
    EXPECT_TRUE(server.Notices()[0].summary.startsWith(QStringLiteral("1600 ")));
    EXPECT_FALSE(indicator.isVisible());

    indicator.ShowProfile(QStringLiteral("Shooter"));
    ASSERT_TRUE(server.WaitFor(2, kWaitMs));
    EXPECT_EQ(server.Notices()[1].summary, indicator.ProfileText());
    EXPECT_EQ(server.Notices()[1].replaces, server.Notices()[0].id);
    EXPECT_FALSE(indicator.isVisible());
}

}  // namespace
}  // namespace quorvel::test
