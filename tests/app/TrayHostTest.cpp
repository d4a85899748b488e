// The tray where a desktop serves it over D-Bus (KDE Plasma on X11 and Wayland, GNOME with the AppIndicator
// extension): quorvel on a private Xvfb and session bus, with a stand-in panel. With a StatusNotifier host
// the icon registers, carries the tip, a click shows the window and its menu shows it or ends the program;
// with none, the close button minimises instead of hiding into a tray nobody shows.

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "QuorvelProcessFixture.h"
#include "SessionBus.h"
#include "StatusNotifierHost.h"

namespace quorvel::test {
namespace {

constexpr int kWaitMs = 20000;

class TrayHostTest : public QuorvelWindowTest {
protected:
    void SetUp() override {
        QuorvelWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (!bus_.Installed()) GTEST_SKIP() << bus_.Why();
        ASSERT_TRUE(bus_.Running()) << bus_.Why();
        if (Xdotool(x_->Display(), "version").empty()) GTEST_SKIP() << "xdotool is not installed";
        UseHideOnClose();
    }

    std::unique_ptr<GuiProcess> StartOnBus() {
        auto gui = Start(x_->Display(), {}, {{"DBUS_SESSION_BUS_ADDRESS", bus_.Address()}});
        EXPECT_TRUE(watcher_->WaitForMap(gui->Pid(), kWait)) << GuiErr();
        EXPECT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
        return gui;
    }

    // The window's close button (the design's 1400 x 788 window is shown at full size on the 1600 x 1000
    // screen).
    bool ClickClose(pid_t pid) {
        const std::string window =
            Xdotool(x_->Display(), "search --sync --onlyvisible --pid " + std::to_string(pid));
        return !window.empty() &&
               !Xdotool(x_->Display(), "mousemove --window " + window + " 1365 25 click 1").empty();
    }

    SessionBus bus_;
};

TEST_F(TrayHostTest, TheIconRegistersWithTheHostAndItsClickAndMenuWork) {
    StatusNotifierHost host(bus_);
    ASSERT_TRUE(host.Registered());
    auto gui = StartOnBus();
    const std::optional<QString> service = host.Watcher().WaitForItem(kWaitMs);
    ASSERT_TRUE(service.has_value()) << GuiErr();
    TrayItemClient item(bus_.Connect(QStringLiteral("panel")), *service);
    EXPECT_TRUE(item.ToolTipTitle().startsWith(QStringLiteral("Quorvel Mouse")))
        << item.ToolTipTitle().toStdString();

    const std::vector<TrayItemClient::MenuEntry> menu = item.Menu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].label.toStdString(), "Show Window");
    EXPECT_EQ(menu[1].label.toStdString(), "Exit");

    // Closed into the tray, shown by a click on the icon, closed again and shown from the menu.
    const pid_t pid = gui->Pid();
    const std::function<bool()> steps[] = {
        [&] { return ClickClose(pid); },
        [&] { return item.Activate(); },
        [&] { return ClickClose(pid); },
        [&] { return item.Click(menu[0].id); },
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        const bool shown = i % 2 == 1;
        ASSERT_TRUE(steps[i]());
        ASSERT_TRUE(watcher_->WaitUntilViewable(pid, shown, kWait)) << GuiErr();
        EXPECT_EQ(Status(), StatusOf(pid, shown));
    }

    // The menu's Exit ends the program the orderly way.
    ASSERT_TRUE(item.Click(menu[1].id));
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

TEST_F(TrayHostTest, WithoutAHostTheCloseButtonMinimises) {
    auto gui = StartOnBus();
    ASSERT_TRUE(ClickClose(gui->Pid()));
    EXPECT_TRUE(watcher_->WaitForIconifyRequest(gui->Pid(), kWait)) << GuiErr();
    EXPECT_EQ(Status(), StatusOf(gui->Pid(), true));
    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

}  // namespace
}  // namespace quorvel::test
