// quorvel as a native Wayland client on a headless weston: the window shows and follows the mouse being
// unplugged and plugged in again, a second start hands over (with its activation token), and the DPI
// button's indicator reaches the desktop's notification service, since a Wayland window cannot place
// itself in the corner of the screen.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <fstream>
#include <functional>

#include "QuorvelProcessFixture.h"
#include "SessionBus.h"
#include "Weston.h"

namespace quorvel::test {
namespace {

constexpr int kWaitMs = 20000;

// The share of dark pixels in the output: the window is dark almost everywhere, weston's desktop is a light
// pattern under a thin dark panel (and black before its shell has drawn it). -1 when there is no picture.
double DarkShare(const QImage& image) {
    if (image.isNull()) return -1;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    qint64 dark = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            dark += qMax(qRed(line[x]), qMax(qGreen(line[x]), qBlue(line[x]))) < 64;
    }
    return static_cast<double>(dark) / (static_cast<double>(rgb.width()) * rgb.height());
}

class WaylandTest : public QuorvelProcessTest {
protected:
    void SetUp() override {
        QuorvelProcessTest::SetUp();
        weston_ = std::make_unique<Weston>(Path("runtime"), 1280, 800);
        // Only a missing compositor skips; one that is installed but does not start is a failure.
        if (!weston_->Installed()) GTEST_SKIP() << weston_->Why();
        ASSERT_TRUE(weston_->Running()) << weston_->Why();
        bus_ = std::make_unique<SessionBus>();
        if (!bus_->Installed()) GTEST_SKIP() << bus_->Why();
        ASSERT_TRUE(bus_->Running()) << bus_->Why();
    }

    std::map<std::string, std::string> WaylandEnv() const {
        std::map<std::string, std::string> env = {{"QT_QPA_PLATFORM", "wayland"},
                                                  {"WAYLAND_DISPLAY", weston_->Socket()},
                                                  {"DBUS_SESSION_BUS_ADDRESS", bus_->Address()},
                                                  {"QUORVEL_VIRTUAL_CONTROL", Path("control")}};
        // Under AddressSanitizer the Wayland client stack below Qt is not ours to hold to a leak-free exit;
        // our own code's leaks are checked by the X11 and offscreen runs.
        if (const char* asan = std::getenv("ASAN_OPTIONS"))
            env["ASAN_OPTIONS"] = std::string(asan) + ":detect_leaks=0";
        return env;
    }
    void Control(const std::string& line) {
        std::ofstream pipe(Path("control"));
        pipe << line << '\n';
    }
    // Screenshots until `done` holds for the share of dark pixels (the compositor draws a little after a
    // client asked); the share seen last.
    double WaitForDarkShare(const std::function<bool(double)>& done) {
        const QDeadlineTimer deadline(kWaitMs);
        double seen = -1;
        while (!deadline.hasExpired()) {
            seen = DarkShare(weston_->Screenshot());
            if (done(seen)) break;
        }
        return seen;
    }

    std::unique_ptr<Weston> weston_;
    std::unique_ptr<SessionBus> bus_;
};

TEST_F(WaylandTest, TheWindowShowsFollowsTheMouseAndHandsOver) {
    // The desktop alone: light, once its shell has drawn it.
    const double desktop = WaitForDarkShare([](double share) { return share >= 0 && share < 0.2; });
    ASSERT_GE(desktop, 0) << "no screenshot of the output";
    ASSERT_LT(desktop, 0.2);
    auto gui = Start("", {}, WaylandEnv());
    ASSERT_EQ(Status(), StatusOf(gui->Pid(), true)) << GuiErr();
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
    // The window covers most of the 1280x800 output.
    EXPECT_GE(WaitForDarkShare([](double share) { return share >= 0.6; }), 0.6) << GuiErr();

    // The mouse goes away and comes back: the views follow.
    Control("unplug 1");
    EXPECT_EQ(WaitForView("no-device").rfind("no-device", 0), 0u) << GuiErr();
    Control("replug 1");
    EXPECT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();

    // A second start from a launcher, with the token the compositor gave that launch: it hands over and
    // ends; the first stays.
    auto second = Start("", {}, [&] {
        auto env = WaylandEnv();
        env["XDG_ACTIVATION_TOKEN"] = "launcher-token-1";
        return env;
    }());
    EXPECT_EQ(second->Wait(), 0) << GuiErr();
    EXPECT_EQ(Status(), StatusOf(gui->Pid(), true));

    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

TEST_F(WaylandTest, TheDpiButtonShowsADesktopNotice) {
    NotificationServer notices;
    ASSERT_TRUE(notices.Register(bus_->Connect(QStringLiteral("notices"))));
    auto gui = Start("", {}, WaylandEnv());
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();

    Control("dpi 1");
    ASSERT_TRUE(notices.WaitFor(1, kWaitMs)) << GuiErr();
    Control("dpi 1");
    ASSERT_TRUE(notices.WaitFor(2, kWaitMs)) << GuiErr();
    const auto& seen = notices.Notices();
    EXPECT_EQ(seen[0].app.toStdString(), "Quorvel");
    EXPECT_EQ(seen[0].replaces, 0u);
    EXPECT_TRUE(seen[0].summary.contains(QStringLiteral("DPI"))) << seen[0].summary.toStdString();
    EXPECT_TRUE(seen[0].hints.value(QStringLiteral("transient")).toBool());
    // The second press replaces the first notice instead of stacking another.
    EXPECT_EQ(seen[1].replaces, seen[0].id);

    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

}  // namespace
}  // namespace quorvel::test
