// Under a real X server: a click on a DPI level, made by xdotool as a hand on the mouse would, reaches the
// mouse; and the DPI indicator shows without taking the keyboard from the window that has it. This program
// already runs on the offscreen platform, so the test starts its own Xvfb and runs this program once more
// on it, for the child tests alone.

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "PerformanceFixture.h"

namespace quorvel::test {
namespace {

constexpr char kChildVariable[] = "QUORVEL_PERFORMANCE_X_CHILD";

TEST(PerformancePageOnX, AClickOnALevelReachesTheMouse) {
    if (qEnvironmentVariableIsSet(kChildVariable)) GTEST_SKIP() << "the child runs the click itself";
    for (const char* program : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            GTEST_SKIP() << program << " is not installed (Debian packages xvfb, xdotool)";
    }
    // Xvfb picks a free display itself and writes its number (-displayfd 1: to its output).
    QProcess xvfb;
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1600x1000x24", "-nolisten", "tcp", "-noreset"});
    ASSERT_TRUE(xvfb.waitForStarted(15000));
    QString number;
    while (!number.contains('\n') && xvfb.waitForReadyRead(15000))
        number += QString::fromLatin1(xvfb.readAll());
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";

    const QString display = ":" + number.trimmed();
    // A window manager, as on a desktop: it gives the focus to new windows unless they ask it not to.
    QProcess windowManager;
    if (!QStandardPaths::findExecutable("openbox").isEmpty()) {
        QProcessEnvironment wmEnv = QProcessEnvironment::systemEnvironment();
        wmEnv.insert("DISPLAY", display);
        windowManager.setProcessEnvironment(wmEnv);
        windowManager.start("openbox", {"--sm-disable"});
        ASSERT_TRUE(windowManager.waitForStarted(15000));
        // Ready once it has announced itself on the root window.
        bool ready = false;
        for (int i = 0; i < 300 && !ready; ++i) {
            QProcess probe;
            probe.setProcessEnvironment(wmEnv);
            probe.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
            probe.waitForFinished(5000);
            ready = probe.readAll().contains("window id");
            if (!ready) QThread::msleep(20);
        }
        ASSERT_TRUE(ready) << "openbox did not start";
    }

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert(kChildVariable, "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PerformancePageOnXChild.*"});
    const bool finished = child.waitForFinished(120000);
    const std::string output = child.readAll().toStdString();
    windowManager.terminate();
    windowManager.waitForFinished(5000);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    ASSERT_TRUE(finished) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 2 tests"), std::string::npos) << output;
}

class PerformancePageOnXChild : public PerformancePageTest {};

TEST_F(PerformancePageOnXChild, ClickedWithXdotool) {
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "runs on the X server of PerformancePageOnX";
    OpenPage("102:wired", [this] {
        Set("dpi_count", "6");
        Set("dpi_index", "0");
        for (int i = 0; i < 6; ++i) Set(DpiValueKey(i), "800");
    });
    host->Window()->move(0, 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host->Window()));
    const QPoint target = Levels()->mapToGlobal(LevelPoint(3));
    ASSERT_EQ(QProcess::execute("xdotool", {"mousemove", QString::number(target.x()),
                                            QString::number(target.y()), "click", "1"}),
              0);
    // The click arrives as an X event: wait for the page to hand it on.
    EXPECT_TRUE(QTest::qWaitFor([this] { return host->queued == 1; }, 10000));
    EXPECT_EQ(Get("dpi_index"), "3");
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SentSinceLastCall(), std::vector<std::string>{ReportDpiLine(3, 6, std::vector<int>(6, 15))});
}

TEST_F(PerformancePageOnXChild, TheIndicatorLeavesTheKeyboardAlone) {
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "runs on the X server of PerformancePageOnX";
    // A game with the keyboard.
    QWidget game;
    game.setGeometry(100, 100, 400, 300);
    auto* field = new QLineEdit(&game);
    game.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&game));
    game.activateWindow();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&game));
    QProcess focus;
    focus.start("xdotool", {"getwindowfocus"});
    ASSERT_TRUE(focus.waitForFinished(10000));
    const QByteArray gameWindow = focus.readAll().trimmed();
    ASSERT_EQ(gameWindow.toULongLong(), game.winId());

    QWidget owner;
    DPIMsgDlg indicator(&owner);
    indicator.ShowValue(1600);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&indicator));
    QApplication::processEvents();  // a focus request would have gone out with the map; xdotool asks after it
    EXPECT_EQ(QApplication::activeWindow(), &game);
    EXPECT_EQ(QApplication::focusWidget(), field);
    focus.start("xdotool", {"getwindowfocus"});
    ASSERT_TRUE(focus.waitForFinished(10000));
    EXPECT_EQ(focus.readAll().trimmed(), gameWindow);
}

}  // namespace
}  // namespace quorvel::test
