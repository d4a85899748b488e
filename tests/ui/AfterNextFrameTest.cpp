// Work held back until the window's next frame: after that frame's paint (the first one for a window just
// shown), at once for a hidden window, and after the wait at the latest when no frame comes.

#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/window/AfterNextFrame.h"

namespace quorvel {
namespace {

class CountedPaints : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class AfterNextFrameTest : public test::UiTest {
protected:
    void ShowWindow() {
        window.resize(200, 100);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.paints > 0; }));
    }
    CountedPaints window;
};

TEST_F(AfterNextFrameTest, RunsOnceTheNextFrameIsPainted) {
    ShowWindow();
    const int before = window.paints;
    int paintsWhenRun = -1;
    AfterNextFrame(window, [&] { paintsWhenRun = window.paints; });
    EXPECT_EQ(paintsWhenRun, -1) << "not before the frame";
    window.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return paintsWhenRun >= 0; }));
    EXPECT_GT(paintsWhenRun, before);
}

TEST_F(AfterNextFrameTest, AWindowJustShownRunsItAfterItsFirstPaint) {
    // The first frame comes with the window's expose. An update request before the window is on the
    // screen (as X11 delivers it when the frame is built before the map) paints nothing.
    window.resize(200, 100);
    window.show();
    int paintsWhenRun = -1;
    AfterNextFrame(window, [&] { paintsWhenRun = window.paints; });
    QEvent early(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window, &early);
    ASSERT_TRUE(QTest::qWaitFor([&] { return paintsWhenRun >= 0; }));
    EXPECT_GT(paintsWhenRun, 0);
}

TEST_F(AfterNextFrameTest, AHiddenWindowRunsItAtOnce) {
    bool ran = false;
    AfterNextFrame(window, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(AfterNextFrameTest, WithoutAFrameItRunsAfterTheWait) {
    ShowWindow();
    bool ran = false;
    AfterNextFrame(window, [&] { ran = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran; }));
}

}  // namespace
}  // namespace quorvel
